// The linear kernel's fixed-point definition and its row families, shared
// by the scalar reference rows and the SSE2 / SSSE3 / AVX2 rows.
//
// Precision decision, kept by every path:
//   - Each destination column and row gets one weight w = floor(t*256 + 0.5)
//     in 0..256 for the right/lower sample (256 - w for the left/upper),
//     t being the fractional part of the double source position. When both
//     samples clamp to the same edge pixel the weight is 0.
//   - D = (sum of S * wx * wy over the 2x2 samples + 32768) >> 16: exact
//     integer accumulation and one round-half-up at the end. The sum is the
//     same whichever axis is blended first, so a path may go row-first or
//     column-first and still give the same bytes.
//   - Intermediates are the exact 16-bit blend of one axis (at most 65280),
//     stored biased by -32768 as int16 so that pmaddwd can take them.
// Against an exact double evaluation the result differs by at most 1.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/resize_center_plan.h"
#include "platform/ipp/simd_rows.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace tulipp::resize_center {

constexpr int kLinearOne = 256;
constexpr int kWordBias = 32768;
// Undoes the bias on both pair members (weights sum to 256) and adds the
// rounding half of the final >> 16.
constexpr std::int32_t kFinishOffset = kWordBias * kLinearOne + kWordBias;
// Readable samples the gathers need after the last pixel they use: vector
// loads take four samples of a three-channel pixel, and a shuffled block
// loads 16 bytes from its first sample.
constexpr int kGatherPadBytes = 16;
constexpr int kGatherPadWords = 8;
// Outputs per shuffle block; each block has 16 mask bytes.
constexpr int kShuffleBlock = 4;
// First mask byte of a block whose samples do not fit one 16-byte load.
constexpr Ipp8u kShuffleMisfit = 0x80;

// Blend of two 8-bit samples by (256 - w, w), biased into int16.
inline std::int16_t BlendPair(int a, int b, int w)
{
    return static_cast<std::int16_t>(a * (kLinearOne - w) + b * w - kWordBias);
}

// Blend of two biased intermediates by (256 - w, w), rounded to 8 bits.
inline Ipp8u FinishPair(int a, int b, int w)
{
    return static_cast<Ipp8u>(((a + kWordBias) * (kLinearOne - w) + (b + kWordBias) * w + kWordBias) >> 16);
}

// (256 - w) in the low half, w in the high half: one pmaddwd operand.
inline std::int32_t WeightPair(int w)
{
    return static_cast<std::int32_t>((kLinearOne - w) | (w << 16));
}

inline int PairWeight(std::int32_t pair) { return pair >> 16; }

// A sample and its right neighbour as the 16-bit halves of one 32-bit lane
// (low half first), the operand layout of pmaddwd.
inline std::int32_t LoadPair(const std::int16_t* v)
{
    std::int32_t d;
    std::memcpy(&d, v, sizeof d);
    return d;
}

inline std::int32_t LoadPair(const Ipp8u* s)
{
    return static_cast<std::int32_t>(s[0] | (s[1] << 16));
}

// The two samples and the weight of each written index on one axis.
struct LinearTaps {
    int lo = 0;    // first source index used, image coordinates
    int span = 0;  // indices lo .. lo + span - 1 are read
    std::vector<std::int32_t> pos;   // left/upper sample, relative to lo
    std::vector<std::int32_t> pair;  // WeightPair of the weight on pos + 1
    // pshufb masks for single-channel gathers, per block of kShuffleBlock
    // outputs, relative to the block's first pos; empty when not built.
    std::vector<Ipp8u> shuffle;
};

LinearTaps MakeLinearTaps(const Axis& a);

// Fills taps.shuffle for gathers from 8-bit samples (bytes) or biased
// 16-bit ones (words), each output's pair zero-extended or as it stands;
// a block whose samples do not fit one 16-byte load is marked
// kShuffleMisfit and gathered lane by lane.
void BuildShuffle(LinearTaps& taps, bool words);
// Whether enough blocks fit for the table to pay (reductions below about
// 3/4 for words rarely do; lane loads serve them better).
bool ShuffleWorthIt(const LinearTaps& taps);

// What a gather reads: per output its left sample and weight pair, and
// for the block gathers a shuffle table (null when absent).
struct GatherTable {
    const std::int32_t* pos;
    const std::int32_t* pair;
    const Ipp8u* shuffle;

    GatherTable Skip(int k) const { return {pos + k, pair + k, nullptr}; }
};

