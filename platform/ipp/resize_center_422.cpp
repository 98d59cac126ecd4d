// Packed 4:2:2 resizing by the double kernels: one across table over the
// packed destination row, whose even bytes take the luma taps and whose
// odd bytes the chroma taps, each reading its own samples of the packed
// source row; the vertical taps are the same for all three planes.
#include "platform/ipp/resize_center_422.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/resize_center_plan.h"
#include "platform/ipp/resize_center_taps.h"

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
    if ((interp != IPPI_INTER_CUBIC && interp != IPPI_INTER_SUPER) || chroma.interpolation != interp ||
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
        if (ly.Count() > 0 && first < last) {
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
