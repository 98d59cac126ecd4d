// AVX-512 rows of RGB24/RGB32 to BT.601 4:2:0, thirty-two pixels of two
// rows a step: the AVX2 rows' exact integer arithmetic (see
// to_ycbcr_avx2.cpp for the spread, the x1000 sums and the divisions) on
// registers twice as wide. Lane k of each per-pixel register holds pixels
// 8k to 8k + 3 (first half) or 8k + 4 to 8k + 7 (second half) from the
// loads on; AVX-512 has no horizontal add, so adjacent columns are added
// with a 64-bit shift and the pair sums gathered with one two-source
// shuffle. Only the planar stores reorder across lanes.
#include "platform/ipp/to_ycbcr_rows.h"

#include <immintrin.h>

// GCC 12's AVX-512 intrinsics start some registers from an undefined value
// on purpose, which its own uninitialised-use analysis then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace tulipp {
namespace {

using namespace tulipp::color;

// floor(x / 125) = (x x 33555) >> 22 and floor(x / 250) = (x x 33555) >> 23
// for every value these rows divide (checked in to_ycbcr_avx2.cpp).
constexpr short kMagic = static_cast<short>(33555);
constexpr int kLumaBias = bt601::kYOffset * bt601::kScale + bt601::kScale / 2;

// Four 16-byte pieces, one per lane, `apart` bytes from each other.
TUL_TARGET_AVX512 inline __m512i Lanes(const Ipp8u* p, int apart)
{
    const auto at = [p](int k) { return reinterpret_cast<const __m128i*>(p + k); };
    __m512i v = _mm512_castsi128_si512(_mm_loadu_si128(at(0)));
    v = _mm512_inserti32x4(v, _mm_loadu_si128(at(apart)), 1);
    v = _mm512_inserti32x4(v, _mm_loadu_si128(at(2 * apart)), 2);
    return _mm512_inserti32x4(v, _mm_loadu_si128(at(3 * apart)), 3);
}

struct Pixels {
    __m512i bg, r;
};

// Four pixels of `Bytes` bytes from lane byte `First` spread into B, G
// words per dword and R words.
template <int Bytes, int First>
TUL_TARGET_AVX512 inline Pixels Spread(__m512i raw)
{
    constexpr auto at = [](int k, int c) { return static_cast<char>(First + Bytes * k + c); };
    const __m512i bg = _mm512_broadcast_i32x4(_mm_setr_epi8(at(0, 0), -1, at(0, 1), -1, at(1, 0), -1, at(1, 1), -1,
                                                            at(2, 0), -1, at(2, 1), -1, at(3, 0), -1, at(3, 1), -1));
    const __m512i r = _mm512_broadcast_i32x4(
        _mm_setr_epi8(at(0, 2), -1, -1, -1, at(1, 2), -1, -1, -1, at(2, 2), -1, -1, -1, at(3, 2), -1, -1, -1));
    return {_mm512_shuffle_epi8(raw, bg), _mm512_shuffle_epi8(raw, r)};
}

// Pixels 8k to 8k + 3 (half 0) or 8k + 4 to 8k + 7 (half 1) of the 32 at p;
// RGB24 loads read exactly the 96 bytes of the 32.
template <int Bytes>
TUL_TARGET_AVX512 inline Pixels Load(const Ipp8u* p, int half)
{
    if constexpr (Bytes == 4)
        return Spread<4, 0>(Lanes(p + 16 * half, 32));
    else
        return half == 0 ? Spread<3, 0>(Lanes(p, 24)) : Spread<3, 4>(Lanes(p + 8, 24));
}

TUL_TARGET_AVX512 inline Pixels Add(Pixels a, Pixels b)
{
    return {_mm512_add_epi16(a.bg, b.bg), _mm512_add_epi16(a.r, b.r)};
}

TUL_TARGET_AVX512 inline __m512i Dot(Pixels p, int cb, int cg, int cr)
{
    const __m512i bg = _mm512_set1_epi32(static_cast<int>((static_cast<unsigned>(cg) << 16) | (cb & 0xFFFF)));
    return _mm512_add_epi32(_mm512_madd_epi16(p.bg, bg), _mm512_madd_epi16(p.r, _mm512_set1_epi32(cr & 0xFFFF)));
}

TUL_TARGET_AVX512 inline __m512i Luma(Pixels a, Pixels b)
{
    using namespace bt601;
    const __m512i x = _mm512_add_epi16(_mm512_packus_epi32(_mm512_srli_epi32(Dot(a, kYb, kYg, kYr), 2),
                                                           _mm512_srli_epi32(Dot(b, kYb, kYg, kYr), 2)),
                                       _mm512_set1_epi16(static_cast<short>(kLumaBias / 4)));
    return _mm512_srli_epi16(_mm512_mulhi_epu16(x, _mm512_set1_epi16(kMagic)), 7);
}

// Per lane, the sums of pixels (0, 1) and (2, 3) of x, then of y: what
// AVX2's phaddd gives. No word sum carries into its neighbour.
TUL_TARGET_AVX512 inline __m512i PairSums(__m512i x, __m512i y)
{
    const __m512 xs = _mm512_castsi512_ps(_mm512_add_epi32(x, _mm512_srli_epi64(x, 32)));
    const __m512 ys = _mm512_castsi512_ps(_mm512_add_epi32(y, _mm512_srli_epi64(y, 32)));
    return _mm512_castps_si512(_mm512_shuffle_ps(xs, ys, _MM_SHUFFLE(2, 0, 2, 0)));
}

template <class L>
TUL_TARGET_AVX512 void Rows420(const Ipp8u* row0, const Ipp8u* row1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u,
                                      Ipp8u* v, int width)
{
    using namespace bt601;
    constexpr int B = L::kBytes;
    // Quadwords: lane k holds row 0's pixels 8k-8k+7, then row 1's.
    const __m512i rowsApart = _mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7);
    // Doublewords: lane k holds Cb 4k-4k+3, Cr 4k-4k+3.
    const __m512i planesApart = _mm512_setr_epi32(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m512i chromaBias = _mm512_set1_epi32(kChromaOffset * 4000 + (125 << 5) / 2);
    int x = 0;
    for (; x + 32 <= width; x += 32) {
        const Pixels a0 = Load<B>(row0 + B * x, 0), b0 = Load<B>(row0 + B * x, 1);
        const Pixels a1 = Load<B>(row1 + B * x, 0), b1 = Load<B>(row1 + B * x, 1);
        const __m512i ys = _mm512_permutexvar_epi64(rowsApart, _mm512_packus_epi16(Luma(a0, b0), Luma(a1, b1)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(y0 + x), _mm512_castsi512_si256(ys));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(y1 + x), _mm512_extracti64x4_epi64(ys, 1));
        const Pixels s0 = Add(a0, a1), s1 = Add(b0, b1);
        const Pixels pairs{PairSums(s0.bg, s1.bg), PairSums(s0.r, s1.r)};
        const __m512i cb = Dot(pairs, kCbB, kCbG, kCbR), cr = Dot(pairs, kCrB, kCrG, kCrR);
        // floor((n + offset + 2000) / 4000): a shift by 5, then / 125.
        const __m512i q = _mm512_packs_epi32(_mm512_srli_epi32(_mm512_add_epi32(cb, chromaBias), 5),
                                             _mm512_srli_epi32(_mm512_add_epi32(cr, chromaBias), 5));
        const __m512i w = _mm512_srli_epi16(_mm512_mulhi_epu16(q, _mm512_set1_epi16(kMagic)), 6);
        const __m512i uv = _mm512_permutexvar_epi32(planesApart, _mm512_packus_epi16(w, _mm512_setzero_si512()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(u + x / 2), _mm512_castsi512_si128(uv));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v + x / 2), _mm512_extracti32x4_epi32(uv, 1));
    }
    // The rest, fewer than 32 pixels, to the AVX2 row.
    constexpr Rows420Fn kRest = B == 3 ? Rows420Bgr3Avx2 : Rows420Bgr4Avx2;
    kRest(row0 + B * x, row1 + B * x, y0 + x, y1 + x, u + x / 2, v + x / 2, width - x);
}

}  // namespace

void Rows420Bgr3Avx512(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr3>(r0, r1, y0, y1, u, v, w);
}
void Rows420Bgr4Avx512(const Ipp8u* r0, const Ipp8u* r1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int w)
{
    Rows420<ycc::Bgr4>(r0, r1, y0, y1, u, v, w);
}

}  // namespace tulipp
