// AVX-512 rows of YUY2 and 4:2:0 to BGR24 (BT.601), 32 pixels a step: the
// AVX2 rows' arithmetic (the exact single-precision rounding of
// to_rgb_float.h) on registers twice as wide. Each 128-bit lane holds four
// pairs from the loads on, so every shuffle stays in-lane as there, and
// each lane's 24 output bytes are stored on their own.
#include "platform/ipp/simd/to_rgb_float.h"
#include "platform/ipp/to_rgb_rows.h"

#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start some registers from an undefined value
// on purpose, which its own uninitialised-use analysis then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace tulipp {
namespace {

using namespace to_rgb;

struct Channels {
    __m512i be, bo, ge, go, re, ro;
};

TUL_TARGET_AVX512 inline __m512i Channel(__m512 luma, __m512 chroma)
{
    return _mm512_cvttps_epi32(_mm512_add_ps(luma, chroma));
}

struct Chroma {
    __m512 cb, cg, cr;
};

TUL_TARGET_AVX512 inline Chroma ChromaOf(__m512i u, __m512i v)
{
    const __m512 fu = _mm512_cvtepi32_ps(u), fv = _mm512_cvtepi32_ps(v);
    return {_mm512_add_ps(_mm512_mul_ps(fu, _mm512_set1_ps(kBu)), _mm512_set1_ps(kB0)),
            _mm512_add_ps(
                _mm512_add_ps(_mm512_mul_ps(fu, _mm512_set1_ps(kGu)), _mm512_mul_ps(fv, _mm512_set1_ps(kGv))),
                _mm512_set1_ps(kG0)),
            _mm512_add_ps(_mm512_mul_ps(fv, _mm512_set1_ps(kRv)), _mm512_set1_ps(kR0))};
}

TUL_TARGET_AVX512 inline Channels Convert(const Chroma& c, __m512i y0, __m512i y1)
{
    const __m512 l0 = _mm512_mul_ps(_mm512_cvtepi32_ps(y0), _mm512_set1_ps(kLuma));
    const __m512 l1 = _mm512_mul_ps(_mm512_cvtepi32_ps(y1), _mm512_set1_ps(kLuma));
    return {Channel(l0, c.cb), Channel(l1, c.cb), Channel(l0, c.cg), Channel(l1, c.cg), Channel(l0, c.cr),
            Channel(l1, c.cr)};
}

TUL_TARGET_AVX512 inline __m512i Pick(__m512i bg, __m512i r, __m128i fromBg, __m128i fromR)
{
    return _mm512_or_si512(_mm512_shuffle_epi8(bg, _mm512_broadcast_i32x4(fromBg)),
                           _mm512_shuffle_epi8(r, _mm512_broadcast_i32x4(fromR)));
}

// The same lane layout and byte shuffles as the AVX2 rows' Store24.
TUL_TARGET_AVX512 inline void Store24(Ipp8u* dst, const Channels& c)
{
    const __m512i r = _mm512_packs_epi32(c.re, c.ro);
    const __m512i bg = _mm512_packus_epi16(_mm512_packs_epi32(c.be, c.bo), _mm512_packs_epi32(c.ge, c.go));
    const __m512i rr = _mm512_packus_epi16(r, r);
    const __m512i first = Pick(bg, rr, _mm_setr_epi8(0, 8, -1, 4, 12, -1, 1, 9, -1, 5, 13, -1, 2, 10, -1, 6),
                               _mm_setr_epi8(-1, -1, 0, -1, -1, 4, -1, -1, 1, -1, -1, 5, -1, -1, 2, -1));
    const __m512i rest = Pick(bg, rr, _mm_setr_epi8(14, -1, 3, 11, -1, 7, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1),
                              _mm_setr_epi8(-1, 6, -1, -1, 3, -1, -1, 7, -1, -1, -1, -1, -1, -1, -1, -1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm512_castsi512_si128(first));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), _mm512_castsi512_si128(rest));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 24), _mm512_extracti32x4_epi32(first, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 40), _mm512_extracti32x4_epi32(rest, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 48), _mm512_extracti32x4_epi32(first, 2));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 64), _mm512_extracti32x4_epi32(rest, 2));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 72), _mm512_extracti32x4_epi32(first, 3));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 88), _mm512_extracti32x4_epi32(rest, 3));
}

// Sixteen pairs of a packed row: each dword is Y0 U Y1 V.
TUL_TARGET_AVX512 inline Channels LoadYuy2(const Ipp8u* p)
{
    const __m512i d = _mm512_loadu_si512(p);
    const __m512i byte = _mm512_set1_epi32(0xFF);
    return Convert(ChromaOf(_mm512_and_si512(_mm512_srli_epi32(d, 8), byte), _mm512_srli_epi32(d, 24)),
                   _mm512_and_si512(d, byte), _mm512_and_si512(_mm512_srli_epi32(d, 16), byte));
}

// Sixteen samples of each chroma row, and thirty-two luma samples.
TUL_TARGET_AVX512 inline Chroma LoadChroma(const Ipp8u* u, const Ipp8u* v)
{
    return ChromaOf(_mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(u))),
                    _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v))));
}

TUL_TARGET_AVX512 inline Channels LoadLuma(const Chroma& c, const Ipp8u* y)
{
    const __m512i pairs = _mm512_cvtepu16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(y)));
    return Convert(c, _mm512_and_si512(pairs, _mm512_set1_epi32(0xFF)), _mm512_srli_epi32(pairs, 8));
}

constexpr int kStep = 32;

}  // namespace

// The rest of a row, fewer than 32 pixels, goes to the scalar tail, which
// knows the whole row (the lone pixel of an odd width takes the last pair).
TUL_TARGET_AVX512 void Yuy2ToBgr24RowAvx512(const Ipp8u* yuy2, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep)
        Store24(dst + 3 * x, LoadYuy2(yuy2 + 2 * x));
    Yuy2ToBgr24Tail(yuy2, dst, x, width);
}

TUL_TARGET_AVX512 void I420ToBgr24RowAvx512(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v,
                                            Ipp8u* d0, Ipp8u* d1, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep) {
        const Chroma c = LoadChroma(u + x / 2, v + x / 2);
        Store24(d0 + 3 * x, LoadLuma(c, y0 + x));
        Store24(d1 + 3 * x, LoadLuma(c, y1 + x));
    }
    I420ToBgr24Tail(y0, u, v, d0, x, width);
    I420ToBgr24Tail(y1, u, v, d1, x, width);
}

}  // namespace tulipp
