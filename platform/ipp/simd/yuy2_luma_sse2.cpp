// SSE2 rows of the packed 4:2:2 luma and chroma rows, 32 pixels a step:
// the low byte of every 16-bit lane, packed, for luma; the high bytes
// packed, then split the same way into U and V, for chroma. The tail goes
// to the scalar row.
#include "platform/ipp/yuy2_luma_rows.h"

#include <emmintrin.h>

namespace tulipp {

TUL_TARGET_SSE2 void Luma422RowSse2(const Ipp8u* packed, Ipp8u* y, int width)
{
    constexpr int kStep = 32;
    const __m128i low = _mm_set1_epi16(0x00FF);
    int x = 0;
    for (; x + kStep <= width; x += kStep, packed += 2 * kStep) {
        const auto* p = reinterpret_cast<const __m128i*>(packed);
        const __m128i p0 = _mm_and_si128(_mm_loadu_si128(p), low), p1 = _mm_and_si128(_mm_loadu_si128(p + 1), low);
        const __m128i p2 = _mm_and_si128(_mm_loadu_si128(p + 2), low), p3 = _mm_and_si128(_mm_loadu_si128(p + 3), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + x), _mm_packus_epi16(p0, p1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + x + 16), _mm_packus_epi16(p2, p3));
    }
    Luma422RowScalar(packed, y + x, width - x);
}

TUL_TARGET_SSE2 void Chroma422RowSse2(const Ipp8u* packed, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int kStep = 32;
    const __m128i low = _mm_set1_epi16(0x00FF);
    int x = 0;
    for (; x + kStep <= width; x += kStep, packed += 2 * kStep) {
        const auto* p = reinterpret_cast<const __m128i*>(packed);
        // U0 V0 U1 V1 ... of pixels 0-15, then of 16-31.
        const __m128i c0 = _mm_packus_epi16(_mm_srli_epi16(_mm_loadu_si128(p), 8),
                                            _mm_srli_epi16(_mm_loadu_si128(p + 1), 8));
        const __m128i c1 = _mm_packus_epi16(_mm_srli_epi16(_mm_loadu_si128(p + 2), 8),
                                            _mm_srli_epi16(_mm_loadu_si128(p + 3), 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(u + x / 2),
                         _mm_packus_epi16(_mm_and_si128(c0, low), _mm_and_si128(c1, low)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v + x / 2),
                         _mm_packus_epi16(_mm_srli_epi16(c0, 8), _mm_srli_epi16(c1, 8)));
    }
    Chroma422RowScalar(packed, u + x / 2, v + x / 2, width - x);
}

}  // namespace tulipp
