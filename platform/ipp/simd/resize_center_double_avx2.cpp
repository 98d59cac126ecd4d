// AVX2 rows of the double-precision centre resamplers: the same double
// operations in the same order as the scalar rows, four at a time
// (multiply and add stay separate: no fused multiply-add). Rows laid side
// by side give one vector per source value across the four rows; a 4x4
// transpose turns four values of the four rows back into row order.
#include "platform/ipp/resize_center_double_rows.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdint>

namespace tulipp::resize_center {
namespace {

// Clamp, add one half, truncate: four results as 32-bit lanes.
TUL_TARGET_AVX2 inline __m128i RoundFour(__m256d v)
{
    v = _mm256_min_pd(_mm256_max_pd(v, _mm256_setzero_pd()), _mm256_set1_pd(255.0));
    return _mm256_cvttpd_epi32(_mm256_add_pd(v, _mm256_set1_pd(0.5)));
}

TUL_TARGET_AVX2 inline void StoreEight(Ipp8u* out, __m128i a, __m128i b)
{
    const __m128i words = _mm_packs_epi32(a, b);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
}

TUL_TARGET_AVX2 inline __m256d CombineQuad(const double* const rows[4], const __m256d w[4], std::size_t i)
{
    __m256d s = _mm256_mul_pd(w[0], _mm256_loadu_pd(rows[0] + i));
    s = _mm256_add_pd(s, _mm256_mul_pd(w[1], _mm256_loadu_pd(rows[1] + i)));
    s = _mm256_add_pd(s, _mm256_mul_pd(w[2], _mm256_loadu_pd(rows[2] + i)));
    return _mm256_add_pd(s, _mm256_mul_pd(w[3], _mm256_loadu_pd(rows[3] + i)));
}

// a[j] lane q becomes a[q] lane j.
TUL_TARGET_AVX2 inline void Transpose(__m256d a[4])
{
    const __m256d t0 = _mm256_unpacklo_pd(a[0], a[1]), t1 = _mm256_unpackhi_pd(a[0], a[1]);
    const __m256d t2 = _mm256_unpacklo_pd(a[2], a[3]), t3 = _mm256_unpackhi_pd(a[2], a[3]);
    a[0] = _mm256_permute2f128_pd(t0, t2, 0x20);
    a[1] = _mm256_permute2f128_pd(t1, t3, 0x20);
    a[2] = _mm256_permute2f128_pd(t0, t2, 0x31);
    a[3] = _mm256_permute2f128_pd(t1, t3, 0x31);
}

TUL_TARGET_AVX2 inline __m128i LoadEight(const Ipp8u* s)
{
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s));
}

// Four bytes as exact doubles: each byte becomes the low mantissa byte of
// 2^52, and subtracting 2^52 leaves the byte's value.
TUL_TARGET_AVX2 inline __m256d LoadFour(const Ipp8u* s)
{
    int four;
    __builtin_memcpy(&four, s, 4);
    const __m256i mantissas = _mm256_cvtepu8_epi64(_mm_cvtsi32_si128(four));
    const __m256i biased = _mm256_or_si256(mantissas, _mm256_set1_epi64x(0x4330000000000000LL));
    return _mm256_sub_pd(_mm256_castsi256_pd(biased), _mm256_set1_pd(4503599627370496.0));
}

// w times eight bytes, as two vectors of four products.
TUL_TARGET_AVX2 inline void Products(const Ipp8u* s, double w, __m256d& lo, __m256d& hi)
{
    const __m256d wv = _mm256_set1_pd(w);
    lo = _mm256_mul_pd(wv, LoadFour(s));
    hi = _mm256_mul_pd(wv, LoadFour(s + 4));
}

// Two source values of the four rows (8 bytes, value-major) as doubles.
TUL_TARGET_AVX2 inline void StoreTwoValues(__m128i bytes, double* out)
{
    const __m256i lanes = _mm256_cvtepu8_epi32(bytes);
    _mm256_storeu_pd(out, _mm256_cvtepi32_pd(_mm256_castsi256_si128(lanes)));
    _mm256_storeu_pd(out + 4, _mm256_cvtepi32_pd(_mm256_extracti128_si256(lanes, 1)));
}

