// Packed 4:2:2 resizing by the double kernels: one across table over the
// packed destination row, whose even bytes take the luma taps and whose
// odd bytes the chroma taps, each reading its own samples of the packed
// source row; the vertical taps are the same for all three planes.
#include "platform/ipp/resize_center_422.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/resize_center_linear.h"
#include "platform/ipp/resize_center_plan.h"
#include "platform/ipp/resize_center_taps.h"
#include "platform/ipp/split_join422.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tulipp {

using namespace resize_center;

struct ResizeCenter422Plan::Impl {
    int srcWidth = 0, srcRows = 0;  // pixels, rows
    int dstWidth = 0, dstRows = 0;
    Axis y;
    Ipp8u black[4]{};
    std::int64_t begin = 0, end = 0;      // destination bytes the kernel writes
    std::vector<std::int32_t> blackBytes;  // bytes in [begin, end) that no plane writes
    std::unique_ptr<KernelPlan> kernel;    // null when no plane writes anything
};

namespace {

bool SameAxis(const Axis& a, const Axis& b)
{
    return a.factor == b.factor && a.center == b.center && a.half == b.half && a.roiStart == b.roiStart &&
           a.roiLen == b.roiLen && a.begin == b.begin && a.end == b.end;
}

// The taps of destination bytes [begin, end) of a packed row: byte 2k is
// luma output k of `luma`, bytes 4k + 1 and 4k + 3 chroma output k of
// `chroma`, each reading its plane's samples where they lie in the packed
// source row; a byte no plane writes gets one tap of weight 0 and is
// listed in `blackBytes`. Offsets count from the lowest source byte read.
AcrossPlacement PlacePacked(const WeightTaps& luma, const Axis& lx, const WeightTaps& chroma, const Axis& cx,
                            std::int64_t begin, std::int64_t end, std::vector<std::int32_t>& blackBytes)
{
    struct Tap {
        std::int64_t byte;
        double weight;
    };
    std::vector<std::vector<Tap>> taps;
    std::int64_t lo = INT64_MAX, hi = -1;
    for (std::int64_t v = begin; v < end; ++v) {
        const bool isLuma = v % 2 == 0;
        const WeightTaps& t = isLuma ? luma : chroma;
        const Axis& a = isLuma ? lx : cx;
        const std::int64_t k = (isLuma ? v / 2 : v / 4) - a.begin;
        std::vector<Tap> list;
        if (k >= 0 && k < a.Count()) {
            for (std::size_t i = t.first[static_cast<std::size_t>(k)]; i < t.first[static_cast<std::size_t>(k) + 1];
                 ++i) {
                const std::int64_t sample = static_cast<std::int64_t>(t.lo) + t.index[i];
                const std::int64_t byte = isLuma ? 2 * sample : 4 * sample + v % 4;
                list.push_back({byte, t.weight[i]});
                lo = std::min(lo, byte);
                hi = std::max(hi, byte);
            }
        } else {
            blackBytes.push_back(static_cast<std::int32_t>(v - begin));
        }
        taps.push_back(std::move(list));
    }
    ValueTaps values;
    values.span = static_cast<int>(hi - lo + 1);
    // Value v - begin lies at v % 4 within its block (begin is a multiple
    // of four): luma steps by two bytes, chroma by four.
    values.steps = {2, 4, 2, 4};
    for (const std::vector<Tap>& list : taps) {
        if (list.empty()) {
            values.offset.push_back(0);
            values.weight.push_back(0.0);
        }
        for (const Tap& tap : list) {
            values.offset.push_back(static_cast<std::int32_t>(tap.byte - lo));
            values.weight.push_back(tap.weight);
        }
        values.first.push_back(values.offset.size());
    }
    AcrossPlacement p;
    p.table = LayOutAcross(values);
    p.srcLo = lo;
    p.dstLo = begin;
    return p;
}

void FillBlack(Ipp8u* row, std::int64_t from, std::int64_t to, const Ipp8u black[4])
{
    for (std::int64_t b = from; b < to; ++b)
        row[b] = black[b % 4];
}

// The linear kernel, rows first (reduction or equal heights): each
// destination row blends its two packed source rows over the pixel pairs
// any plane reads, split into luma, U and V words on the way; gathers each
// plane's written columns into its row, whose other columns stay black;
// and joins the three rows. The same blends and gathers as the planes'
// own plans, with the planes kept to one row each.
class LinearPacked final : public KernelPlan {
public:
    LinearPacked(const Axis& lx, const Axis& cx, const Axis& y, int dstWidth, const Ipp8u black[4], SimdLevel level)
        : m_lt(MakeLinearTaps(lx)),
          m_ct(MakeLinearTaps(cx)),
          m_yt(MakeLinearTaps(y)),
          m_lx(lx),
          m_cx(cx),
          m_dstWidth(dstWidth),
          m_blendSplit(kBlendSplitRows.For(level)),
          m_join(kJoin422Rows.For(level))
    {
        m_lumaRows = ChooseLinearRows(1, level, m_lt, true);
        m_chromaRows = ChooseLinearRows(1, level, m_ct, true);
        int lo = INT32_MAX, hi = 0;
        if (lx.Count() > 0) {
            lo = m_lt.lo / 2;
            hi = (m_lt.lo + m_lt.span + 1) / 2;
        }
        if (cx.Count() > 0) {
            lo = std::min(lo, m_ct.lo);
            hi = std::max(hi, m_ct.lo + m_ct.span);
        }
        m_pairLo = lo;
        m_pairs = hi - lo;
        // Room for each plane's zero-weight sample after its span and the
        // gathers' vector reads past it.
        m_blended.assign(4 * static_cast<std::size_t>(m_pairs) + 2 + kGatherPadWords + 16, 0);
        m_luma.assign(static_cast<std::size_t>(dstWidth), black[0]);
        m_u.assign(static_cast<std::size_t>(dstWidth + 1) / 2, black[1]);
        m_v.assign(static_cast<std::size_t>(dstWidth + 1) / 2, black[3]);
    }

