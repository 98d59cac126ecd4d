// SSSE3 gathers of the linear centre-based resampler for single-channel
// rows: when four outputs read within 16 bytes, one load and one pshufb
// (masks built with the taps) bring all their sample pairs into place.
// Blocks that do not fit are loaded lane by lane.
// Same integer formulas as the scalar ones, so same bytes.
#include "platform/ipp/resize_center_linear.h"

#include <tmmintrin.h>

#include <cstring>

namespace tulipp::resize_center {
namespace {

static_assert(kShuffleBlock == 4, "a block is one register of four 32-bit lanes");

// The sample pairs of one block of outputs starting at k, as 32-bit lanes.
template <typename T>
TUL_TARGET_SSSE3 inline __m128i BlockSamples(const T* row, const GatherTable& t, int k)
{
    const Ipp8u* mask = t.shuffle + static_cast<std::ptrdiff_t>(k / kShuffleBlock) * 16;
    if (mask[0] != kShuffleMisfit)
        return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + t.pos[k])),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask)));
    return _mm_setr_epi32(LoadPair(row + t.pos[k]), LoadPair(row + t.pos[k + 1]), LoadPair(row + t.pos[k + 2]),
                          LoadPair(row + t.pos[k + 3]));
}

}  // namespace

TUL_TARGET_SSSE3 void GatherWordsShuffledSsse3(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n)
{
    const __m128i finish = _mm_set1_epi32(kFinishOffset);
    int k = 0;
    for (; k + 2 * kShuffleBlock <= n; k += 2 * kShuffleBlock) {
        __m128i a =
            _mm_madd_epi16(BlockSamples(v, t, k), _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.pair + k)));
        __m128i b = _mm_madd_epi16(BlockSamples(v, t, k + kShuffleBlock),
                                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.pair + k + kShuffleBlock)));
        a = _mm_srai_epi32(_mm_add_epi32(a, finish), 16);
        b = _mm_srai_epi32(_mm_add_epi32(b, finish), 16);
        const __m128i words = _mm_packs_epi32(a, b);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(words, words));
    }
    GatherWordsScalar<1>(v, t.Skip(k), out + k, n - k);
}

TUL_TARGET_SSSE3 void GatherBytesShuffledSsse3(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n)
{
    const __m128i bias = _mm_set1_epi32(kWordBias);
    int k = 0;
    for (; k + kShuffleBlock <= n; k += kShuffleBlock) {
        const __m128i samples = BlockSamples(s, t, k);
        const __m128i sum =
            _mm_sub_epi32(_mm_madd_epi16(samples, _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.pair + k))), bias);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm_packs_epi32(sum, sum));
    }
    GatherBytesScalar<1>(s, t.Skip(k), out + k, n - k);
}

}  // namespace tulipp::resize_center
