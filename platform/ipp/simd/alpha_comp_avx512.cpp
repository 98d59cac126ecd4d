// AVX-512 compositing row: straight OVER, thirty-two pixels a step, the
// AVX2 row's arithmetic on registers twice as wide (see OverRow in
// alpha_comp_avx2.cpp for why it is exact). Shuffles, unpacks and packs
// stay within 128-bit lanes at both widths, so each lane holds the same
// pixels of its step as there: lane k pixels 4k to 4k + 3 and 16 + 4k to
// 19 + 4k. Every other type, and the rest of a row, goes to the AVX2 row.
#include "platform/ipp/alpha_comp_rows.h"

#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start some registers from an undefined value
// on purpose, which its own uninitialised-use analysis then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace tulipp {
namespace {

TUL_TARGET_AVX512 inline __m512i Load(const Ipp8u* p) { return _mm512_loadu_si512(p); }

// floor(x / 255) for 0 <= x < 65535, with the x + 1 already added.
TUL_TARGET_AVX512 inline __m512i Div255Plus1(__m512i xPlus1)
{
    return _mm512_mulhi_epu16(xPlus1, _mm512_set1_epi16(257));
}

struct OverFactors {
    __m512i ap;     // a | p << 8
    __m512i r;
    __m512i c;      // 128 (a + p + 1)
    __m512i alpha;  // the result alpha
};

TUL_TARGET_AVX512 inline OverFactors Factors(__m512i a, __m512i b)
{
    const __m512i w = _mm512_mullo_epi16(_mm512_sub_epi16(_mm512_set1_epi16(255), a), b);
    const __m512i p = Div255Plus1(_mm512_add_epi16(w, _mm512_set1_epi16(1)));
    const __m512i p8 = _mm512_slli_epi16(p, 8);
    return {_mm512_or_si512(a, p8), _mm512_add_epi16(_mm512_sub_epi16(w, p8), p),
            _mm512_slli_epi16(_mm512_add_epi16(_mm512_add_epi16(a, p), _mm512_set1_epi16(1)), 7),
            _mm512_add_epi16(a, Div255Plus1(_mm512_add_epi16(w, _mm512_set1_epi16(128))))};
}

TUL_TARGET_AVX512 inline __m512i OverChannel(__m512i ab, __m512i B, const OverFactors& k)
{
    const __m512i low = Div255Plus1(_mm512_add_epi16(_mm512_mullo_epi16(k.r, B), _mm512_set1_epi16(128)));
    const __m512i high = _mm512_add_epi16(_mm512_maddubs_epi16(k.ap, ab), k.c);
    return Div255Plus1(_mm512_add_epi16(high, low));
}

struct Planes {
    __m512i c01, c2a;
};
TUL_TARGET_AVX512 inline Planes Apart(const Ipp8u* p)
{
    const __m512i group =
        _mm512_broadcast_i32x4(_mm_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15));
    const __m512i first = _mm512_shuffle_epi8(Load(p), group), second = _mm512_shuffle_epi8(Load(p + 64), group);
    return {_mm512_unpacklo_epi32(first, second), _mm512_unpackhi_epi32(first, second)};
}

TUL_TARGET_AVX512 int OverRow(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels)
{
    const __m512i flip = _mm512_set1_epi8(static_cast<char>(0x80));
    const __m512i zero = _mm512_setzero_si512();
    int x = 0;
    for (; x + 32 <= pixels; x += 32) {
        const Planes f = Apart(fg + 4 * x), g = Apart(bg + 4 * x);
        const OverFactors k = Factors(_mm512_unpackhi_epi8(f.c2a, zero), _mm512_unpackhi_epi8(g.c2a, zero));
        const __m512i f01 = _mm512_xor_si512(f.c01, flip), g01 = _mm512_xor_si512(g.c01, flip);
        const __m512i f2 = _mm512_xor_si512(f.c2a, flip), g2 = _mm512_xor_si512(g.c2a, flip);
        const __m512i c0 = OverChannel(_mm512_unpacklo_epi8(f01, g01), _mm512_unpacklo_epi8(g.c01, zero), k);
        const __m512i c1 = OverChannel(_mm512_unpackhi_epi8(f01, g01), _mm512_unpackhi_epi8(g.c01, zero), k);
        const __m512i c2 = OverChannel(_mm512_unpacklo_epi8(f2, g2), _mm512_unpacklo_epi8(g.c2a, zero), k);
        const __m512i low = _mm512_or_si512(c0, _mm512_slli_epi16(c1, 8));
        const __m512i high = _mm512_or_si512(c2, _mm512_slli_epi16(k.alpha, 8));
        _mm512_storeu_si512(dst + 4 * x, _mm512_unpacklo_epi16(low, high));
        _mm512_storeu_si512(dst + 4 * x + 64, _mm512_unpackhi_epi16(low, high));
    }
    return x;
}

}  // namespace

TUL_TARGET_AVX512 void AlphaCompPixelRowAvx512(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels,
                                               const AlphaRule& rule)
{
    const int x = IsStraightOver(rule) ? OverRow(fg, bg, dst, pixels) : 0;
    AlphaCompPixelRowAvx2(fg + 4 * x, bg + 4 * x, dst + 4 * x, pixels - x, rule);
}

}  // namespace tulipp
