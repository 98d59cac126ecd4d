// AVX2 rows of the double-precision centre resamplers: the same double
// operations in the same order as the scalar rows, four values at a time
// (multiply and add stay separate: no fused multiply-add).
//
// The cubic's across row takes a block whose samples lie within 16 bytes
// from one load broadcast to both halves: pshufb places each tap's four
// samples in the low bytes of the 64-bit lanes, OR-ing in the exponent of
// 2^52 and subtracting 2^52 gives them as exact doubles. Other blocks, and
// super-sampling's rows of sums, gather their samples.
#include "platform/ipp/resize_center_double_rows.h"

#include <immintrin.h>

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

TUL_TARGET_AVX2 inline void StoreFour(Ipp8u* out, __m128i a)
{
    const __m128i words = _mm_packs_epi32(a, a);
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    __builtin_memcpy(out, &bytes, 4);
}

TUL_TARGET_AVX2 inline __m256d CombineQuad(const double* const rows[4], const __m256d w[4], std::size_t i)
{
    __m256d s = _mm256_mul_pd(w[0], _mm256_loadu_pd(rows[0] + i));
    s = _mm256_add_pd(s, _mm256_mul_pd(w[1], _mm256_loadu_pd(rows[1] + i)));
    s = _mm256_add_pd(s, _mm256_mul_pd(w[2], _mm256_loadu_pd(rows[2] + i)));
    return _mm256_add_pd(s, _mm256_mul_pd(w[3], _mm256_loadu_pd(rows[3] + i)));
}

// w times eight bytes, as two vectors of four products.
TUL_TARGET_AVX2 inline void Products(const Ipp8u* s, double w, __m256d& lo, __m256d& hi)
{
    const __m256i lanes = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s)));
    const __m256d wv = _mm256_set1_pd(w);
    lo = _mm256_mul_pd(wv, _mm256_cvtepi32_pd(_mm256_castsi256_si128(lanes)));
    hi = _mm256_mul_pd(wv, _mm256_cvtepi32_pd(_mm256_extracti128_si256(lanes, 1)));
}

TUL_TARGET_AVX2 inline __m256d Weights(const AcrossTable& t, std::size_t tapRow)
{
    return _mm256_loadu_pd(t.weight.data() + tapRow * kAcrossBlock);
}

TUL_TARGET_AVX2 inline __m128i Offsets(const AcrossTable& t, std::size_t tapRow)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.offset.data() + tapRow * kAcrossBlock));
}

// The four samples of one tap row, placed by its mask from `src`.
TUL_TARGET_AVX2 inline __m256d Shuffled(__m256i src, const AcrossTable& t, std::size_t tapRow)
{
    const __m256i mask = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t.mask.data() + tapRow * 32));
    const __m256i bytes = _mm256_or_si256(_mm256_shuffle_epi8(src, mask), _mm256_set1_epi64x(0x4330000000000000LL));
    return _mm256_sub_pd(_mm256_castsi256_pd(bytes), _mm256_set1_pd(4503599627370496.0));
}

// The four samples of one tap row, loaded one by one.
TUL_TARGET_AVX2 inline __m256d Loaded(const Ipp8u* row, const AcrossTable& t, std::size_t tapRow)
{
    const std::int32_t* off = t.offset.data() + tapRow * kAcrossBlock;
    return _mm256_cvtepi32_pd(_mm_setr_epi32(row[off[0]], row[off[1]], row[off[2]], row[off[3]]));
}

TUL_TARGET_AVX2 inline __m256d Gathered(const double* row, const AcrossTable& t, std::size_t tapRow)
{
    const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), row, Offsets(t, tapRow), all, 8);
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

TUL_TARGET_AVX2 void SumRowsAvx2(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256d lo, hi;
        Products(rows[0] + i, w[0], lo, hi);
        for (int m = 1; m < taps; ++m) {
            __m256d pl, ph;
            Products(rows[m] + i, w[m], pl, ph);
            lo = _mm256_add_pd(lo, pl);
            hi = _mm256_add_pd(hi, ph);
        }
        _mm256_storeu_pd(out + i, lo);
        _mm256_storeu_pd(out + i + 4, hi);
    }
    SumRowsScalarFrom(rows, w, taps, out, i, n);
}

TUL_TARGET_AVX2 void CubicAcrossAvx2(const Ipp8u* row, const AcrossTable& t, double* out)
{
    const int full = t.values / kAcrossBlock;
    for (int b = 0; b < full; ++b) {
        const AcrossBlock& blk = t.blocks[static_cast<std::size_t>(b)];
        const std::size_t r = blk.tap;
        __m256d sum;
        if (blk.base >= 0) {
            const __m256i src =
                _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + blk.base)));
            sum = _mm256_mul_pd(Weights(t, r), Shuffled(src, t, r));
            for (int m = 1; m < blk.taps; ++m)
                sum = _mm256_add_pd(sum, _mm256_mul_pd(Weights(t, r + m), Shuffled(src, t, r + m)));
        } else {
            sum = _mm256_mul_pd(Weights(t, r), Loaded(row, t, r));
            for (int m = 1; m < blk.taps; ++m)
                sum = _mm256_add_pd(sum, _mm256_mul_pd(Weights(t, r + m), Loaded(row, t, r + m)));
        }
        _mm256_storeu_pd(out + b * kAcrossBlock, sum);
    }
    CubicAcrossScalarFrom(row, t, out, full * kAcrossBlock);
}

TUL_TARGET_AVX2 void SuperAcrossAvx2(const double* row, const AcrossTable& t, Ipp8u* out)
{
    const int full = t.values / kAcrossBlock;
    for (int b = 0; b < full; ++b) {
        const AcrossBlock& blk = t.blocks[static_cast<std::size_t>(b)];
        const std::size_t r = blk.tap;
        __m256d sum = _mm256_mul_pd(Weights(t, r), Gathered(row, t, r));
        for (int m = 1; m < blk.taps; ++m)
            sum = _mm256_add_pd(sum, _mm256_mul_pd(Weights(t, r + m), Gathered(row, t, r + m)));
        StoreFour(out + b * kAcrossBlock, RoundFour(sum));
    }
    SuperAcrossScalarFrom(row, t, out, full * kAcrossBlock);
}

}  // namespace tulipp::resize_center