// The table as plain pointers, and the four output rows, held in locals:
// the vector stores may alias anything, so members read through the table
// or the output array would be read again after every store.
struct AcrossView {
    const double* weight;
    const std::int32_t* offset;
    const std::size_t* start;
    const int* taps;
    const std::uint8_t* run;
    std::size_t step[kAcrossBlock];  // of a run by value, in doubles of four rows side by side

    explicit AcrossView(const AcrossTable& t)
        : weight(t.weight.data()),
          offset(t.offset.data()),
          start(t.start.data()),
          taps(t.taps.data()),
          run(t.run.data())
    {
        for (int j = 0; j < kAcrossBlock; ++j)
            step[j] = static_cast<std::size_t>(t.steps[static_cast<std::size_t>(j)]) * 4;
    }
};

// Tap entry i of the four rows side by side: weight times samples.
TUL_TARGET_AVX2 inline __m256d Product(const double* lanes, const AcrossView& t, std::size_t i)
{
    return _mm256_mul_pd(_mm256_broadcast_sd(t.weight + i),
                         _mm256_loadu_pd(lanes + static_cast<std::size_t>(t.offset[i]) * 4));
}

// A run block of exactly Taps taps, unrolled: each value's samples step by
// a fixed stride from its first offset. S0 and S1 are the strides of the
// even and odd values when the row's pattern is known when compiling
// (they then become address displacements), 0 when read from the table.
template <int Taps, int S0, int S1>
TUL_TARGET_AVX2 __attribute__((always_inline)) inline void SumRun(const double* lanes, const AcrossView& t,
                                                                  std::size_t i, __m256d a[4])
{
    const double* w = t.weight + i;
    const double* p[4];
    for (int j = 0; j < 4; ++j) {
        p[j] = lanes + static_cast<std::size_t>(t.offset[i + j]) * 4;
        a[j] = _mm256_mul_pd(_mm256_broadcast_sd(w + j), _mm256_loadu_pd(p[j]));
    }
    for (int m = 1; m < Taps; ++m) {
        for (int j = 0; j < 4; ++j) {
            const int fixed = j % 2 == 0 ? S0 : S1;
            const std::size_t stride = fixed != 0 ? static_cast<std::size_t>(fixed) * 4 : t.step[j];
            a[j] = _mm256_add_pd(a[j], _mm256_mul_pd(_mm256_broadcast_sd(w + 4 * m + j),
                                                     _mm256_loadu_pd(p[j] + m * stride)));
        }
    }
}

// Block g's four values of the four rows, value j in a[j] (lane q = row q).
template <int S0, int S1>
TUL_TARGET_AVX2 __attribute__((always_inline)) inline void SumValues(const double* lanes, const AcrossView& t,
                                                                     std::size_t g, __m256d a[4])
{
    std::size_t i = t.start[g];
    const int taps = t.taps[g];
    if (t.run[g]) {
        // Consecutive samples: one offset per value, then fixed steps; the
        // common tap counts (the cubic's four, the area's two and three at
        // mild reductions) unrolled.
        switch (taps) {
        case 2:
            SumRun<2, S0, S1>(lanes, t, i, a);
            return;
        case 3:
            SumRun<3, S0, S1>(lanes, t, i, a);
            return;
        case 4:
            SumRun<4, S0, S1>(lanes, t, i, a);
            return;
        default:
            break;
        }
        const double* p0 = lanes + static_cast<std::size_t>(t.offset[i]) * 4;
        const double* p1 = lanes + static_cast<std::size_t>(t.offset[i + 1]) * 4;
        const double* p2 = lanes + static_cast<std::size_t>(t.offset[i + 2]) * 4;
        const double* p3 = lanes + static_cast<std::size_t>(t.offset[i + 3]) * 4;
        const double* w = t.weight + i;
        __m256d a0 = _mm256_mul_pd(_mm256_broadcast_sd(w), _mm256_loadu_pd(p0));
        __m256d a1 = _mm256_mul_pd(_mm256_broadcast_sd(w + 1), _mm256_loadu_pd(p1));
        __m256d a2 = _mm256_mul_pd(_mm256_broadcast_sd(w + 2), _mm256_loadu_pd(p2));
        __m256d a3 = _mm256_mul_pd(_mm256_broadcast_sd(w + 3), _mm256_loadu_pd(p3));
        for (int m = 1; m < taps; ++m) {
            w += 4;
            p0 += t.step[0];
            p1 += t.step[1];
            p2 += t.step[2];
            p3 += t.step[3];
            a0 = _mm256_add_pd(a0, _mm256_mul_pd(_mm256_broadcast_sd(w), _mm256_loadu_pd(p0)));
            a1 = _mm256_add_pd(a1, _mm256_mul_pd(_mm256_broadcast_sd(w + 1), _mm256_loadu_pd(p1)));
            a2 = _mm256_add_pd(a2, _mm256_mul_pd(_mm256_broadcast_sd(w + 2), _mm256_loadu_pd(p2)));
            a3 = _mm256_add_pd(a3, _mm256_mul_pd(_mm256_broadcast_sd(w + 3), _mm256_loadu_pd(p3)));
        }
        a[0] = a0;
        a[1] = a1;
        a[2] = a2;
        a[3] = a3;
        return;
    }
    __m256d a0 = Product(lanes, t, i), a1 = Product(lanes, t, i + 1);
    __m256d a2 = Product(lanes, t, i + 2), a3 = Product(lanes, t, i + 3);
    for (int m = 1; m < taps; ++m) {
        i += 4;
        a0 = _mm256_add_pd(a0, Product(lanes, t, i));
        a1 = _mm256_add_pd(a1, Product(lanes, t, i + 1));
        a2 = _mm256_add_pd(a2, Product(lanes, t, i + 2));
        a3 = _mm256_add_pd(a3, Product(lanes, t, i + 3));
    }
    a[0] = a0;
    a[1] = a1;
    a[2] = a2;
    a[3] = a3;
}

