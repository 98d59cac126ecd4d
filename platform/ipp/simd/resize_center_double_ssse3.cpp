// SSSE3 across row of the cubic: a block whose samples lie within 16 bytes
// takes them all from one load, each tap's pair of samples placed by pshufb
// into the low bytes of two 64-bit lanes; OR-ing in the exponent of 2^52
// and subtracting 2^52 gives the samples as exact doubles. The sums are the
// scalar row's, in the same order.
#include "platform/ipp/resize_center_double_rows.h"

#include <tmmintrin.h>

namespace tulipp::resize_center {
namespace {

TUL_TARGET_SSSE3 inline __m128d TwoSamples(const Ipp8u* row, const std::int32_t* off)
{
    return _mm_set_pd(static_cast<double>(row[off[1]]), static_cast<double>(row[off[0]]));
}

// Lanes j, j+1 (j = 0 or 2) of a block whose samples do not fit one load.
TUL_TARGET_SSSE3 inline __m128d LoadedTwo(const Ipp8u* row, const AcrossTable& t, const AcrossBlock& blk, int j)
{
    const std::size_t at = static_cast<std::size_t>(blk.tap) * kAcrossBlock + j;
    const double* w = t.weight.data() + at;
    const std::int32_t* off = t.offset.data() + at;
    __m128d sum = _mm_mul_pd(_mm_loadu_pd(w), TwoSamples(row, off));
    for (int m = 1; m < blk.taps; ++m)
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_loadu_pd(w + m * kAcrossBlock), TwoSamples(row, off + m * kAcrossBlock)));
    return sum;
}

// Two samples placed by 16 mask bytes from `src`, as exact doubles.
TUL_TARGET_SSSE3 inline __m128d Shuffled(__m128i src, const Ipp8u* mask)
{
    const __m128i bytes = _mm_shuffle_epi8(src, _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask)));
    return _mm_sub_pd(_mm_castsi128_pd(_mm_or_si128(bytes, _mm_set1_epi64x(0x4330000000000000LL))),
                      _mm_set1_pd(4503599627370496.0));  // 2^52
}

// Lanes j, j+1 of a block read through its masks from `src`.
TUL_TARGET_SSSE3 inline __m128d ShuffledTwo(__m128i src, const AcrossTable& t, const AcrossBlock& blk, int j)
{
    const std::size_t at = static_cast<std::size_t>(blk.tap);
    const double* w = t.weight.data() + at * kAcrossBlock + j;
    const Ipp8u* mask = t.mask.data() + at * 32 + j * 8;
    __m128d sum = _mm_mul_pd(_mm_loadu_pd(w), Shuffled(src, mask));
    for (int m = 1; m < blk.taps; ++m)
        sum = _mm_add_pd(sum, _mm_mul_pd(_mm_loadu_pd(w + m * kAcrossBlock), Shuffled(src, mask + m * 32)));
    return sum;
}

}  // namespace

TUL_TARGET_SSSE3 void CubicAcrossSsse3(const Ipp8u* row, const AcrossTable& t, double* out)
{
    const int full = t.values / kAcrossBlock;
    for (int b = 0; b < full; ++b) {
        const AcrossBlock& blk = t.blocks[static_cast<std::size_t>(b)];
        double* o = out + b * kAcrossBlock;
        if (blk.base >= 0) {
            const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + blk.base));
            _mm_storeu_pd(o, ShuffledTwo(src, t, blk, 0));
            _mm_storeu_pd(o + 2, ShuffledTwo(src, t, blk, 2));
        } else {
            _mm_storeu_pd(o, LoadedTwo(row, t, blk, 0));
            _mm_storeu_pd(o + 2, LoadedTwo(row, t, blk, 2));
        }
    }
    CubicAcrossScalarFrom(row, t, out, full * kAcrossBlock);
}

}  // namespace tulipp::resize_center
