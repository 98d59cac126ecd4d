// SSE2 rows of the sampled sums of absolute differences: 16 bytes a step,
// every byte but the samples masked to 0 in both rows, so psadbw's sum of
// each 8-byte group is that group's one sample difference (or nothing, for
// the groups between YUY2's samples).
#include "platform/ipp/sample_sad_rows.h"

#include <emmintrin.h>

namespace tulipp {

namespace {

// The vector part of a row: the sum over its whole 16-byte steps, and in
// *done the bytes they cover (a multiple of either grid's spacing).
TUL_TARGET_SSE2 std::uint64_t MaskedSad(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes, long long odd,
                                        std::int64_t* done)
{
    const __m128i mask = _mm_set_epi64x(odd, 0xFF);
    __m128i sum = _mm_setzero_si128();
    std::int64_t x = 0;
    for (; x + 16 <= bytes; x += 16) {
        const __m128i va = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)), mask);
        const __m128i vb = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x)), mask);
        sum = _mm_add_epi64(sum, _mm_sad_epu8(va, vb));
    }
    *done = x;
    return static_cast<std::uint64_t>(_mm_cvtsi128_si64(sum)) +
           static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sum, sum)));
}

}  // namespace

template <int Apart>
std::uint64_t SampleSadRowSse2(const Ipp8u* a, const Ipp8u* b, std::int64_t bytes)
{
    static_assert(Apart == 8 || Apart == 16);
    std::int64_t x = 0;
    const std::uint64_t vector = MaskedSad(a, b, bytes, Apart == 8 ? 0xFF : 0, &x);
    return vector + SampleSadRowScalar<Apart>(a + x, b + x, bytes - x);
}

template std::uint64_t SampleSadRowSse2<8>(const Ipp8u*, const Ipp8u*, std::int64_t);
template std::uint64_t SampleSadRowSse2<16>(const Ipp8u*, const Ipp8u*, std::int64_t);

}  // namespace tulipp