// Four values of four rows (value j in a[j], lane q = row q) rounded and
// stored as four bytes of each row: the bytes come out value-major, and
// one shuffle turns them row-major.
TUL_TARGET_AVX2 inline void StoreRounded(const __m256d a[4], Ipp8u* const out[4], std::size_t v)
{
    const __m128i words01 = _mm_packs_epi32(RoundFour(a[0]), RoundFour(a[1]));
    const __m128i words23 = _mm_packs_epi32(RoundFour(a[2]), RoundFour(a[3]));
    const __m128i rowMajor = _mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m128i rows = _mm_shuffle_epi8(_mm_packus_epi16(words01, words23), rowMajor);
    const int r[4] = {_mm_cvtsi128_si32(rows), _mm_extract_epi32(rows, 1), _mm_extract_epi32(rows, 2),
                      _mm_extract_epi32(rows, 3)};
    for (int q = 0; q < 4; ++q)
        __builtin_memcpy(out[q] + v, &r[q], 4);
}

// Columns x .. x+7 of one destination row summed down its source rows, in
// tap order.
TUL_TARGET_AVX2 __attribute__((always_inline)) inline void SumColumns(const Ipp8u* const* rows, const double* w,
                                                                      int taps, std::size_t x, __m256d& lo,
                                                                      __m256d& hi)
{
    __m256d pl, ph;
    Products(rows[0] + x, w[0], lo, hi);
    for (int m = 1; m < taps; ++m) {
        Products(rows[m] + x, w[m], pl, ph);
        lo = _mm256_add_pd(lo, pl);
        hi = _mm256_add_pd(hi, ph);
    }
}

}  // namespace

TUL_TARGET_AVX2 void CombineFourAvx2(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n)
{
    const __m256d wv[4] = {_mm256_set1_pd(w[0]), _mm256_set1_pd(w[1]), _mm256_set1_pd(w[2]), _mm256_set1_pd(w[3])};
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8)
        StoreEight(out + i, RoundFour(CombineQuad(rows, wv, i)), RoundFour(CombineQuad(rows, wv, i + 4)));
    const double* const rest[4] = {rows[0] + i, rows[1] + i, rows[2] + i, rows[3] + i};
    CombineFourScalar(rest, w, out + i, n - i);
}

TUL_TARGET_AVX2 void InterleaveAvx2(const Ipp8u* const rows[4], double* lanes, std::size_t n)
{
    std::size_t x = 0;
    for (; x + 8 <= n; x += 8) {
        const __m128i p01 = _mm_unpacklo_epi8(LoadEight(rows[0] + x), LoadEight(rows[1] + x));
        const __m128i p23 = _mm_unpacklo_epi8(LoadEight(rows[2] + x), LoadEight(rows[3] + x));
        const __m128i lo = _mm_unpacklo_epi16(p01, p23), hi = _mm_unpackhi_epi16(p01, p23);
        double* o = lanes + x * 4;
        StoreTwoValues(lo, o);
        StoreTwoValues(_mm_srli_si128(lo, 8), o + 8);
        StoreTwoValues(hi, o + 16);
        StoreTwoValues(_mm_srli_si128(hi, 8), o + 24);
    }
    InterleaveScalarFrom(rows, lanes, x, n);
}

