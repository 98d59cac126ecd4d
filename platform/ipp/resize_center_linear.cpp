// Linear kernel of the centre-based resamplers: weight tables, the scalar
// row operations, and the row loop that picks which axis to blend first.
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

GatherTable TableOf(const LinearTaps& xt)
{
    return {xt.pos.data(), xt.pair.data(), xt.shuffle.empty() ? nullptr : xt.shuffle.data()};
}

// Rows first: each destination row blends its two source rows over the
// columns in use, then gathers columns. Cheapest when destination rows do
// not share source rows (reduction, or equal heights).
void RowsFirst(const Frame& f, LinearTaps& xt, const LinearTaps& yt, const LinearRows& ops)
{
    const int n = f.channels;
    const GatherTable table = TableOf(xt);
    const int spanBytes = xt.span * n;
    const int count = f.x.Count();
    // One extra pixel: a zero-weight right sample of the last column.
    std::vector<std::int16_t> blended(static_cast<std::size_t>(spanBytes) + n + kGatherPadWords, 0);
    for (int r = 0; r < f.y.Count(); ++r) {
        const int j0 = yt.lo + yt.pos[r];
        const int w = PairWeight(yt.pair[r]);
        const Ipp8u* upper = f.SrcPixel(j0, xt.lo);
        const Ipp8u* lower = w != 0 ? f.SrcPixel(j0 + 1, xt.lo) : upper;
        ops.blendBytes(upper, lower, w, blended.data(), spanBytes);
        std::copy_n(blended.data() + spanBytes - n, n, blended.data() + spanBytes);
        ops.gatherWords(blended.data(), table, f.DstWritten(f.y.begin + r), count);
    }
}

// Columns first: each source row in use is resampled across once and kept
// while consecutive destination rows still need it; each destination row
// then blends two kept rows. Cheapest when enlarging vertically.
void ColumnsFirst(const Frame& f, LinearTaps& xt, const LinearTaps& yt, const LinearRows& ops)
{
    const int n = f.channels;
    const GatherTable table = TableOf(xt);
    const int spanBytes = xt.span * n;
    const std::size_t outBytes = static_cast<std::size_t>(f.x.Count()) * n;
    // The source row is copied into a padded line so that the gathers may
    // read past the region's last sample without touching the caller's
    // memory beyond it.
    std::vector<Ipp8u> line(static_cast<std::size_t>(spanBytes) + n + kGatherPadBytes, 0);
    std::vector<std::int16_t> kept[2] = {std::vector<std::int16_t>(outBytes), std::vector<std::int16_t>(outBytes)};
    int keptRow[2] = {-1, -1};
    // Two consecutive rows differ in parity, so row & 1 names a free slot.
    auto ensure = [&](int row) -> const std::int16_t* {
        const int slot = row & 1;
        if (keptRow[slot] != row) {
            std::memcpy(line.data(), f.SrcPixel(row, xt.lo), static_cast<std::size_t>(spanBytes));
            ops.gatherBytes(line.data(), table, kept[slot].data(), f.x.Count());
            keptRow[slot] = row;
        }
        return kept[slot].data();
    };
    for (int r = 0; r < f.y.Count(); ++r) {
        const int j0 = yt.lo + yt.pos[r];
        const int w = PairWeight(yt.pair[r]);
        const std::int16_t* upper = ensure(j0);
        const std::int16_t* lower = w != 0 ? ensure(j0 + 1) : upper;
        ops.blendWords(upper, lower, w, f.DstWritten(f.y.begin + r), static_cast<int>(outBytes));
    }
}

}  // namespace

void ResizeLinear(const Frame& f)
{
    LinearTaps xt = MakeLinearTaps(f.x);
    const LinearTaps yt = MakeLinearTaps(f.y);
    const bool columnsFirst = f.y.factor > 1.0;
    const LinearRows rows = ChooseLinearRows(f.channels, ActiveSimdLevel(), xt, !columnsFirst);
    if (columnsFirst)
        ColumnsFirst(f, xt, yt, rows);
    else
        RowsFirst(f, xt, yt, rows);
}

}  // namespace tulipp::resize_center
