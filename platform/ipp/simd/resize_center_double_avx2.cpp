// AVX2 row operations of the double-precision centre resamplers: the same
// double operations in the same order as the scalar ones, four at a time
// (multiply and add stay separate: no fused multiply-add).
#include "platform/ipp/resize_center_double_rows.h"

#include <immintrin.h>

namespace tulipp::resize_center {
namespace {

// Clamp, add one half, truncate: four results as 32-bit lanes.
__attribute__((target("avx2"))) inline __m128i RoundFour(__m256d v)
{
    v = _mm256_min_pd(_mm256_max_pd(v, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(_mm256_add_pd(v, _mm256_set1_pd(0.5)));
}

__attribute__((target("avx2"))) inline void StoreEight(Ipp8u* out, __m128i a, __m128i b)
{
    const __m128i words = _mm_packs_epi32(a, b);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
}

__attribute__((target("avx2"))) inline __m256d CombineQuad(const double* const rows[4], const __m256d w[4],
                                                           std::size_t i)
{
    __m256d s = _mm256_mul_pd(w[0], _mm256_loadu_pd(rows[0] + i));
    s = _mm256_add_pd(s, _mm256_mul_pd(w[1], _mm256_loadu_pd(rows[1] + i)));
    s = _mm256_add_pd(s, _mm256_mul_pd(w[2], _mm256_loadu_pd(rows[2] + i)));
    return _mm256_add_pd(s, _mm256_mul_pd(w[3], _mm256_loadu_pd(rows[3] + i)));
}

__attribute__((target("avx2"))) void CombineFourAvx2(const double* const rows[4], const double w[4], Ipp8u* out,
                                                     std::size_t n)
{
    const __m256d wv[4] = {_mm256_set1_pd(w[0]), _mm256_set1_pd(w[1]), _mm256_set1_pd(w[2]), _mm256_set1_pd(w[3])};
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        StoreEight(out + i, RoundFour(CombineQuad(rows, wv, i)), RoundFour(CombineQuad(rows, wv, i + 4)));
    const double* const rest[4] = {rows[0] + i, rows[1] + i, rows[2] + i, rows[3] + i};
    CombineFourScalar(rest, w, out + i, n - i);
}

__attribute__((target("avx2"))) void AccumulateAvx2(const Ipp8u* s, double w, double* acc, std::size_t n)
{
    const __m256d wv = _mm256_set1_pd(w);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i lanes = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i)));
        const __m256d lo = _mm256_cvtepi32_pd(_mm256_castsi256_si128(lanes));
        const __m256d hi = _mm256_cvtepi32_pd(_mm256_extracti128_si256(lanes, 1));
        _mm256_storeu_pd(acc + i, _mm256_add_pd(_mm256_loadu_pd(acc + i), _mm256_mul_pd(wv, lo)));
        _mm256_storeu_pd(acc + i + 4, _mm256_add_pd(_mm256_loadu_pd(acc + i + 4), _mm256_mul_pd(wv, hi)));
    }
    AccumulateScalar(s + i, w, acc + i, n - i);
}

__attribute__((target("avx2"))) void RoundAvx2(const double* v, Ipp8u* out, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        StoreEight(out + i, RoundFour(_mm256_loadu_pd(v + i)), RoundFour(_mm256_loadu_pd(v + i + 4)));
    RoundScalar(v + i, out + i, n - i);
}

}  // namespace

const DoubleRowOps& Avx2DoubleRowOps()
{
    static const DoubleRowOps ops{CombineFourAvx2, AccumulateAvx2, RoundAvx2};
    return ops;
}

}  // namespace tulipp::resize_center
