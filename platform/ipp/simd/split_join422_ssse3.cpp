// SSSE3 split of packed 4:2:2 into planes: one byte shuffle sorts each 16
// bytes into Y, U and V groups, fewer operations than the SSE2 mask-and-pack.
#include "platform/ipp/split_join422.h"

#include <tmmintrin.h>

namespace tulipp {

TUL_TARGET_SSSE3 void Split422RowSsse3(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int kStep = 32;
    // Eight pixels Y0 U0 Y1 V0 ... become Y0..Y7 U0..U3 V0..V3.
    const __m128i sort = _mm_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 5, 9, 13, 3, 7, 11, 15);
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
        const __m128i* p = reinterpret_cast<const __m128i*>(packed + 2 * x);
        const __m128i a = _mm_shuffle_epi8(_mm_loadu_si128(p), sort);
        const __m128i b = _mm_shuffle_epi8(_mm_loadu_si128(p + 1), sort);
        const __m128i c = _mm_shuffle_epi8(_mm_loadu_si128(p + 2), sort);
        const __m128i d = _mm_shuffle_epi8(_mm_loadu_si128(p + 3), sort);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + x), _mm_unpacklo_epi64(a, b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + x + 16), _mm_unpacklo_epi64(c, d));
        // Four-byte groups: Ua Ub Va Vb and Uc Ud Vc Vd.
        const __m128i ab = _mm_unpackhi_epi32(a, b);
        const __m128i cd = _mm_unpackhi_epi32(c, d);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(u + x / 2), _mm_unpacklo_epi64(ab, cd));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v + x / 2), _mm_unpackhi_epi64(ab, cd));
    }
    Split422RowScalar(packed + 2 * x, y + x, u + x / 2, v + x / 2, width - x);
}

}  // namespace tulipp
