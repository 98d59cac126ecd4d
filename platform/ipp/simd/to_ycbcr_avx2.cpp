// AVX2 rows of RGB24/RGB32 to BT.601 Y'CbCr, sixteen pixels per step. The
// low 128-bit lane carries pixels 0-7 and the high lane pixels 8-15 from
// the loads on, so every step works within lanes (as AVX2's pack and
// shuffle instructions do) and only the planar stores reorder across them.
// The arithmetic, and why single-precision division gives the exact
// rounding, is that of the SSE2 rows (to_ycbcr_sse2.cpp).
#include "platform/ipp/to_ycbcr_rows.h"

#include <immintrin.h>

namespace tulipp {
namespace {

using namespace tulipp::color;

#define TUL_BGRX(b, g, r) _mm256_setr_epi16(b, g, r, 0, b, g, r, 0, b, g, r, 0, b, g, r, 0)

TUL_TARGET_AVX2 inline __m256i Lanes(const Ipp8u* low, const Ipp8u* high)
{
    return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(low))),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(high)), 1);
}

// Pixels 0-3 | 8-11 (half 0) or 4-7 | 12-15 (half 1) of the 16 at p, as
// dwords B, G, R, x. RGB24 loads read exactly the 48 bytes of the 16.
template <int Bytes>
TUL_TARGET_AVX2 inline __m256i LoadPixels(const Ipp8u* p, int half)
{
    if constexpr (Bytes == 4) {
        return Lanes(p + 16 * half, p + 32 + 16 * half);
    } else {
        const __m256i spread0 = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                                 0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
        const __m256i spread1 = _mm256_setr_epi8(4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1,  //
                                                 4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
        return half == 0 ? _mm256_shuffle_epi8(Lanes(p, p + 24), spread0)
                         : _mm256_shuffle_epi8(Lanes(p + 8, p + 32), spread1);
    }
}

struct Words {
    __m256i lo, hi;
};

TUL_TARGET_AVX2 inline Words Widen(__m256i px)
{
    const __m256i zero = _mm256_setzero_si256();
    return {_mm256_unpacklo_epi8(px, zero), _mm256_unpackhi_epi8(px, zero)};
}

TUL_TARGET_AVX2 inline Words Add(Words a, Words b)
{
    return {_mm256_add_epi16(a.lo, b.lo), _mm256_add_epi16(a.hi, b.hi)};
}

TUL_TARGET_AVX2 inline __m256i PairSums(Words w)
{
    return _mm256_add_epi16(_mm256_unpacklo_epi64(w.lo, w.hi), _mm256_unpackhi_epi64(w.lo, w.hi));
}

TUL_TARGET_AVX2 inline __m256i Dot(__m256i first, __m256i second, __m256i coef)
{
    return _mm256_hadd_epi32(_mm256_madd_epi16(first, coef), _mm256_madd_epi16(second, coef));
}

TUL_TARGET_AVX2 inline __m256i Divide(__m256i n, int offset, int d)
{
    const __m256 v =
        _mm256_add_ps(_mm256_cvtepi32_ps(n), _mm256_set1_ps(static_cast<float>(offset + d / 2) + 0.5f));
    return _mm256_cvttps_epi32(_mm256_mul_ps(v, _mm256_set1_ps(1.0f / static_cast<float>(d))));
}

TUL_TARGET_AVX2 inline __m256i Luma16(Words a, Words b)
{
    using namespace bt601;
    const __m256i coef = TUL_BGRX(kYb, kYg, kYr);
    const int offset = kYOffset * kScale;
    return _mm256_packs_epi32(Divide(Dot(a.lo, a.hi, coef), offset, kScale),
                              Divide(Dot(b.lo, b.hi, coef), offset, kScale));
}

struct Chroma {
    __m256i cb, cr;
};

TUL_TARGET_AVX2 inline Chroma Chroma8(__m256i blocks01, __m256i blocks23, int n)
{
    using namespace bt601;
    const int d = kScale * n, offset = kChromaOffset * kScale * n;
    return {Divide(Dot(blocks01, blocks23, TUL_BGRX(kCbB, kCbG, kCbR)), offset, d),
            Divide(Dot(blocks01, blocks23, TUL_BGRX(kCrB, kCrG, kCrR)), offset, d)};
}

template <class L>
TUL_TARGET_AVX2 void Rows420(const Ipp8u* row0, const Ipp8u* row1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int B = L::kBytes;
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const Ipp8u* p0 = row0 + B * x;
        const Ipp8u* p1 = row1 + B * x;
        const Words a0 = Widen(LoadPixels<B>(p0, 0)), b0 = Widen(LoadPixels<B>(p0, 1));
        const Words a1 = Widen(LoadPixels<B>(p1, 0)), b1 = Widen(LoadPixels<B>(p1, 1));
        // Lanes: y0 0-7, y1 0-7 | y0 8-15, y1 8-15, then rows apart.
        const __m256i ys =
            _mm256_permute4x64_epi64(_mm256_packus_epi16(Luma16(a0, b0), Luma16(a1, b1)), 0xD8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y0 + x), _mm256_castsi256_si128(ys));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y1 + x), _mm256_extracti128_si256(ys, 1));
        const Chroma c = Chroma8(PairSums(Add(a0, a1)), PairSums(Add(b0, b1)), 4);
        // Lanes: cb 0-3, cr 0-3 | cb 4-7, cr 4-7 (twice); then cb 0-7, cr 0-7.
        const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(c.cb, c.cr), _mm256_setzero_si256());
        const __m128i uv = _mm256_castsi256_si128(
            _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(u + x / 2), uv);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(v + x / 2), _mm_srli_si128(uv, 8));
    }
    Rows420Scalar<L>(row0 + B * x, row1 + B * x, y0 + x, y1 + x, u + x / 2, v + x / 2, width - x);
}

template <class L>
TUL_TARGET_AVX2 void Yuy2Row(const Ipp8u* row, Ipp8u* yuy2, int width)
{
    constexpr int B = L::kBytes;
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const Ipp8u* p = row + B * x;
        const Words a = Widen(LoadPixels<B>(p, 0)), b = Widen(LoadPixels<B>(p, 1));
        const __m256i ys = Luma16(a, b);
        const Chroma c = Chroma8(PairSums(a), PairSums(b), 2);
        const __m256i uv =
            _mm256_packs_epi32(_mm256_unpacklo_epi32(c.cb, c.cr), _mm256_unpackhi_epi32(c.cb, c.cr));
        // Each lane: the packed row of its own eight pixels.
        const __m256i out = _mm256_unpacklo_epi8(_mm256_packus_epi16(ys, ys), _mm256_packus_epi16(uv, uv));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(yuy2 + 2 * x), out);
    }
    Yuy2PairsScalar<L>(row, yuy2, x / 2, width / 2);
    Yuy2LoneScalar<L>(row, yuy2, width);
}

#undef TUL_BGRX

}  // namespace

void Rows420Bgr3Avx2(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr3>(r0, r1, y0, y1, u, v, w);
}
void Rows420Bgr4Avx2(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr4>(r0, r1, y0, y1, u, v, w);
}
void Yuy2RowBgr3Avx2(const Ipp8u* row, Ipp8u* yuy2, int w) { Yuy2Row<ycc::Bgr3>(row, yuy2, w); }
void Yuy2RowBgr4Avx2(const Ipp8u* row, Ipp8u* yuy2, int w) { Yuy2Row<ycc::Bgr4>(row, yuy2, w); }

}  // namespace tulipp
