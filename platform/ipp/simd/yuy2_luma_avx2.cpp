// AVX2 row of the packed 4:2:2 luma rows, 64 pixels a step: the low byte
// of every 16-bit lane, packed within lanes, then the 64-bit groups put
// back in order (packus interleaves the lanes of its two registers).
#include "platform/ipp/yuy2_luma_rows.h"

#include <immintrin.h>

namespace tulipp {

TUL_TARGET_AVX2 void Luma422RowAvx2(const Ipp8u* packed, Ipp8u* y, int width)
{
    constexpr int kStep = 64;
    constexpr int kQwords0213 = 0xD8;
    const __m256i low = _mm256_set1_epi16(0x00FF);
    int x = 0;
    for (; x + kStep <= width; x += kStep, packed += 2 * kStep) {
        const auto* p = reinterpret_cast<const __m256i*>(packed);
        const __m256i p0 = _mm256_and_si256(_mm256_loadu_si256(p), low);
        const __m256i p1 = _mm256_and_si256(_mm256_loadu_si256(p + 1), low);
        const __m256i p2 = _mm256_and_si256(_mm256_loadu_si256(p + 2), low);
        const __m256i p3 = _mm256_and_si256(_mm256_loadu_si256(p + 3), low);
        const __m256i a = _mm256_permute4x64_epi64(_mm256_packus_epi16(p0, p1), kQwords0213);
        const __m256i b = _mm256_permute4x64_epi64(_mm256_packus_epi16(p2, p3), kQwords0213);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(y + x), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(y + x + 32), b);
    }
    Luma422RowScalar(packed, y + x, width - x);
}

}  // namespace tulipp
