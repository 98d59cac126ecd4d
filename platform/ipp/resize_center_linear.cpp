// Linear kernel of the centre-based resamplers: weight tables, the scalar
// rows, the choice of rows, and the plan that picks which axis to blend
// first and owns every buffer a frame uses.
// The fixed-point definition is in resize_center_linear.h.
#include "platform/ipp/resize_center_linear.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tulipp::resize_center {

LinearTaps MakeLinearTaps(const Axis& a)
{
    LinearTaps t;
    const int count = a.Count();
    t.pos.resize(static_cast<std::size_t>(count));
    t.pair.resize(static_cast<std::size_t>(count));
    int lo = a.Last();
    int hi = a.roiStart;
    for (int k = 0; k < count; ++k) {
        const double s = a.Source(a.begin + k);
        const double whole = std::floor(s);
        int w = static_cast<int>(std::floor((s - whole) * kLinearOne + 0.5));
        const int i0 = a.Clamp(static_cast<std::int64_t>(whole));
        const int i1 = a.Clamp(static_cast<std::int64_t>(whole) + 1);
        if (i0 == i1)
            w = 0;
        t.pos[k] = i0;
        t.pair[k] = WeightPair(w);
        lo = std::min(lo, i0);
        hi = std::max(hi, w != 0 ? i1 : i0);
    }
    if (count == 0)
        hi = lo;
    t.lo = lo;
    t.span = hi - lo + 1;
    for (auto& p : t.pos)
        p -= lo;
    return t;
}

void BlendBytesScalar(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n)
{
    for (int i = 0; i < n; ++i)
        out[i] = BlendPair(a[i], b[i], w);
}

void BlendSplitScalarFrom(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* y, std::int16_t* u,
                          std::int16_t* v, int from, int n)
{
    for (int i = from; i < n; ++i) {
        const std::int16_t blended = BlendPair(a[i], b[i], w);
        if (i % 2 == 0)
            y[i / 2] = blended;
        else if (i % 4 == 1)
            u[i / 4] = blended;
        else
            v[i / 4] = blended;
    }
}

void BlendSplitScalar(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n)
{
    std::int16_t* u = out + (n + 1) / 2;
    BlendSplitScalarFrom(a, b, w, out, u, u + (n + 2) / 4, 0, n);
}

void BlendWordsScalar(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n)
{
    for (int i = 0; i < n; ++i)
        out[i] = FinishPair(a[i], b[i], w);
}

void BuildShuffle(LinearTaps& taps, bool words)
{
    const int blocks = static_cast<int>(taps.pos.size()) / kShuffleBlock;
    const int sampleBytes = words ? 2 : 1;
    std::vector<Ipp8u> masks(static_cast<std::size_t>(blocks) * 16);
    for (int b = 0; b < blocks; ++b) {
        Ipp8u* m = masks.data() + static_cast<std::size_t>(b) * 16;
        const std::int32_t* pos = taps.pos.data() + static_cast<std::size_t>(b) * kShuffleBlock;
        // Positions never decrease, so the last output reaches furthest.
        if ((pos[kShuffleBlock - 1] - pos[0] + 2) * sampleBytes > 16) {
            m[0] = kShuffleMisfit;
            continue;
        }
        for (int j = 0; j < kShuffleBlock; ++j) {
            const int first = (pos[j] - pos[0]) * sampleBytes;
            Ipp8u* lane = m + 4 * j;
            if (words) {
                // The two neighbouring words as they stand.
                for (int i = 0; i < 4; ++i)
                    lane[i] = static_cast<Ipp8u>(first + i);
            } else {
                // The two neighbouring bytes, each zero-extended to a word.
                lane[0] = static_cast<Ipp8u>(first);
                lane[1] = 0x80;
                lane[2] = static_cast<Ipp8u>(first + 1);
                lane[3] = 0x80;
            }
        }
    }
    taps.shuffle = std::move(masks);
}

bool ShuffleWorthIt(const LinearTaps& taps)
{
    const int blocks = static_cast<int>(taps.shuffle.size() / 16);
    int misfits = 0;
    for (int b = 0; b < blocks; ++b)
        misfits += taps.shuffle[static_cast<std::size_t>(b) * 16] == kShuffleMisfit ? 1 : 0;
    return blocks > 0 && misfits * 8 <= blocks;
}

LinearRows ChooseLinearRows(int channels, SimdLevel level, LinearTaps& xt, bool words)
{
    LinearRows rows{kBlendBytesRows.For(level), kBlendWordsRows.For(level), nullptr, nullptr};
    switch (channels) {
    case 1:
        rows.gatherWords = kGatherWordsGrayRows.For(level);
        rows.gatherBytes = kGatherBytesGrayRows.For(level);
        if (kGatherWordsShuffledRows.Vectorised(level)) {
            BuildShuffle(xt, words);
            if (ShuffleWorthIt(xt)) {
                rows.gatherWords = kGatherWordsShuffledRows.For(level);
                rows.gatherBytes = kGatherBytesShuffledRows.For(level);
            } else {
                xt.shuffle.clear();
            }
        }
        break;
    case 3:
        rows.gatherWords = kGatherWordsRgbRows.For(level);
        rows.gatherBytes = kGatherBytesRgbRows.For(level);
        break;
    default:
        rows.gatherWords = kGatherWordsRgbaRows.For(level);
        rows.gatherBytes = kGatherBytesRgbaRows.For(level);
        break;
    }
    return rows;
}

