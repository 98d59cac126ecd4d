// SSE2 rows of the linear centre-based resampler. Same integer
// formulas as the scalar ones (resize_center_linear.h), so same bytes.
#include "platform/ipp/resize_center_linear.h"

#include <emmintrin.h>

#include <cstring>

namespace tulipp::resize_center {

TUL_TARGET_SSE2 void BlendBytesSse2(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n)
{
    const __m128i wa = _mm_set1_epi16(static_cast<short>(kLinearOne - w));
    const __m128i wb = _mm_set1_epi16(static_cast<short>(w));
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        // Exact in 16 bits (at most 255 * 256); the xor is the -32768 bias.
        const __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(va, zero), wa),
                                         _mm_mullo_epi16(_mm_unpacklo_epi8(vb, zero), wb));
        const __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(va, zero), wa),
                                         _mm_mullo_epi16(_mm_unpackhi_epi8(vb, zero), wb));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_xor_si128(lo, bias));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_xor_si128(hi, bias));
    }
    BlendBytesScalar(a + i, b + i, w, out + i, n - i);
}

TUL_TARGET_SSE2 void BlendWordsSse2(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n)
{
    const __m128i pair = _mm_set1_epi32(WeightPair(w));
    const __m128i finish = _mm_set1_epi32(kFinishOffset);
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(va, vb), pair);
        __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi16(va, vb), pair);
        lo = _mm_srai_epi32(_mm_add_epi32(lo, finish), 16);
        hi = _mm_srai_epi32(_mm_add_epi32(hi, finish), 16);
        const __m128i words = _mm_packs_epi32(lo, hi);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(words, words));
    }
    BlendWordsScalar(a + i, b + i, w, out + i, n - i);
}

namespace {

TUL_TARGET_SSE2 inline __m128i FinishFour(const std::int16_t* v, const std::int32_t* pos, const std::int32_t* pair)
{
    const __m128i samples =
        _mm_setr_epi32(LoadPair(v + pos[0]), LoadPair(v + pos[1]), LoadPair(v + pos[2]), LoadPair(v + pos[3]));
    const __m128i sum = _mm_madd_epi16(samples, _mm_loadu_si128(reinterpret_cast<const __m128i*>(pair)));
    return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(kFinishOffset)), 16);
}

}  // namespace

TUL_TARGET_SSE2 void GatherWordsGraySse2(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n)
{
    const std::int32_t* pos = t.pos;
    const std::int32_t* pair = t.pair;
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m128i words = _mm_packs_epi32(FinishFour(v, pos + k, pair + k), FinishFour(v, pos + k + 4, pair + k + 4));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(words, words));
    }
    GatherWordsScalar<1>(v, t.Skip(k), out + k, n - k);
}

namespace {

TUL_TARGET_SSE2 inline __m128i BlendFour(const Ipp8u* s, const std::int32_t* pos, const std::int32_t* pair)
{
    const __m128i samples = _mm_setr_epi32(LoadPair(s + pos[0]), LoadPair(s + pos[1]),
                                           LoadPair(s + pos[2]), LoadPair(s + pos[3]));
    const __m128i sum = _mm_madd_epi16(samples, _mm_loadu_si128(reinterpret_cast<const __m128i*>(pair)));
    return _mm_sub_epi32(sum, _mm_set1_epi32(kWordBias));
}

}  // namespace

TUL_TARGET_SSE2 void GatherBytesGraySse2(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n)
{
    const std::int32_t* pos = t.pos;
    const std::int32_t* pair = t.pair;
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m128i words = _mm_packs_epi32(BlendFour(s, pos + k, pair + k), BlendFour(s, pos + k + 4, pair + k + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), words);
    }
    GatherBytesScalar<1>(s, t.Skip(k), out + k, n - k);
}

// Pixels of N = 3 or 4 channels, one at a time: the two pixels' samples
// interleaved into (left, right) pairs for pmaddwd. Each pixel stores four
// results; for three channels the fourth lands on the next pixel, which is
// written after it, so the last pixel is left to the scalar tail.
template <int N>
TUL_TARGET_SSE2 void GatherWordsPixelsSse2(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n)
{
    const std::int32_t* pos = t.pos;
    const std::int32_t* pair = t.pair;
    const __m128i finish = _mm_set1_epi32(kFinishOffset);
    const int vectorPixels = N == 4 ? n : n - 1;
    int k = 0;
    for (; k < vectorPixels; ++k) {
        const std::int16_t* p = v + static_cast<std::ptrdiff_t>(pos[k]) * N;
        const __m128i left = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        const __m128i right = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + N));
        __m128i sum = _mm_madd_epi16(_mm_unpacklo_epi16(left, right), _mm_set1_epi32(pair[k]));
        sum = _mm_srai_epi32(_mm_add_epi32(sum, finish), 16);
        const __m128i words = _mm_packs_epi32(sum, sum);
        const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(out + static_cast<std::ptrdiff_t>(k) * N, &bytes, 4);
    }
    GatherWordsScalar<N>(v, t.Skip(k), out + static_cast<std::ptrdiff_t>(k) * N, n - k);
}

template <int N>
TUL_TARGET_SSE2 void GatherBytesPixelsSse2(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n)
{
    const std::int32_t* pos = t.pos;
    const std::int32_t* pair = t.pair;
    const __m128i zero = _mm_setzero_si128();
    const __m128i bias = _mm_set1_epi32(kWordBias);
    const int vectorPixels = N == 4 ? n : n - 1;
    int k = 0;
    for (; k < vectorPixels; ++k) {
        const Ipp8u* p = s + static_cast<std::ptrdiff_t>(pos[k]) * N;
        std::int32_t left, right;
        std::memcpy(&left, p, 4);
        std::memcpy(&right, p + N, 4);
        const __m128i pairs =
            _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(left), _mm_cvtsi32_si128(right)), zero);
        const __m128i sum = _mm_sub_epi32(_mm_madd_epi16(pairs, _mm_set1_epi32(pair[k])), bias);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + static_cast<std::ptrdiff_t>(k) * N),
                         _mm_packs_epi32(sum, sum));
    }
    GatherBytesScalar<N>(s, t.Skip(k), out + static_cast<std::ptrdiff_t>(k) * N, n - k);
}

template void GatherWordsPixelsSse2<3>(const std::int16_t*, const GatherTable&, Ipp8u*, int);
template void GatherWordsPixelsSse2<4>(const std::int16_t*, const GatherTable&, Ipp8u*, int);
template void GatherBytesPixelsSse2<3>(const Ipp8u*, const GatherTable&, std::int16_t*, int);
template void GatherBytesPixelsSse2<4>(const Ipp8u*, const GatherTable&, std::int16_t*, int);

}  // namespace tulipp::resize_center
