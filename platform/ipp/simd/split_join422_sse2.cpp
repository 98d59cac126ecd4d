// SSE2 kernels for packed 4:2:2 <-> planes, 32 pixels per step; the rest
// of a row (and an odd last pixel) goes to the scalar kernel. SSE2 is part
// of baseline x86-64; the attribute only states which set the rows use.
#include "platform/ipp/split_join422.h"

#include <emmintrin.h>

namespace tulipp {
namespace {

TUL_TARGET_SSE2 inline __m128i Load(const Ipp8u* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
TUL_TARGET_SSE2 inline void Store(Ipp8u* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// Even bytes of a and b, in order (the low byte of every 16-bit lane).
TUL_TARGET_SSE2 inline __m128i EvenBytes(__m128i a, __m128i b, __m128i lowMask)
{
    return _mm_packus_epi16(_mm_and_si128(a, lowMask), _mm_and_si128(b, lowMask));
}

// Odd bytes of a and b, in order.
TUL_TARGET_SSE2 inline __m128i OddBytes(__m128i a, __m128i b)
{
    return _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
}

}  // namespace

TUL_TARGET_SSE2 void Split422RowSse2(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int kStep = 32;
    const __m128i lowMask = _mm_set1_epi16(0x00FF);
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
        const Ipp8u* p = packed + 2 * x;
        const __m128i p0 = Load(p), p1 = Load(p + 16), p2 = Load(p + 32), p3 = Load(p + 48);
        Store(y + x, EvenBytes(p0, p1, lowMask));
        Store(y + x + 16, EvenBytes(p2, p3, lowMask));
        // Chroma bytes U0 V0 U1 V1 ... of pairs 0-7 and 8-15.
        const __m128i c0 = OddBytes(p0, p1);
        const __m128i c1 = OddBytes(p2, p3);
        Store(u + x / 2, EvenBytes(c0, c1, lowMask));
        Store(v + x / 2, OddBytes(c0, c1));
    }
    Split422RowScalar(packed + 2 * x, y + x, u + x / 2, v + x / 2, width - x);
}

TUL_TARGET_SSE2 void Join422RowSse2(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width)
{
    constexpr int kStep = 32;
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
        const __m128i y0 = Load(y + x), y1 = Load(y + x + 16);
        const __m128i us = Load(u + x / 2), vs = Load(v + x / 2);
        // U0 V0 U1 V1 ...: each byte then falls behind its Y.
        const __m128i c0 = _mm_unpacklo_epi8(us, vs);
        const __m128i c1 = _mm_unpackhi_epi8(us, vs);
        Ipp8u* p = packed + 2 * x;
        Store(p, _mm_unpacklo_epi8(y0, c0));
        Store(p + 16, _mm_unpackhi_epi8(y0, c0));
        Store(p + 32, _mm_unpacklo_epi8(y1, c1));
        Store(p + 48, _mm_unpackhi_epi8(y1, c1));
    }
    Join422RowScalar(y + x, u + x / 2, v + x / 2, packed + 2 * x, width - x);
}

}  // namespace tulipp
