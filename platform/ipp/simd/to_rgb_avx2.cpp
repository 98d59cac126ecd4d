// AVX2 rows of YUY2 and 4:2:0 to BGR24 / BGR32 (BT.601), 16 pixels a step:
// eight pairs in 32-bit lanes, the equation in single precision with the
// exact rounding of to_rgb_float.h. Lanes hold pairs 0-3 and 4-7, so each
// lane's output bytes are gathered in-lane and the lanes stored apart.
#include "platform/ipp/simd/to_rgb_float.h"
#include "platform/ipp/to_rgb_rows.h"

#include <immintrin.h>

namespace tulipp {
namespace {

using namespace to_rgb;

// The B, G and R results of the even and the odd pixels of eight pairs,
// 32-bit, not yet saturated.
struct Channels {
    __m256i be, bo, ge, go, re, ro;
};

TUL_TARGET_AVX2 inline __m256i Channel(__m256 luma, __m256 chroma) { return _mm256_cvttps_epi32(_mm256_add_ps(luma, chroma)); }

// The chroma terms of eight pairs (Cb and Cr 0..255), shared by the two
// pixels of each pair and, for 4:2:0, by two luma rows.
struct Chroma {
    __m256 cb, cg, cr;
};

TUL_TARGET_AVX2 inline Chroma ChromaOf(__m256i u, __m256i v)
{
    const __m256 fu = _mm256_cvtepi32_ps(u), fv = _mm256_cvtepi32_ps(v);
    return {_mm256_add_ps(_mm256_mul_ps(fu, _mm256_set1_ps(kBu)), _mm256_set1_ps(kB0)),
            _mm256_add_ps(
                _mm256_add_ps(_mm256_mul_ps(fu, _mm256_set1_ps(kGu)), _mm256_mul_ps(fv, _mm256_set1_ps(kGv))),
                _mm256_set1_ps(kG0)),
            _mm256_add_ps(_mm256_mul_ps(fv, _mm256_set1_ps(kRv)), _mm256_set1_ps(kR0))};
}

// Even-pixel and odd-pixel luma of the eight pairs (0..255).
TUL_TARGET_AVX2 inline Channels Convert(const Chroma& c, __m256i y0, __m256i y1)
{
    const __m256 l0 = _mm256_mul_ps(_mm256_cvtepi32_ps(y0), _mm256_set1_ps(kLuma));
    const __m256 l1 = _mm256_mul_ps(_mm256_cvtepi32_ps(y1), _mm256_set1_ps(kLuma));
    return {Channel(l0, c.cb), Channel(l1, c.cb), Channel(l0, c.cg), Channel(l1, c.cg), Channel(l0, c.cr),
            Channel(l1, c.cr)};
}

// Saturated bytes, per lane: B even 0-3, B odd 0-3, G even, G odd (bg)
// and R even, R odd, twice (r). Shuffles are the scarce resource of these
// rows, so each output register is one or two in-lane byte shuffles of
// these two.
struct Bytes8 {
    __m256i bg, r;
};

TUL_TARGET_AVX2 inline Bytes8 Saturate(const Channels& c)
{
    const __m256i r = _mm256_packs_epi32(c.re, c.ro);
    return {_mm256_packus_epi16(_mm256_packs_epi32(c.be, c.bo), _mm256_packs_epi32(c.ge, c.go)),
            _mm256_packus_epi16(r, r)};
}

TUL_TARGET_AVX2 inline __m256i Pick(const Bytes8& b, __m256i fromBg, __m256i fromR)
{
    return _mm256_or_si256(_mm256_shuffle_epi8(b.bg, fromBg), _mm256_shuffle_epi8(b.r, fromR));
}

#define TUL_LANES(...) _mm256_setr_epi8(__VA_ARGS__, __VA_ARGS__)

// Sixteen pixels as 48 bytes B, G, R: each lane's eight pixels are 16
// bytes and 8 more.
TUL_TARGET_AVX2 inline void Store24(Ipp8u* dst, const Channels& c)
{
    const Bytes8 b = Saturate(c);
    const __m256i first = Pick(b, TUL_LANES(0, 8, -1, 4, 12, -1, 1, 9, -1, 5, 13, -1, 2, 10, -1, 6),
                               TUL_LANES(-1, -1, 0, -1, -1, 4, -1, -1, 1, -1, -1, 5, -1, -1, 2, -1));
    const __m256i rest = Pick(b, TUL_LANES(14, -1, 3, 11, -1, 7, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1),
                              TUL_LANES(-1, 6, -1, -1, 3, -1, -1, 7, -1, -1, -1, -1, -1, -1, -1, -1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm256_castsi256_si128(first));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), _mm256_castsi256_si128(rest));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 24), _mm256_extracti128_si256(first, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 40), _mm256_extracti128_si256(rest, 1));
}

