// SSE2 row operations of the double-precision centre resamplers: the same
// double operations in the same order as the scalar ones, two at a time.
#include "platform/ipp/resize_center_double_rows.h"

#include <emmintrin.h>

namespace tulipp::resize_center {
namespace {

// Clamp, add one half, truncate: four results as the low bytes of 32-bit lanes.
__attribute__((target("sse2"))) inline __m128i RoundFour(__m128d a, __m128d b)
{
    const __m128d zero = _mm_setzero_pd(), top = _mm_set1_pd(255.0), half = _mm_set1_pd(0.5);
    a = _mm_add_pd(_mm_min_pd(_mm_max_pd(a, zero), top), half);
    b = _mm_add_pd(_mm_min_pd(_mm_max_pd(b, zero), top), half);
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(a), _mm_cvttpd_epi32(b));
}

__attribute__((target("sse2"))) inline void StoreFour(Ipp8u* out, __m128i lanes)
{
    const __m128i words = _mm_packs_epi32(lanes, lanes);
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    __builtin_memcpy(out, &bytes, 4);
}

__attribute__((target("sse2"))) inline __m128d CombineTwo(const double* const rows[4], const __m128d w[4],
                                                          std::size_t i)
{
    __m128d s = _mm_mul_pd(w[0], _mm_loadu_pd(rows[0] + i));
    s = _mm_add_pd(s, _mm_mul_pd(w[1], _mm_loadu_pd(rows[1] + i)));
    s = _mm_add_pd(s, _mm_mul_pd(w[2], _mm_loadu_pd(rows[2] + i)));
    return _mm_add_pd(s, _mm_mul_pd(w[3], _mm_loadu_pd(rows[3] + i)));
}

__attribute__((target("sse2"))) void CombineFourSse2(const double* const rows[4], const double w[4], Ipp8u* out,
                                                     std::size_t n)
{
    const __m128d wv[4] = {_mm_set1_pd(w[0]), _mm_set1_pd(w[1]), _mm_set1_pd(w[2]), _mm_set1_pd(w[3])};
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4)
        StoreFour(out + i, RoundFour(CombineTwo(rows, wv, i), CombineTwo(rows, wv, i + 2)));
    const double* const rest[4] = {rows[0] + i, rows[1] + i, rows[2] + i, rows[3] + i};
    CombineFourScalar(rest, w, out + i, n - i);
}

__attribute__((target("sse2"))) void AccumulateSse2(const Ipp8u* s, double w, double* acc, std::size_t n)
{
    const __m128d wv = _mm_set1_pd(w);
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        int four;
        __builtin_memcpy(&four, s + i, 4);
        const __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
        const __m128d lo = _mm_cvtepi32_pd(lanes);
        const __m128d hi = _mm_cvtepi32_pd(_mm_srli_si128(lanes, 8));
        _mm_storeu_pd(acc + i, _mm_add_pd(_mm_loadu_pd(acc + i), _mm_mul_pd(wv, lo)));
        _mm_storeu_pd(acc + i + 2, _mm_add_pd(_mm_loadu_pd(acc + i + 2), _mm_mul_pd(wv, hi)));
    }
    AccumulateScalar(s + i, w, acc + i, n - i);
}

__attribute__((target("sse2"))) void RoundSse2(const double* v, Ipp8u* out, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4)
        StoreFour(out + i, RoundFour(_mm_loadu_pd(v + i), _mm_loadu_pd(v + i + 2)));
    RoundScalar(v + i, out + i, n - i);
}

}  // namespace

const DoubleRowOps& Sse2DoubleRowOps()
{
    static const DoubleRowOps ops{CombineFourSse2, AccumulateSse2, RoundSse2};
    return ops;
}

}  // namespace tulipp::resize_center