namespace {

// Everything a frame needs, built once: both axes' taps, the x shuffle
// table, the rows of the level, and the row buffers.
class LinearPlan final : public KernelPlan {
public:
    LinearPlan(int channels, const Axis& x, const Axis& y, SimdLevel level)
        : m_xt(MakeLinearTaps(x)), m_yt(MakeLinearTaps(y)), m_columnsFirst(y.factor > 1.0)
    {
        m_rows = ChooseLinearRows(channels, level, m_xt, !m_columnsFirst);
        m_table = {m_xt.pos.data(), m_xt.pair.data(), m_xt.shuffle.empty() ? nullptr : m_xt.shuffle.data()};
        const std::size_t spanBytes = static_cast<std::size_t>(m_xt.span) * channels;
        if (m_columnsFirst) {
            // The source row is copied into a padded line so that the
            // gathers may read past the region's last sample without
            // touching the caller's memory beyond it.
            m_line.assign(spanBytes + channels + kGatherPadBytes, 0);
            for (auto& kept : m_kept)
                kept.assign(static_cast<std::size_t>(x.Count()) * channels, 0);
        } else {
            // One extra pixel: a zero-weight right sample of the last column.
            m_blended.assign(spanBytes + channels + kGatherPadWords, 0);
        }
    }

    void Run(const Frame& f) override
    {
        if (m_columnsFirst)
            ColumnsFirst(f);
        else
            RowsFirst(f);
    }

private:
    // Rows first: each destination row blends its two source rows over the
    // columns in use, then gathers columns. Cheapest when destination rows
    // do not share source rows (reduction, or equal heights).
    void RowsFirst(const Frame& f)
    {
        const int n = f.channels;
        const int spanBytes = m_xt.span * n;
        const int count = f.x.Count();
        std::int16_t* blended = m_blended.data();
        for (int r = 0; r < f.y.Count(); ++r) {
            const int j0 = m_yt.lo + m_yt.pos[r];
            const int w = PairWeight(m_yt.pair[r]);
            const Ipp8u* upper = f.SrcPixel(j0, m_xt.lo);
            const Ipp8u* lower = w != 0 ? f.SrcPixel(j0 + 1, m_xt.lo) : upper;
            m_rows.blendBytes(upper, lower, w, blended, spanBytes);
            std::copy_n(blended + spanBytes - n, n, blended + spanBytes);
            m_rows.gatherWords(blended, m_table, f.DstWritten(f.y.begin + r), count);
        }
    }

    // Columns first: each source row in use is resampled across once and
    // kept while consecutive destination rows still need it; each
    // destination row then blends two kept rows. Cheapest when enlarging
    // vertically.
    void ColumnsFirst(const Frame& f)
    {
        const std::size_t spanBytes = static_cast<std::size_t>(m_xt.span) * f.channels;
        const int outBytes = f.x.Count() * f.channels;
        // Kept rows are of the last frame's pictures: none is valid yet.
        int keptRow[2] = {-1, -1};
        // Two consecutive rows differ in parity, so row & 1 names a free slot.
        auto ensure = [&](int row) -> const std::int16_t* {
            const int slot = row & 1;
            if (keptRow[slot] != row) {
                std::memcpy(m_line.data(), f.SrcPixel(row, m_xt.lo), spanBytes);
                m_rows.gatherBytes(m_line.data(), m_table, m_kept[slot].data(), f.x.Count());
                keptRow[slot] = row;
            }
            return m_kept[slot].data();
        };
        for (int r = 0; r < f.y.Count(); ++r) {
            const int j0 = m_yt.lo + m_yt.pos[r];
            const int w = PairWeight(m_yt.pair[r]);
            const std::int16_t* upper = ensure(j0);
            const std::int16_t* lower = w != 0 ? ensure(j0 + 1) : upper;
            m_rows.blendWords(upper, lower, w, f.DstWritten(f.y.begin + r), outBytes);
        }
    }

    LinearTaps m_xt;
    LinearTaps m_yt;
    bool m_columnsFirst;
    LinearRows m_rows{};
    GatherTable m_table{};
    std::vector<std::int16_t> m_blended;
    std::vector<Ipp8u> m_line;
    std::vector<std::int16_t> m_kept[2];
};

}  // namespace

std::unique_ptr<KernelPlan> PlanLinear(int channels, const Axis& x, const Axis& y, SimdLevel level)
{
    return std::make_unique<LinearPlan>(channels, x, y, level);
}

}  // namespace tulipp::resize_center
