// SSE2 rows of RGB24/RGB32 to BT.601 Y'CbCr, eight pixels per step.
//
// Each equation's numerator is an exact integer (pmaddwd of 16-bit
// components or sums by the x1000 coefficients), and round-half-up
// division by d = 1000, 2000 or 4000 is trunc((N + offset + d/2 + 0.5) /
// d) in single precision: N + offset + d/2 stays positive and below 2^23,
// so the half is exact, and the quotient's fractional part is
// (r + 0.5) / d with 0 <= r < d, at least 0.5/d (1.25e-4) from an
// integer, while the float error of a quotient below 256 is under
// 256 x 2^-23 (3.1e-5). Truncation thus gives floor((N + d/2) / d), the
// rounding of color_coefficients.h, for every input.
#include "platform/ipp/to_ycbcr_rows.h"

#include <emmintrin.h>

#include <cstring>

namespace tulipp {
namespace {

using namespace tulipp::color;

// Coefficient words for pixels laid out B, G, R, x.
#define TUL_BGRX(b, g, r) _mm_setr_epi16(b, g, r, 0, b, g, r, 0)

TUL_TARGET_SSE2 inline __m128i Load32(const Ipp8u* p)
{
    int v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si128(v);
}

// Four pixels as dwords B, G, R, x (x is never weighted).
template <int Bytes>
TUL_TARGET_SSE2 inline __m128i LoadPixels(const Ipp8u* p)
{
    if constexpr (Bytes == 4) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    } else {
        // Exactly the 12 bytes, then each pixel moved up to its dword.
        const __m128i v = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), Load32(p + 8));
        const __m128i m0 = _mm_setr_epi32(0xFFFFFF, 0, 0, 0), m1 = _mm_setr_epi32(0, 0xFFFFFF, 0, 0);
        const __m128i m2 = _mm_setr_epi32(0, 0, 0xFFFFFF, 0), m3 = _mm_setr_epi32(0, 0, 0, 0xFFFFFF);
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(v, m0), _mm_and_si128(_mm_slli_si128(v, 1), m1)),
                            _mm_or_si128(_mm_and_si128(_mm_slli_si128(v, 2), m2),
                                         _mm_and_si128(_mm_slli_si128(v, 3), m3)));
    }
}

// Four pixels (or sums) as words: lo holds the first two, hi the others.
struct Words {
    __m128i lo, hi;
};

TUL_TARGET_SSE2 inline Words Widen(__m128i px)
{
    const __m128i zero = _mm_setzero_si128();
    return {_mm_unpacklo_epi8(px, zero), _mm_unpackhi_epi8(px, zero)};
}

TUL_TARGET_SSE2 inline Words Add(Words a, Words b) { return {_mm_add_epi16(a.lo, b.lo), _mm_add_epi16(a.hi, b.hi)}; }

// The sums of adjacent pixel pairs: (0+1, 2+3) of a group, as 2 blocks.
TUL_TARGET_SSE2 inline __m128i PairSums(Words w)
{
    return _mm_add_epi16(_mm_unpacklo_epi64(w.lo, w.hi), _mm_unpackhi_epi64(w.lo, w.hi));
}

// The four dot products of coefficient words with the four entries of
// two registers of two entries each.
TUL_TARGET_SSE2 inline __m128i Dot(__m128i first, __m128i second, __m128i coef)
{
    const __m128 a = _mm_castsi128_ps(_mm_madd_epi16(first, coef));
    const __m128 b = _mm_castsi128_ps(_mm_madd_epi16(second, coef));
    return _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(a, b, 0x88)), _mm_castps_si128(_mm_shuffle_ps(a, b, 0xDD)));
}

// floor((n + offset + d/2) / d), as argued at the top of the file.
TUL_TARGET_SSE2 inline __m128i Divide(__m128i n, int offset, int d)
{
    const __m128 v = _mm_add_ps(_mm_cvtepi32_ps(n), _mm_set1_ps(static_cast<float>(offset + d / 2) + 0.5f));
    return _mm_cvttps_epi32(_mm_mul_ps(v, _mm_set1_ps(1.0f / static_cast<float>(d))));
}