    void Run(const Frame& f) override
    {
        const std::int64_t pairs = m_pairs;
        std::int16_t* const y = m_blended.data();
        const std::int16_t* const lumaWords = y + (m_lt.lo - 2 * m_pairLo);
        const std::int16_t* const uWords = y + 2 * pairs + (m_ct.lo - m_pairLo);
        const std::int16_t* const vWords = y + 3 * pairs + (m_ct.lo - m_pairLo);
        const GatherTable lumaTable{m_lt.pos.data(), m_lt.pair.data(),
                                    m_lt.shuffle.empty() ? nullptr : m_lt.shuffle.data()};
        const GatherTable chromaTable{m_ct.pos.data(), m_ct.pair.data(),
                                      m_ct.shuffle.empty() ? nullptr : m_ct.shuffle.data()};
        for (int r = 0; r < f.y.Count(); ++r) {
            const int j0 = m_yt.lo + m_yt.pos[static_cast<std::size_t>(r)];
            const int w = PairWeight(m_yt.pair[static_cast<std::size_t>(r)]);
            const Ipp8u* upper = f.src + j0 * f.srcStep + 4 * static_cast<std::int64_t>(m_pairLo);
            const Ipp8u* lower = w != 0 ? upper + f.srcStep : upper;
            m_blendSplit(upper, lower, w, y, static_cast<int>(4 * pairs));
            if (m_lx.Count() > 0)
                m_lumaRows.gatherWords(lumaWords, lumaTable, m_luma.data() + m_lx.begin, m_lx.Count());
            if (m_cx.Count() > 0) {
                m_chromaRows.gatherWords(uWords, chromaTable, m_u.data() + m_cx.begin, m_cx.Count());
                m_chromaRows.gatherWords(vWords, chromaTable, m_v.data() + m_cx.begin, m_cx.Count());
            }
            m_join(m_luma.data(), m_u.data(), m_v.data(), f.dst + (f.y.begin + r) * f.dstStep, m_dstWidth);
        }
    }

private:
    LinearTaps m_lt, m_ct, m_yt;
    Axis m_lx, m_cx;
    int m_dstWidth;
    BlendBytesRow m_blendSplit;
    Join422RowFn m_join;
    LinearRows m_lumaRows{}, m_chromaRows{};
    int m_pairLo = 0, m_pairs = 0;        // source pixel pairs blended
    std::vector<std::int16_t> m_blended;  // luma, U and V words of a row
    std::vector<Ipp8u> m_luma, m_u, m_v;  // a destination row's planes
};

}  // namespace

ResizeCenter422Plan::ResizeCenter422Plan() = default;
ResizeCenter422Plan::~ResizeCenter422Plan() = default;
ResizeCenter422Plan::ResizeCenter422Plan(ResizeCenter422Plan&&) noexcept = default;
ResizeCenter422Plan& ResizeCenter422Plan::operator=(ResizeCenter422Plan&&) noexcept = default;

void ResizeCenter422Plan::Reset() noexcept { m_impl.reset(); }