// Sixteen pixels as B, G, R, 0: per lane pixels 0-3 and 4-7 of its eight,
// the lanes then put in order.
TUL_TARGET_AVX2 inline void Store32(Ipp8u* dst, const Channels& c)
{
    const Bytes8 b = Saturate(c);
    const __m256i low = Pick(b, TUL_LANES(0, 8, -1, -1, 4, 12, -1, -1, 1, 9, -1, -1, 5, 13, -1, -1),
                             TUL_LANES(-1, -1, 0, -1, -1, -1, 4, -1, -1, -1, 1, -1, -1, -1, 5, -1));
    const __m256i high = Pick(b, TUL_LANES(2, 10, -1, -1, 6, 14, -1, -1, 3, 11, -1, -1, 7, 15, -1, -1),
                              TUL_LANES(-1, -1, 2, -1, -1, -1, 6, -1, -1, -1, 3, -1, -1, -1, 7, -1));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), _mm256_permute2x128_si256(low, high, 0x31));
}

#undef TUL_LANES

// Eight pairs of a packed row: each dword is Y0 U Y1 V.
TUL_TARGET_AVX2 inline Channels LoadYuy2(const Ipp8u* p)
{
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i byte = _mm256_set1_epi32(0xFF);
    return Convert(ChromaOf(_mm256_and_si256(_mm256_srli_epi32(d, 8), byte), _mm256_srli_epi32(d, 24)),
                   _mm256_and_si256(d, byte), _mm256_and_si256(_mm256_srli_epi32(d, 16), byte));
}

// Eight samples of each chroma row, and sixteen luma samples.
TUL_TARGET_AVX2 inline Chroma LoadChroma(const Ipp8u* u, const Ipp8u* v)
{
    return ChromaOf(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(u))),
                    _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(v))));
}

TUL_TARGET_AVX2 inline Channels LoadLuma(const Chroma& c, const Ipp8u* y)
{
    const __m256i pairs = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y)));
    return Convert(c, _mm256_and_si256(pairs, _mm256_set1_epi32(0xFF)), _mm256_srli_epi32(pairs, 8));
}

// Vector steps cover whole pairs only: the lone last pixel of an odd row
// takes another pair's chroma, left to the scalar tail.
constexpr int kStep = 16;

}  // namespace

TUL_TARGET_AVX2 void Yuy2ToBgr24RowAvx2(const Ipp8u* yuy2, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep)
        Store24(dst + 3 * x, LoadYuy2(yuy2 + 2 * x));
    Yuy2ToBgr24Tail(yuy2, dst, x, width);
}

TUL_TARGET_AVX2 void Yuy2ToBgr32RowAvx2(const Ipp8u* yuy2, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep)
        Store32(dst + 4 * x, LoadYuy2(yuy2 + 2 * x));
    Yuy2ToBgr32Tail(yuy2, dst, x, width);
}

TUL_TARGET_AVX2 void I420ToBgr24RowAvx2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                                        Ipp8u* d1, int width)
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

TUL_TARGET_AVX2 void I420ToBgr32RowAvx2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                                        Ipp8u* d1, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep) {
        const Chroma c = LoadChroma(u + x / 2, v + x / 2);
        Store32(d0 + 4 * x, LoadLuma(c, y0 + x));
        Store32(d1 + 4 * x, LoadLuma(c, y1 + x));
    }
    I420ToBgr32Tail(y0, u, v, d0, x, width);
    I420ToBgr32Tail(y1, u, v, d1, x, width);
}

}  // namespace tulipp
