// AVX2 rows of the sampled sums of absolute differences: the SSE2 rows'
// masked psadbw, 32 bytes a step.
#include "platform/ipp/sample_sad_rows.h"

#include <immintrin.h>

namespace tulipp {

namespace {

// The vector part of a row: the sum over its whole 32-byte steps, and in
// *done the bytes they cover (a multiple of either grid's spacing).
TUL_TARGET_AVX2 std::uint64_t MaskedSad(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes, long long odd,
                                        std::int64_t* done)
{
    const __m256i mask = _mm256_setr_epi64x(0xFF, odd, 0xFF, odd);
    __m256i sum = _mm256_setzero_si256();
    std::int64_t x = 0;
    for (; x + 32 <= bytes; x += 32) {
        const __m256i va = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + x)), mask);
        const __m256i vb = _mm256_and_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + x)), mask);
        sum = _mm256_add_epi64(sum, _mm256_sad_epu8(va, vb));
    }
    *done = x;
    const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(half)) +
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(half, half)));
}

}  // namespace

template <int Apart>
std::uint64_t SampleSadRowAvx2(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes)
{
    static_assert(Apart == 8 || Apart == 16);
    std::int64_t x = 0;
    const std::uint64_t vector = MaskedSad(a, b, bytes, Apart == 8 ? 0xFF : 0, &x);
    return vector + SampleSadRowScalar<Apart>(a + x, b + x, bytes - x);
}

template std::uint64_t SampleSadRowAvx2<8>(const Ipp8u*, const Ipp8u*, std::int64_t);
template std::uint64_t SampleSadRowAvx2<16>(const Ipp8u*, const Ipp8u*, std::int64_t);

}  // namespace tulipp
