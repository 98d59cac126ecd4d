// SSE2 rows of YUY2 and 4:2:0 to BGR24 / BGR32 (BT.601), 8 pixels a step:
// four pairs in 32-bit lanes, the equation in single precision with the
// exact rounding of to_rgb_float.h. Without a byte shuffle, the pixels are
// assembled by packing and unpacking, and 24-bit pixels are squeezed out
// of 32-bit ones with 64-bit shifts.
#include "platform/ipp/simd/to_rgb_float.h"
#include "platform/ipp/to_rgb_rows.h"

#include <emmintrin.h>

#include <cstring>

namespace tulipp {
namespace {

using namespace to_rgb;

struct Bgra8 {
    __m128i first, second;  // B, G, R, 0 of pixels 0-3 and 4-7
};

TUL_TARGET_SSE2 inline __m128i Channel(__m128 luma, __m128 chroma) { return _mm_cvttps_epi32(_mm_add_ps(luma, chroma)); }

// One channel's even- and odd-pixel values to eight 16-bit ones in order.
TUL_TARGET_SSE2 inline __m128i InOrder(__m128i even, __m128i odd)
{
    return _mm_packs_epi32(_mm_unpacklo_epi32(even, odd), _mm_unpackhi_epi32(even, odd));
}

struct Chroma {
    __m128 cb, cg, cr;
};

TUL_TARGET_SSE2 inline Chroma ChromaOf(__m128i u, __m128i v)
{
    const __m128 fu = _mm_cvtepi32_ps(u), fv = _mm_cvtepi32_ps(v);
    return {_mm_add_ps(_mm_mul_ps(fu, _mm_set1_ps(kBu)), _mm_set1_ps(kB0)),
            _mm_add_ps(_mm_add_ps(_mm_mul_ps(fu, _mm_set1_ps(kGu)), _mm_mul_ps(fv, _mm_set1_ps(kGv))),
                       _mm_set1_ps(kG0)),
            _mm_add_ps(_mm_mul_ps(fv, _mm_set1_ps(kRv)), _mm_set1_ps(kR0))};
}

TUL_TARGET_SSE2 inline Bgra8 Convert(const Chroma& c, __m128i y0, __m128i y1)
{
    const __m128 cb = c.cb, cg = c.cg, cr = c.cr;
    const __m128 l0 = _mm_mul_ps(_mm_cvtepi32_ps(y0), _mm_set1_ps(kLuma));
    const __m128 l1 = _mm_mul_ps(_mm_cvtepi32_ps(y1), _mm_set1_ps(kLuma));
    const __m128i zero = _mm_setzero_si128();
    const __m128i bg = _mm_packus_epi16(InOrder(Channel(l0, cb), Channel(l1, cb)),
                                        InOrder(Channel(l0, cg), Channel(l1, cg)));
    const __m128i r = _mm_packus_epi16(InOrder(Channel(l0, cr), Channel(l1, cr)), zero);
    const __m128i bgPairs = _mm_unpacklo_epi8(bg, _mm_srli_si128(bg, 8));
    const __m128i r0Pairs = _mm_unpacklo_epi8(r, zero);
    return {_mm_unpacklo_epi16(bgPairs, r0Pairs), _mm_unpackhi_epi16(bgPairs, r0Pairs)};
}

// Four BGRA pixels to 12 bytes at `dst`, writing 4 bytes more after them:
// each 64-bit half keeps its two pixels' low 3 bytes side by side, then
// the upper half moves down next to the lower one.
TUL_TARGET_SSE2 inline void Store24(Ipp8u* dst, __m128i bgra)
{
    const __m128i low = _mm_and_si128(bgra, _mm_set1_epi64x(0xFFFFFF));
    const __m128i high = _mm_and_si128(_mm_srli_epi64(bgra, 8), _mm_set1_epi64x(0xFFFFFF000000));
    const __m128i six = _mm_or_si128(low, high);
    const __m128i twelve = _mm_or_si128(_mm_move_epi64(six), _mm_slli_si128(_mm_srli_si128(six, 8), 6));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), twelve);
}

TUL_TARGET_SSE2 inline void Store24(Ipp8u* dst, const Bgra8& p)
{
    Store24(dst, p.first);
    Store24(dst + 12, p.second);
}

TUL_TARGET_SSE2 inline void Store32(Ipp8u* dst, const Bgra8& p)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), p.first);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), p.second);
}

// Four pairs of a packed row: each dword is Y0 U Y1 V.
TUL_TARGET_SSE2 inline Bgra8 LoadYuy2(const Ipp8u* p)
{
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i byte = _mm_set1_epi32(0xFF);
    return Convert(ChromaOf(_mm_and_si128(_mm_srli_epi32(d, 8), byte), _mm_srli_epi32(d, 24)), _mm_and_si128(d, byte),
                   _mm_and_si128(_mm_srli_epi32(d, 16), byte));
}

// Four chroma bytes widened to 32-bit lanes.
TUL_TARGET_SSE2 inline __m128i Widen4(const Ipp8u* p)
{
    int bytes = 0;
    std::memcpy(&bytes, p, 4);
    const __m128i zero = _mm_setzero_si128();
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero), zero);
}

// Eight luma samples.
TUL_TARGET_SSE2 inline Bgra8 LoadLuma(const Chroma& c, const Ipp8u* y)
{
    const __m128i pairs = _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(y)), _mm_setzero_si128());
    return Convert(c, _mm_and_si128(pairs, _mm_set1_epi32(0xFF)), _mm_srli_epi32(pairs, 8));
}

// Whole pairs only, and room for the 4 bytes a 24-bit step's last store
// writes past its pixels (see the AVX2 rows).
constexpr int kStep = 8;
constexpr int kRoom24 = 2;

}  // namespace

void Yuy2ToBgr24RowSse2(const Ipp8u* yuy2, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep + kRoom24 <= width; x += kStep)
        Store24(dst + 3 * x, LoadYuy2(yuy2 + 2 * x));
    Yuy2ToBgr24Tail(yuy2, dst, x, width);
}

void Yuy2ToBgr32RowSse2(const Ipp8u* yuy2, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep)
        Store32(dst + 4 * x, LoadYuy2(yuy2 + 2 * x));
    Yuy2ToBgr32Tail(yuy2, dst, x, width);
}

void I420ToBgr24RowSse2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0, Ipp8u* d1,
                        int width)
{
    int x = 0;
    for (; x + kStep + kRoom24 <= width; x += kStep) {
        const Chroma c = ChromaOf(Widen4(u + x / 2), Widen4(v + x / 2));
        Store24(d0 + 3 * x, LoadLuma(c, y0 + x));
        Store24(d1 + 3 * x, LoadLuma(c, y1 + x));
    }
    I420ToBgr24Tail(y0, u, v, d0, x, width);
    I420ToBgr24Tail(y1, u, v, d1, x, width);
}

void I420ToBgr32RowSse2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0, Ipp8u* d1,
                        int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep) {
        const Chroma c = ChromaOf(Widen4(u + x / 2), Widen4(v + x / 2));
        Store32(d0 + 4 * x, LoadLuma(c, y0 + x));
        Store32(d1 + 4 * x, LoadLuma(c, y1 + x));
    }
    I420ToBgr32Tail(y0, u, v, d0, x, width);
    I420ToBgr32Tail(y1, u, v, d1, x, width);
}

}  // namespace tulipp
