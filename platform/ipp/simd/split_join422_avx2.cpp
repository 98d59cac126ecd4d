// AVX2 kernels for packed 4:2:2 <-> planes, 64 pixels per step. AVX2
// shuffles and packs stay inside 128-bit lanes, so each kernel restores the
// order across lanes with one permute per register it stores.
#include "platform/ipp/split_join422.h"

#include <immintrin.h>

#define TUL_AVX2 __attribute__((target("avx2")))

namespace tulipp {
namespace {

TUL_AVX2 inline __m256i Load(const Ipp8u* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
TUL_AVX2 inline void Store(Ipp8u* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// 64-bit groups 0 2 1 3: undoes (or prepares for) a lane-wise interleave
// of two registers.
constexpr int kQwords0213 = 0xD8;

}  // namespace

TUL_AVX2 void Split422RowAvx2(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width)
{
    constexpr int kStep = 64;
    // In each lane eight pixels Y0 U0 Y1 V0 ... become Y0..Y7 U0..U3 V0..V3.
    const __m256i sort = _mm256_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 5, 9, 13, 3, 7, 11, 15,
                                          0, 2, 4, 6, 8, 10, 12, 14, 1, 5, 9, 13, 3, 7, 11, 15);
    // Four-byte groups U0-3 U8-11 U16-19 U24-27 | U4-7 ... back in order.
    const __m256i dwordOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
        const Ipp8u* p = packed + 2 * x;
        const __m256i a = _mm256_shuffle_epi8(Load(p), sort);
        const __m256i b = _mm256_shuffle_epi8(Load(p + 32), sort);
        const __m256i c = _mm256_shuffle_epi8(Load(p + 64), sort);
        const __m256i d = _mm256_shuffle_epi8(Load(p + 96), sort);
        Store(y + x, _mm256_permute4x64_epi64(_mm256_unpacklo_epi64(a, b), kQwords0213));
        Store(y + x + 32, _mm256_permute4x64_epi64(_mm256_unpacklo_epi64(c, d), kQwords0213));
        const __m256i ab = _mm256_unpackhi_epi32(a, b);
        const __m256i cd = _mm256_unpackhi_epi32(c, d);
        Store(u + x / 2, _mm256_permutevar8x32_epi32(_mm256_unpacklo_epi64(ab, cd), dwordOrder));
        Store(v + x / 2, _mm256_permutevar8x32_epi32(_mm256_unpackhi_epi64(ab, cd), dwordOrder));
    }
    Split422RowScalar(packed + 2 * x, y + x, u + x / 2, v + x / 2, width - x);
}

TUL_AVX2 void Join422RowAvx2(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width)
{
    constexpr int kStep = 64;
    int x = 0;
    for (; x + kStep <= width; x += kStep) {
        // With U and V pre-permuted, the lane-wise interleave yields the
        // chroma pairs 0-15 and 16-31 in order.
        const __m256i us = _mm256_permute4x64_epi64(Load(u + x / 2), kQwords0213);
        const __m256i vs = _mm256_permute4x64_epi64(Load(v + x / 2), kQwords0213);
        const __m256i c0 = _mm256_permute4x64_epi64(_mm256_unpacklo_epi8(us, vs), kQwords0213);
        const __m256i c1 = _mm256_permute4x64_epi64(_mm256_unpackhi_epi8(us, vs), kQwords0213);
        const __m256i y0 = _mm256_permute4x64_epi64(Load(y + x), kQwords0213);
        const __m256i y1 = _mm256_permute4x64_epi64(Load(y + x + 32), kQwords0213);
        Ipp8u* p = packed + 2 * x;
        Store(p, _mm256_unpacklo_epi8(y0, c0));
        Store(p + 32, _mm256_unpackhi_epi8(y0, c0));
        Store(p + 64, _mm256_unpacklo_epi8(y1, c1));
        Store(p + 96, _mm256_unpackhi_epi8(y1, c1));
    }
    Join422RowScalar(y + x, u + x / 2, v + x / 2, packed + 2 * x, width - x);
}

}  // namespace tulipp