bool ResizeCenter422Plan::Prepare(const ResizeCenterRequest& luma, const ResizeCenterRequest& chroma,
                                  const Ipp8u black[4], SimdLevel level) noexcept
{
    m_impl.reset();
    const int interp = luma.interpolation;
    const bool linear = interp == IPPI_INTER_LINEAR;
    if ((interp != IPPI_INTER_CUBIC && interp != IPPI_INTER_SUPER && !linear) || chroma.interpolation != interp ||
        luma.channels != 1 || chroma.channels != 1)
        return false;
    const IppiSize s = luma.srcSize, d = luma.dstRoiSize;
    if (s.width < 2 || d.width < 2 || chroma.srcSize.width != s.width / 2 || chroma.srcSize.height != s.height ||
        chroma.dstRoiSize.width != d.width / 2 || chroma.dstRoiSize.height != d.height)
        return false;
    Axis lx, ly, cx, cy;
    if (PlanAxes(luma, lx, ly) != ippStsNoErr || PlanAxes(chroma, cx, cy) != ippStsNoErr || !SameAxis(ly, cy))
        return false;
    if (level > DetectedSimdLevel())
        level = DetectedSimdLevel();
    // Linear goes packed when it blends rows first, over whole pixel pairs
    // (an even source width), with a fused blend and split to pay for it.
    if (linear && (ly.factor > 1.0 || s.width % 2 != 0 || !kBlendSplitRows.Vectorised(level)))
        return false;
    try {
        auto impl = std::make_unique<Impl>();
        impl->srcWidth = s.width;
        impl->srcRows = s.height;
        impl->dstWidth = d.width;
        impl->dstRows = d.height;
        impl->y = ly;
        std::copy(black, black + 4, impl->black);
        // The bytes the planes write, from the first whole pixel pair's start.
        std::int64_t first = INT64_MAX, last = 0;
        if (lx.Count() > 0) {
            first = 2 * static_cast<std::int64_t>(lx.begin);
            last = 2 * static_cast<std::int64_t>(lx.end) - 1;
        }
        if (cx.Count() > 0) {
            first = std::min(first, 4 * static_cast<std::int64_t>(cx.begin) + 1);
            last = std::max(last, 4 * static_cast<std::int64_t>(cx.end));
        }
        if (linear) {
            impl->begin = 0;
            impl->end = 2 * static_cast<std::int64_t>(d.width);
            if (ly.Count() > 0 && (lx.Count() > 0 || cx.Count() > 0))
                impl->kernel = std::make_unique<LinearPacked>(lx, cx, ly, d.width, black, level);
        } else if (ly.Count() > 0 && first < last) {
            impl->begin = first - first % 4;
            impl->end = last;
            const bool cubic = interp == IPPI_INTER_CUBIC;
            const WeightTaps lt = cubic ? MakeCubicTaps(lx) : MakeAreaTaps(lx);
            const WeightTaps ct = cubic ? MakeCubicTaps(cx) : MakeAreaTaps(cx);
            AcrossPlacement across = PlacePacked(lt, lx, ct, cx, impl->begin, impl->end, impl->blackBytes);
            impl->kernel = cubic ? PlanCubicAcross(std::move(across), ly, level)
                                 : PlanSuperAcross(std::move(across), ly, level);
        }
        m_impl = std::move(impl);
    } catch (...) {
        return false;
    }
    return true;
}

bool ResizeCenter422Plan::Run(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep) noexcept
{
    if (m_impl == nullptr || src == nullptr || dst == nullptr)
        return false;
    const Impl& p = *m_impl;
    const std::int64_t srcRow = 2 * static_cast<std::int64_t>(p.srcWidth);
    const std::int64_t dstRow = 2 * static_cast<std::int64_t>(p.dstWidth);
    if (srcStep < srcRow || dstStep < dstRow)
        return false;
    const int written0 = p.kernel != nullptr ? p.y.begin : p.dstRows;
    const int written1 = p.kernel != nullptr ? p.y.end : p.dstRows;
    if (p.kernel != nullptr) {
        Frame f;
        f.src = src;
        f.srcStep = srcStep;
        f.dst = dst;
        f.dstStep = dstStep;
        f.y = p.y;
        try {
            p.kernel->Run(f);
        } catch (...) {
            return false;
        }
    }
    for (int r = 0; r < p.dstRows; ++r) {
        Ipp8u* row = dst + static_cast<std::int64_t>(r) * dstStep;
        if (r < written0 || r >= written1) {
            FillBlack(row, 0, dstRow, p.black);
            continue;
        }
        FillBlack(row, 0, p.begin, p.black);
        FillBlack(row, p.end, dstRow, p.black);
        for (const std::int32_t b : p.blackBytes)
            row[p.begin + b] = p.black[(p.begin + b) % 4];
    }
    return true;
}

}  // namespace tulipp
