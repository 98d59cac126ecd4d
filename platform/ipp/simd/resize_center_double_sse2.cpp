// SSE2 rows of the double-precision centre resamplers: the same double
// operations in the same order as the scalar rows, two values at a time.
#include "platform/ipp/resize_center_double_rows.h"

#include <emmintrin.h>

namespace tulipp::resize_center {
namespace {

// Clamp, add one half, truncate: four results as the low bytes of 32-bit lanes.
TUL_TARGET_SSE2 inline __m128i RoundFour(__m128d a, __m128d b)
{
    const __m128d zero = _mm_setzero_pd(), top = _mm_set1_pd(255.0), half = _mm_set1_pd(0.5);
    a = _mm_add_pd(_mm_min_pd(_mm_max_pd(a, zero), top), half);
    b = _mm_add_pd(_mm_min_pd(_mm_max_pd(b, zero), top), half);
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(a), _mm_cvttpd_epi32(b));
}

TUL_TARGET_SSE2 inline void StoreFour(Ipp8u* out, __m128i lanes)
{
    const __m128i words = _mm_packs_epi32(lanes, lanes);
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    __builtin_memcpy(out, &bytes, 4);
}

TUL_TARGET_SSE2 inline __m128d CombineTwo(const double* const rows[4], const __m128d w[4], std::size_t i)
{
    __m128d s = _mm_mul_pd(w[0], _mm_loadu_pd(rows[0] + i));
    s = _mm_add_pd(s, _mm_mul_pd(w[1], _mm_loadu_pd(rows[1] + i)));
    s = _mm_add_pd(s, _mm_mul_pd(w[2], _mm_loadu_pd(rows[2] + i)));
    return _mm_add_pd(s, _mm_mul_pd(w[3], _mm_loadu_pd(rows[3] + i)));
}

// Four bytes as two pairs of doubles.
TUL_TARGET_SSE2 inline void LoadFour(const Ipp8u* s, __m128d& lo, __m128d& hi)
{
    int four;
    __builtin_memcpy(&four, s, 4);
    const __m128i zero = _mm_setzero_si128();
    const __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
    lo = _mm_cvtepi32_pd(lanes);
    hi = _mm_cvtepi32_pd(_mm_srli_si128(lanes, 8));
}

// Samples of lanes j, j+1 of one tap row, by scalar loads.
TUL_TARGET_SSE2 inline __m128d TwoSamples(const Ipp8u* row, const std::int32_t* off)
{
    return _mm_set_pd(static_cast<double>(row[off[1]]), static_cast<double>(row[off[0]]));
}

TUL_TARGET_SSE2 inline __m128d TwoSamples(const double* row, const std::int32_t* off)
{
    return _mm_loadh_pd(_mm_load_sd(row + off[0]), row + off[1]);
}

// Lanes j, j+1 (j = 0 or 2) of block `blk`, summed in tap order.
template <typename T>
TUL_TARGET_SSE2 inline __m128d AcrossTwo(const T* row, const AcrossTable& t, const AcrossBlock& blk, int j)
{
    const std::size_t at = static_cast<std::size_t>(blk.tap) * kAcrossBlock + j;
    const double* w = t.weight.data() + at;
    const std::int32_t* off = t.offset.data() + at;
    __m128d sum = _mm_mul_pd(_mm_loadu_pd(w), TwoSamples(row, off));
    for (int m = 1; m < blk.taps; ++m)
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_loadu_pd(w + m * kAcrossBlock), TwoSamples(row, off + m * kAcrossBlock)));
    return sum;
}

}  // namespace

TUL_TARGET_SSE2 void CombineFourSse2(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n)
{
    const __m128d wv[4] = {_mm_set1_pd(w[0]), _mm_set1_pd(w[1]), _mm_set1_pd(w[2]), _mm_set1_pd(w[3])};
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4)
        StoreFour(out + i, RoundFour(CombineTwo(rows, wv, i), CombineTwo(rows, wv, i + 2)));
    const double* const rest[4] = {rows[0] + i, rows[1] + i, rows[2] + i, rows[3] + i};
    CombineFourScalar(rest, w, out + i, n - i);
}

TUL_TARGET_SSE2 void SumRowsSse2(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128d lo, hi;
        LoadFour(rows[0] + i, lo, hi);
        __m128d w0 = _mm_set1_pd(w[0]);
        __m128d sumLo = _mm_mul_pd(w0, lo), sumHi = _mm_mul_pd(w0, hi);
        for (int m = 1; m < taps; ++m) {
            LoadFour(rows[m] + i, lo, hi);
            const __m128d wm = _mm_set1_pd(w[m]);
            sumLo = _mm_add_pd(sumLo, _mm_mul_pd(wm, lo));
            sumHi = _mm_add_pd(sumHi, _mm_mul_pd(wm, hi));
        }
        _mm_storeu_pd(out + i, sumLo);
        _mm_storeu_pd(out + i + 2, sumHi);
    }
    SumRowsScalarFrom(rows, w, taps, out, i, n);
}

TUL_TARGET_SSE2 void CubicAcrossSse2(const Ipp8u* row, const AcrossTable& t, double* out)
{
    const int full = t.values / kAcrossBlock;
    for (int b = 0; b < full; ++b) {
        const AcrossBlock& blk = t.blocks[static_cast<std::size_t>(b)];
        _mm_storeu_pd(out + b * kAcrossBlock, AcrossTwo(row, t, blk, 0));
        _mm_storeu_pd(out + b * kAcrossBlock + 2, AcrossTwo(row, t, blk, 2));
    }
    CubicAcrossScalarFrom(row, t, out, full * kAcrossBlock);
}

TUL_TARGET_SSE2 void SuperAcrossSse2(const double* row, const AcrossTable& t, Ipp8u* out)
{
    const int full = t.values / kAcrossBlock;
    for (int b = 0; b < full; ++b) {
        const AcrossBlock& blk = t.blocks[static_cast<std::size_t>(b)];
        StoreFour(out + b * kAcrossBlock, RoundFour(AcrossTwo(row, t, blk, 0), AcrossTwo(row, t, blk, 2)));
    }
    SuperAcrossScalarFrom(row, t, out, full * kAcrossBlock);
}

}  // namespace tulipp::resize_center
