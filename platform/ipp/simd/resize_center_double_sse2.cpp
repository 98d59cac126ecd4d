// SSE2 rows of the double-precision centre resamplers: the same double
// operations in the same order as the scalar rows, two at a time. With
// four rows side by side, one source value of the four rows is two
// vectors (rows 0-1 and rows 2-3).
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

TUL_TARGET_SSE2 inline __m128i LoadEight(const Ipp8u* s)
{
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
}

// Two bytes as two doubles.
TUL_TARGET_SSE2 inline __m128d LoadTwo(const Ipp8u* s)
{
    return _mm_cvtepi32_pd(_mm_setr_epi32(s[0], s[1], 0, 0));
}

// Four source values of the four rows (16 bytes, value-major) as doubles.
TUL_TARGET_SSE2 inline void StoreFourValues(__m128i bytes, double* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i words[2] = {_mm_unpacklo_epi8(bytes, zero), _mm_unpackhi_epi8(bytes, zero)};
    for (int h = 0; h < 2; ++h) {
        const __m128i lo = _mm_unpacklo_epi16(words[h], zero), hi = _mm_unpackhi_epi16(words[h], zero);
        double* o = out + 8 * h;
        _mm_storeu_pd(o, _mm_cvtepi32_pd(lo));
        _mm_storeu_pd(o + 2, _mm_cvtepi32_pd(_mm_srli_si128(lo, 8)));
        _mm_storeu_pd(o + 4, _mm_cvtepi32_pd(hi));
        _mm_storeu_pd(o + 6, _mm_cvtepi32_pd(_mm_srli_si128(hi, 8)));
    }
}

// Block g's values of the four rows: value j of rows 0-1 in s01[j], rows 2-3
// in s23[j], each summed in tap order.
TUL_TARGET_SSE2 __attribute__((always_inline)) inline void SumBlock(const double* lanes, const AcrossTable& t,
                                                                    std::size_t g, __m128d s01[4], __m128d s23[4])
{
    const std::size_t i = t.start[g];
    for (int j = 0; j < 4; ++j) {
        const __m128d w = _mm_set1_pd(t.weight[i + j]);
        const double* p = lanes + static_cast<std::size_t>(t.offset[i + j]) * 4;
        s01[j] = _mm_mul_pd(w, _mm_loadu_pd(p));
        s23[j] = _mm_mul_pd(w, _mm_loadu_pd(p + 2));
    }
    for (int m = 1; m < t.taps[g]; ++m) {
        for (int j = 0; j < 4; ++j) {
            const std::size_t e = i + 4 * static_cast<std::size_t>(m) + j;
            const __m128d w = _mm_set1_pd(t.weight[e]);
            const double* p = lanes + static_cast<std::size_t>(t.offset[e]) * 4;
            s01[j] = _mm_add_pd(s01[j], _mm_mul_pd(w, _mm_loadu_pd(p)));
            s23[j] = _mm_add_pd(s23[j], _mm_mul_pd(w, _mm_loadu_pd(p + 2)));
        }
    }
}

// Values j, j+1 of row q from the sums of SumBlock.
TUL_TARGET_SSE2 inline __m128d RowPair(const __m128d s01[4], const __m128d s23[4], int q, int j)
{
    const __m128d* s = q < 2 ? s01 : s23;
    return q % 2 == 0 ? _mm_unpacklo_pd(s[j], s[j + 1]) : _mm_unpackhi_pd(s[j], s[j + 1]);
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

TUL_TARGET_SSE2 void InterleaveSse2(const Ipp8u* const rows[4], double* lanes, std::size_t n)
{
    std::size_t x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m128i p01 = _mm_unpacklo_epi8(LoadEight(rows[0] + x), LoadEight(rows[1] + x));
        const __m128i p23 = _mm_unpacklo_epi8(LoadEight(rows[2] + x), LoadEight(rows[3] + x));
        double* o = lanes + x * 4;
        StoreFourValues(_mm_unpacklo_epi16(p01, p23), o);
        StoreFourValues(_mm_unpackhi_epi16(p01, p23), o + 16);
    }
    InterleaveScalarFrom(rows, lanes, x, n);
}

TUL_TARGET_SSE2 void SumDownSse2(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4],
                                 double* lanes, std::size_t n)
{
    std::size_t x = 0;
    for (; x + 2 <= n; x += 2) {
        __m128d a[4];  // columns x, x+1 of row q
        for (int q = 0; q < 4; ++q) {
            a[q] = _mm_mul_pd(_mm_set1_pd(w[q][0]), LoadTwo(rows[q][0] + x));
            for (int m = 1; m < taps[q]; ++m)
                a[q] = _mm_add_pd(a[q], _mm_mul_pd(_mm_set1_pd(w[q][m]), LoadTwo(rows[q][m] + x)));
        }
        double* o = lanes + x * 4;
        _mm_storeu_pd(o, _mm_unpacklo_pd(a[0], a[1]));
        _mm_storeu_pd(o + 2, _mm_unpacklo_pd(a[2], a[3]));
        _mm_storeu_pd(o + 4, _mm_unpackhi_pd(a[0], a[1]));
        _mm_storeu_pd(o + 6, _mm_unpackhi_pd(a[2], a[3]));
    }
    SumDownScalarFrom(rows, w, taps, lanes, x, n);
}

TUL_TARGET_SSE2 void CubicAcrossSse2(const double* lanes, const AcrossTable& t, int g0, int g1,
                                     double* const out[4])
{
    const int whole = WholeBlocksEnd(t, g1);
    int g = g0;
    for (; g < whole; ++g) {
        __m128d s01[4], s23[4];
        SumBlock(lanes, t, static_cast<std::size_t>(g), s01, s23);
        for (int q = 0; q < 4; ++q) {
            _mm_storeu_pd(out[q] + g * kAcrossBlock, RowPair(s01, s23, q, 0));
            _mm_storeu_pd(out[q] + g * kAcrossBlock + 2, RowPair(s01, s23, q, 2));
        }
    }
    CubicAcrossValues(lanes, t, g * kAcrossBlock, ValuesEnd(t, g1), out);
}

TUL_TARGET_SSE2 void SuperAcrossSse2(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4])
{
    const int whole = WholeBlocksEnd(t, g1);
    int g = g0;
    for (; g < whole; ++g) {
        __m128d s01[4], s23[4];
        SumBlock(lanes, t, static_cast<std::size_t>(g), s01, s23);
        for (int q = 0; q < 4; ++q)
            StoreFour(out[q] + g * kAcrossBlock, RoundFour(RowPair(s01, s23, q, 0), RowPair(s01, s23, q, 2)));
    }
    SuperAcrossValues(lanes, t, g * kAcrossBlock, ValuesEnd(t, g1), out);
}

}  // namespace tulipp::resize_center
