// The linear kernel's fixed-point definition and its row operations, shared
// by the scalar reference and the SSE2 / AVX2 paths.
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
// 16-bit ones (words), each output's pair zero-extended or as it stands.
// Left empty when too few blocks fit a 16-byte load to be worth it.
void BuildShuffle(LinearTaps& taps, bool words);

// What a gather reads: per output its left sample and weight pair, and
// for single-channel rows an optional shuffle (null when absent).
struct GatherTable {
    const std::int32_t* pos;
    const std::int32_t* pair;
    const Ipp8u* shuffle;

    GatherTable Skip(int k) const { return {pos + k, pair + k, nullptr}; }
};

// Row operations; n counts elements (bytes or words) for the blends and
// pixels of `channels` samples for the gathers. Every channel of a pixel
// takes the same weights.
struct LinearRowOps {
    // out[i] = BlendPair(a[i], b[i], w)
    void (*blendBytes)(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
    // out[i] = FinishPair(a[i], b[i], w)
    void (*blendWords)(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n);
    // out[k*C + c] = FinishPair(v[pos[k]*C + c], v[(pos[k] + 1)*C + c], weight of pair[k]);
    // v must stay readable kGatherPadWords words past pixel pos[k] + 1.
    void (*gatherWords)(int channels, const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
    // out[k*C + c] = BlendPair(s[pos[k]*C + c], s[(pos[k] + 1)*C + c], weight of pair[k]);
    // s must stay readable kGatherPadBytes bytes past pixel pos[k] + 1.
    void (*gatherBytes)(int channels, const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);
    // Whether the gathers use shuffle tables (worth building them).
    bool usesShuffle;
};

const LinearRowOps& ScalarLinearRowOps();
const LinearRowOps& Sse2LinearRowOps();
const LinearRowOps& Ssse3LinearRowOps();
const LinearRowOps& Avx2LinearRowOps();
// The row operations of the active instruction-set level.
const LinearRowOps& ActiveLinearRowOps();

// Scalar row operations, also used for the tails of the vector paths.
void BlendBytesScalar(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n);
void BlendWordsScalar(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n);
void GatherWordsScalar(int channels, const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
void GatherBytesScalar(int channels, const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);
// The SSE2 gathers of three- and four-channel pixels, which the later
// levels share (wider registers gain nothing one pixel at a time).
void GatherWordsPixelsSse2(int channels, const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n);
void GatherBytesPixelsSse2(int channels, const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n);

}  // namespace tulipp::resize_center