TUL_TARGET_AVX2 void SumDownAvx2(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4],
                                 double* lanes, std::size_t n)
{
    std::size_t x = 0;
    for (; x + 8 <= n; x += 8) {
        __m256d lo[4], hi[4];
        SumColumns(rows[0], w[0], taps[0], x, lo[0], hi[0]);
        SumColumns(rows[1], w[1], taps[1], x, lo[1], hi[1]);
        SumColumns(rows[2], w[2], taps[2], x, lo[2], hi[2]);
        SumColumns(rows[3], w[3], taps[3], x, lo[3], hi[3]);
        Transpose(lo);
        Transpose(hi);
        double* o = lanes + x * 4;
        for (int j = 0; j < 4; ++j) {
            _mm256_storeu_pd(o + 4 * j, lo[j]);
            _mm256_storeu_pd(o + 16 + 4 * j, hi[j]);
        }
    }
    SumDownScalarFrom(rows, w, taps, lanes, x, n);
}

namespace {

// Whole blocks [g0, g1), each handed to store(a, g) with value j of the
// four rows in a[j].
template <int S0, int S1, typename Store>
TUL_TARGET_AVX2 __attribute__((always_inline)) inline void EachBlock(const double* lanes, const AcrossView& view,
                                                                     int g0, int g1, Store store)
{
    for (int g = g0; g < g1; ++g) {
        __m256d a[4];
        SumValues<S0, S1>(lanes, view, static_cast<std::size_t>(g), a);
        store(a, g);
    }
}

// The row's run strides as constants where they are the common ones: one,
// three and four channels interleaved, and packed 4:2:2 (luma 2, chroma 4).
template <typename Store>
TUL_TARGET_AVX2 __attribute__((always_inline)) inline void AllBlocks(const double* lanes, const AcrossTable& t,
                                                                     int g0, int g1, Store store)
{
    const AcrossView view(t);
    const int s0 = t.steps[0], s1 = t.steps[1];
    const bool paired = t.steps[2] == s0 && t.steps[3] == s1;
    if (paired && s0 == 1 && s1 == 1)
        EachBlock<1, 1>(lanes, view, g0, g1, store);
    else if (paired && s0 == 3 && s1 == 3)
        EachBlock<3, 3>(lanes, view, g0, g1, store);
    else if (paired && s0 == 4 && s1 == 4)
        EachBlock<4, 4>(lanes, view, g0, g1, store);
    else if (paired && s0 == 2 && s1 == 4)
        EachBlock<2, 4>(lanes, view, g0, g1, store);
    else
        EachBlock<0, 0>(lanes, view, g0, g1, store);
}

}  // namespace

TUL_TARGET_AVX2 void CubicAcrossAvx2(const double* lanes, const AcrossTable& t, int g0, int g1,
                                     double* const out[4])
{
    double* const rows[4] = {out[0], out[1], out[2], out[3]};
    const int whole = WholeBlocksEnd(t, g1);
    AllBlocks(lanes, t, g0, whole, [&](__m256d a[4], int g) TUL_TARGET_AVX2 {
        Transpose(a);
        for (int q = 0; q < 4; ++q)
            _mm256_storeu_pd(rows[q] + g * kAcrossBlock, a[q]);
    });
    CubicAcrossValues(lanes, t, std::max(g0, whole) * kAcrossBlock, ValuesEnd(t, g1), out);
}

TUL_TARGET_AVX2 void SuperAcrossAvx2(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4])
{
    Ipp8u* const rows[4] = {out[0], out[1], out[2], out[3]};
    const int whole = WholeBlocksEnd(t, g1);
    AllBlocks(lanes, t, g0, whole, [&](__m256d a[4], int g) TUL_TARGET_AVX2 {
        StoreRounded(a, rows, static_cast<std::size_t>(g) * kAcrossBlock);
    });
    SuperAcrossValues(lanes, t, std::max(g0, whole) * kAcrossBlock, ValuesEnd(t, g1), out);
}

}  // namespace tulipp::resize_center