// The linear rows. n counts elements (bytes or words) for the blends and
// pixels for the gathers; every channel of a pixel takes the same weights.
//   blend bytes:  out[i] = BlendPair(a[i], b[i], w)
//   blend words:  out[i] = FinishPair(a[i], b[i], w)
//   gather words: out[k*N + c] = FinishPair(v[pos[k]*N + c], v[(pos[k] + 1)*N + c], weight of pair[k]);
//                 v stays readable kGatherPadWords words past pixel pos[k] + 1
//   gather bytes: out[k*N + c] = BlendPair(s[pos[k]*N + c], s[(pos[k] + 1)*N + c], weight of pair[k]);
//                 s stays readable kGatherPadBytes bytes past pixel pos[k] + 1
using BlendBytesRow = void (*)(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
using BlendWordsRow = void (*)(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n);
using GatherWordsRow = void (*)(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
using GatherBytesRow = void (*)(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);

// Scalar rows: the reference every vector row matches, and the tails of
// the vector rows.
void BlendBytesScalar(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);

// The same blend of packed 4:2:2 rows (Y0 U Y1 V), split into planes on the
// way: of n bytes, the (n + 1) / 2 luma words come first, then the
// (n + 2) / 4 U words, then the n / 4 V words, each in row order. One pass
// instead of a split into planes and a blend of each.
void BlendSplitScalar(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
// Bytes [from, n) of such a row (from a multiple of four) into the planes'
// words from their starts: the vector rows' tail.
void BlendSplitScalarFrom(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* y, std::int16_t* u,
                          std::int16_t* v, int from, int n);
void BlendSplitAvx2(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
void BlendWordsScalar(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n);

template <int N>
void GatherWordsScalar(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n)
{
    for (int k = 0; k < n; ++k) {
        const std::int16_t* p = v + static_cast<std::ptrdiff_t>(t.pos[k]) * N;
        const int w = PairWeight(t.pair[k]);
        for (int c = 0; c < N; ++c)
            out[k * N + c] = FinishPair(p[c], p[N + c], w);
    }
}

template <int N>
void GatherBytesScalar(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n)
{
    for (int k = 0; k < n; ++k) {
        const Ipp8u* p = s + static_cast<std::ptrdiff_t>(t.pos[k]) * N;
        const int w = PairWeight(t.pair[k]);
        for (int c = 0; c < N; ++c)
            out[k * N + c] = BlendPair(p[c], p[N + c], w);
    }
}

void BlendBytesSse2(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
void BlendWordsSse2(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n);
void GatherWordsGraySse2(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
void GatherBytesGraySse2(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);
// Three- and four-channel pixels, one at a time; later levels share them
// (wider registers gain nothing one pixel at a time).
template <int N>
void GatherWordsPixelsSse2(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
template <int N>
void GatherBytesPixelsSse2(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);

// Block gathers of single-channel rows; t.shuffle must be a table built by
// BuildShuffle for the same taps and sample size.
void GatherWordsShuffledSsse3(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
void GatherBytesShuffledSsse3(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);

void BlendBytesAvx2(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
void BlendWordsAvx2(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n);
void GatherWordsGrayAvx2(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
void GatherBytesGrayAvx2(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);

// The row families. pshufb brings nothing to the blends, and one pixel at
// a time gains nothing from wider registers.
inline constexpr RowSet<BlendBytesRow> kBlendBytesRows{BlendBytesScalar, BlendBytesSse2, nullptr, BlendBytesAvx2};
// Below AVX2 a split into planes and the blend rows of each serve better.
inline constexpr RowSet<BlendBytesRow> kBlendSplitRows{BlendSplitScalar, nullptr, nullptr, BlendSplitAvx2};
inline constexpr RowSet<BlendWordsRow> kBlendWordsRows{BlendWordsScalar, BlendWordsSse2, nullptr, BlendWordsAvx2};
inline constexpr RowSet<GatherWordsRow> kGatherWordsGrayRows{GatherWordsScalar<1>, GatherWordsGraySse2, nullptr,
                                                            GatherWordsGrayAvx2};
inline constexpr RowSet<GatherBytesRow> kGatherBytesGrayRows{GatherBytesScalar<1>, GatherBytesGraySse2, nullptr,
                                                            GatherBytesGrayAvx2};
// One load and one shuffle per four outputs beats any lane loading, AVX2's
// included, so the SSSE3 row serves every level from there up.
inline constexpr RowSet<GatherWordsRow> kGatherWordsShuffledRows{GatherWordsScalar<1>, nullptr,
                                                                GatherWordsShuffledSsse3, nullptr};
inline constexpr RowSet<GatherBytesRow> kGatherBytesShuffledRows{GatherBytesScalar<1>, nullptr,
                                                                GatherBytesShuffledSsse3, nullptr};
inline constexpr RowSet<GatherWordsRow> kGatherWordsRgbRows{GatherWordsScalar<3>, GatherWordsPixelsSse2<3>};
inline constexpr RowSet<GatherBytesRow> kGatherBytesRgbRows{GatherBytesScalar<3>, GatherBytesPixelsSse2<3>};
inline constexpr RowSet<GatherWordsRow> kGatherWordsRgbaRows{GatherWordsScalar<4>, GatherWordsPixelsSse2<4>};
inline constexpr RowSet<GatherBytesRow> kGatherBytesRgbaRows{GatherBytesScalar<4>, GatherBytesPixelsSse2<4>};

// The rows one resize takes, chosen for its channel count and level; the
// shuffled gathers are taken when the x taps carry a table for them.
struct LinearRows {
    BlendBytesRow blendBytes;
    BlendWordsRow blendWords;
    GatherWordsRow gatherWords;
    GatherBytesRow gatherBytes;
};

// Chooses the rows, building the x taps' shuffle table when the level has a
// block gather and the table is worth it. `words`: the gathers read the
// blended 16-bit rows (rows first) rather than source bytes.
LinearRows ChooseLinearRows(int channels, SimdLevel level, LinearTaps& xt, bool words);

}  // namespace tulipp::resize_center