// Luma of 8 pixels as words.
TUL_TARGET_SSE2 inline __m128i Luma8(Words a, Words b)
{
    using namespace bt601;
    const __m128i coef = TUL_BGRX(kYb, kYg, kYr);
    const int offset = kYOffset * kScale;
    return _mm_packs_epi32(Divide(Dot(a.lo, a.hi, coef), offset, kScale), Divide(Dot(b.lo, b.hi, coef), offset, kScale));
}

// Cb and Cr of four blocks of n pixels whose sums are in blocks01, blocks23.
struct Chroma {
    __m128i cb, cr;
};

TUL_TARGET_SSE2 inline Chroma Chroma4(__m128i blocks01, __m128i blocks23, int n)
{
    using namespace bt601;
    const int d = kScale * n, offset = kChromaOffset * kScale * n;
    return {Divide(Dot(blocks01, blocks23, TUL_BGRX(kCbB, kCbG, kCbR)), offset, d),
            Divide(Dot(blocks01, blocks23, TUL_BGRX(kCrB, kCrG, kCrR)), offset, d)};
}

template <class L>
TUL_TARGET_SSE2 void Rows420(const Ipp8u* row0, const Ipp8u* row1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int B = L::kBytes;
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const Words a0 = Widen(LoadPixels<B>(row0 + B * x)), b0 = Widen(LoadPixels<B>(row0 + B * (x + 4)));
        const Words a1 = Widen(LoadPixels<B>(row1 + B * x)), b1 = Widen(LoadPixels<B>(row1 + B * (x + 4)));
        const __m128i ys = _mm_packus_epi16(Luma8(a0, b0), Luma8(a1, b1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(y0 + x), ys);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(y1 + x), _mm_srli_si128(ys, 8));
        const Chroma c = Chroma4(PairSums(Add(a0, a1)), PairSums(Add(b0, b1)), 4);
        const __m128i uv = _mm_packus_epi16(_mm_packs_epi32(c.cb, c.cr), _mm_setzero_si128());
        const int us = _mm_cvtsi128_si32(uv), vs = _mm_cvtsi128_si32(_mm_srli_si128(uv, 4));
        std::memcpy(u + x / 2, &us, 4);
        std::memcpy(v + x / 2, &vs, 4);
    }
    Rows420Scalar<L>(row0 + B * x, row1 + B * x, y0 + x, y1 + x, u + x / 2, v + x / 2, width - x);
}

template <class L>
TUL_TARGET_SSE2 void Yuy2Row(const Ipp8u* row, Ipp8u* yuy2, int width)
{
    constexpr int B = L::kBytes;
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const Words a = Widen(LoadPixels<B>(row + B * x)), b = Widen(LoadPixels<B>(row + B * (x + 4)));
        const __m128i ys = Luma8(a, b);
        const Chroma c = Chroma4(PairSums(a), PairSums(b), 2);
        const __m128i uv = _mm_packs_epi32(_mm_unpacklo_epi32(c.cb, c.cr), _mm_unpackhi_epi32(c.cb, c.cr));
        const __m128i out = _mm_unpacklo_epi8(_mm_packus_epi16(ys, ys), _mm_packus_epi16(uv, uv));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(yuy2 + 2 * x), out);
    }
    Yuy2PairsScalar<L>(row, yuy2, x / 2, width / 2);
    Yuy2LoneScalar<L>(row, yuy2, width);
}

#undef TUL_BGRX

}  // namespace

void Rows420Bgr3Sse2(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr3>(r0, r1, y0, y1, u, v, w);
}
void Rows420Bgr4Sse2(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr4>(r0, r1, y0, y1, u, v, w);
}
void Yuy2RowBgr3Sse2(const Ipp8u* row, Ipp8u* yuy2, int w) { Yuy2Row<ycc::Bgr3>(row, yuy2, w); }
void Yuy2RowBgr4Sse2(const Ipp8u* row, Ipp8u* yuy2, int w) { Yuy2Row<ycc::Bgr4>(row, yuy2, w); }

}  // namespace tulipp
