// AVX2 rows of YUY2 and 4:2:0 to BGR24 / BGR32 (BT.601), 16 pixels a step:
// eight pairs in 32-bit lanes, the equation in single precision with the
// exact rounding of to_rgb_float.h. Lanes hold pairs 0-3 and 4-7, so the
// even and odd pixels of each pair are interleaved in-lane and the halves
// put back in order with one permute per 8 pixels.
#include "platform/ipp/simd/to_rgb_float.h"
#include "platform/ipp/to_rgb_rows.h"

#include <immintrin.h>

namespace tulipp {
namespace {

using namespace to_rgb;

// Even-pixel luma, odd-pixel luma, Cb and Cr of eight pairs (0..255 each)
// to the B, G, R, 0 pixels 0-7 and 8-15.
struct Bgra16 {
    __m256i first, second;
};

TUL_TARGET_AVX2 inline __m256i Channel(__m256 luma, __m256 chroma) { return _mm256_cvttps_epi32(_mm256_add_ps(luma, chroma)); }

TUL_TARGET_AVX2 inline __m256i Pack(__m256 luma, __m256 cb, __m256 cg, __m256 cr)
{
    // Per lane: B of 4 pixels, G, R, zeros; then one pixel per dword.
    const __m256i bg = _mm256_packs_epi32(Channel(luma, cb), Channel(luma, cg));
    const __m256i r0 = _mm256_packs_epi32(Channel(luma, cr), _mm256_setzero_si256());
    const __m256i transpose = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15,
                                               0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    return _mm256_shuffle_epi8(_mm256_packus_epi16(bg, r0), transpose);
}

TUL_TARGET_AVX2 inline Bgra16 Convert(__m256i y0, __m256i y1, __m256i u, __m256i v)
{
    const __m256 fu = _mm256_cvtepi32_ps(u), fv = _mm256_cvtepi32_ps(v);
    const __m256 cr = _mm256_add_ps(_mm256_mul_ps(fv, _mm256_set1_ps(kRv)), _mm256_set1_ps(kR0));
    const __m256 cg = _mm256_add_ps(
        _mm256_add_ps(_mm256_mul_ps(fu, _mm256_set1_ps(kGu)), _mm256_mul_ps(fv, _mm256_set1_ps(kGv))),
        _mm256_set1_ps(kG0));
    const __m256 cb = _mm256_add_ps(_mm256_mul_ps(fu, _mm256_set1_ps(kBu)), _mm256_set1_ps(kB0));
    const __m256 l0 = _mm256_mul_ps(_mm256_cvtepi32_ps(y0), _mm256_set1_ps(kLuma));
    const __m256 l1 = _mm256_mul_ps(_mm256_cvtepi32_ps(y1), _mm256_set1_ps(kLuma));
    const __m256i even = Pack(l0, cb, cg, cr), odd = Pack(l1, cb, cg, cr);
    const __m256i lo = _mm256_unpacklo_epi32(even, odd), hi = _mm256_unpackhi_epi32(even, odd);
    return {_mm256_permute2x128_si256(lo, hi, 0x20), _mm256_permute2x128_si256(lo, hi, 0x31)};
}

// Eight BGRA pixels to 24 bytes at `dst`, writing 8 bytes more after them.
TUL_TARGET_AVX2 inline void Store24(Ipp8u* dst, __m256i bgra)
{
    const __m256i drop = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                          0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(bgra, drop),
                                                       _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), packed);
}

TUL_TARGET_AVX2 inline void Store32(Ipp8u* dst, const Bgra16& p)
{
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), p.first);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), p.second);
}

TUL_TARGET_AVX2 inline void Store24(Ipp8u* dst, const Bgra16& p)
{
    Store24(dst, p.first);
    Store24(dst + 24, p.second);
}

// Eight pairs of a packed row: each dword is Y0 U Y1 V.
TUL_TARGET_AVX2 inline Bgra16 LoadYuy2(const Ipp8u* p)
{
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i byte = _mm256_set1_epi32(0xFF);
    return Convert(_mm256_and_si256(d, byte), _mm256_and_si256(_mm256_srli_epi32(d, 16), byte),
                   _mm256_and_si256(_mm256_srli_epi32(d, 8), byte), _mm256_srli_epi32(d, 24));
}

// Sixteen luma samples and eight of each chroma row.
TUL_TARGET_AVX2 inline Bgra16 LoadI420(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v)
{
    const __m256i pairs = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(y)));
    const __m256i byte = _mm256_set1_epi32(0xFF);
    return Convert(_mm256_and_si256(pairs, byte), _mm256_srli_epi32(pairs, 8),
                   _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(u))),
                   _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(v))));
}

// Vector steps cover whole pairs only (the lone last pixel of an odd row
// takes another pair's chroma, left to the scalar tail); a 24-bit step
// also needs room for the 8 bytes its last store writes past its pixels.
constexpr int kStep = 16;
constexpr int kRoom24 = 3;

}  // namespace

TUL_TARGET_AVX2 void Yuy2ToBgr24RowAvx2(const Ipp8u* yuy2, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep + kRoom24 <= width; x += kStep)
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

TUL_TARGET_AVX2 void I420ToBgr24RowAvx2(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep + kRoom24 <= width; x += kStep)
        Store24(dst + 3 * x, LoadI420(y + x, u + x / 2, v + x / 2));
    I420ToBgr24Tail(y, u, v, dst, x, width);
}

TUL_TARGET_AVX2 void I420ToBgr32RowAvx2(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int width)
{
    int x = 0;
    for (; x + kStep <= (width & ~1); x += kStep)
        Store32(dst + 4 * x, LoadI420(y + x, u + x / 2, v + x / 2));
    I420ToBgr32Tail(y, u, v, dst, x, width);
}

}  // namespace tulipp
