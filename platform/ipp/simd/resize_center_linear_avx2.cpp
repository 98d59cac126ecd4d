// AVX2 rows of the linear centre-based resampler. Same integer
// formulas as the scalar ones (resize_center_linear.h), so same bytes.
#include "platform/ipp/resize_center_linear.h"

#include <immintrin.h>

#include <cstring>

namespace tulipp::resize_center {

TUL_TARGET_AVX2 void BlendBytesAvx2(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n)
{
    const __m256i wa = _mm256_set1_epi16(static_cast<short>(kLinearOne - w));
    const __m256i wb = _mm256_set1_epi16(static_cast<short>(w));
    const __m256i bias = _mm256_set1_epi16(static_cast<short>(0x8000));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i va = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)));
        const __m256i vb = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)));
        const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(va, wa), _mm256_mullo_epi16(vb, wb));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_xor_si256(sum, bias));
    }
    BlendBytesScalar(a + i, b + i, w, out + i, n - i);
}

TUL_TARGET_AVX2 void BlendSplitAvx2(const Ipp8u* a, const Ipp8u* b, int w, std::int16_t* out, int n)
{
    const __m256i wa = _mm256_set1_epi16(static_cast<short>(kLinearOne - w));
    const __m256i wb = _mm256_set1_epi16(static_cast<short>(w));
    const __m256i bias = _mm256_set1_epi16(static_cast<short>(0x8000));
    // Four pixel pairs as Y0..Y7, U0..U3, V0..V3.
    const __m128i planar = _mm_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 1, 5, 9, 13, 3, 7, 11, 15);
    std::int16_t* y = out;
    std::int16_t* u = y + (n + 1) / 2;
    std::int16_t* v = u + (n + 2) / 4;
    int i = 0;
    if (w == 0 || w == kLinearOne) {
        // One row taken whole (an exact source row, as in halving): its
        // bytes times 256 are the bytes moved up into the high half.
        const Ipp8u* whole = w == 0 ? a : b;
        const __m128i zero = _mm_setzero_si128();
        const __m128i bias16 = _mm_set1_epi16(static_cast<short>(0x8000));
        for (; i + 16 <= n; i += 16) {
            const __m128i p = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(whole + i)), planar);
            const __m128i luma = _mm_xor_si128(_mm_unpacklo_epi8(zero, p), bias16);
            const __m128i chroma = _mm_xor_si128(_mm_unpackhi_epi8(zero, p), bias16);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(y + i / 2), luma);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(u + i / 4), chroma);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(v + i / 4), _mm_unpackhi_epi64(chroma, chroma));
        }
    }
    for (; i + 16 <= n; i += 16) {
        const __m128i pa = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i)), planar);
        const __m128i pb = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)), planar);
        const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(_mm256_cvtepu8_epi16(pa), wa),
                                             _mm256_mullo_epi16(_mm256_cvtepu8_epi16(pb), wb));
        const __m256i words = _mm256_xor_si256(sum, bias);
        const __m128i chroma = _mm256_extracti128_si256(words, 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(y + i / 2), _mm256_castsi256_si128(words));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(u + i / 4), chroma);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(v + i / 4), _mm_unpackhi_epi64(chroma, chroma));
    }
    BlendSplitScalarFrom(a, b, w, y, u, v, i, n);
}

TUL_TARGET_AVX2 void BlendWordsAvx2(const std::int16_t* a, const std::int16_t* b, int w, Ipp8u* out, int n)
{
    const __m256i pair = _mm256_set1_epi32(WeightPair(w));
    const __m256i finish = _mm256_set1_epi32(kFinishOffset);
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i va = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        // unpack and pack both work within 128-bit lanes, so their
        // orders cancel: words come out as elements 0..15 in order.
        __m256i lo = _mm256_madd_epi16(_mm256_unpacklo_epi16(va, vb), pair);
        __m256i hi = _mm256_madd_epi16(_mm256_unpackhi_epi16(va, vb), pair);
        lo = _mm256_srai_epi32(_mm256_add_epi32(lo, finish), 16);
        hi = _mm256_srai_epi32(_mm256_add_epi32(hi, finish), 16);
        const __m256i words = _mm256_packs_epi32(lo, hi);
        const __m128i bytes =
            _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
    }
    BlendWordsScalar(a + i, b + i, w, out + i, n - i);
}

// The gathers load their lanes one by one: the hardware gather is slower
// than plain loads on the AMD processors this runs on, and no faster on
// the Intel ones for eight lanes.
namespace {

TUL_TARGET_AVX2 inline __m128i FinishEight(const std::int16_t* v, const std::int32_t* pos, const std::int32_t* pair)
{
    const __m256i samples =
        _mm256_setr_epi32(LoadPair(v + pos[0]), LoadPair(v + pos[1]), LoadPair(v + pos[2]), LoadPair(v + pos[3]),
                          LoadPair(v + pos[4]), LoadPair(v + pos[5]), LoadPair(v + pos[6]), LoadPair(v + pos[7]));
    __m256i sum = _mm256_madd_epi16(samples, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pair)));
    sum = _mm256_srai_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(kFinishOffset)), 16);
    return _mm_packs_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
}

}  // namespace

TUL_TARGET_AVX2 void GatherWordsGrayAvx2(const std::int16_t* v, const GatherTable& t, Ipp8u* out, int n)
{
    const std::int32_t* pos = t.pos;
    const std::int32_t* pair = t.pair;
    int k = 0;
    for (; k + 16 <= n; k += 16) {
        const __m128i bytes = _mm_packus_epi16(FinishEight(v, pos + k, pair + k), FinishEight(v, pos + k + 8, pair + k + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), bytes);
    }
    GatherWordsScalar<1>(v, t.Skip(k), out + k, n - k);
}

TUL_TARGET_AVX2 void GatherBytesGrayAvx2(const Ipp8u* s, const GatherTable& t, std::int16_t* out, int n)
{
    const std::int32_t* pos = t.pos;
    const std::int32_t* pair = t.pair;
    const __m256i bias = _mm256_set1_epi32(kWordBias);
    int k = 0;
    for (; k + 8 <= n; k += 8) {
        const std::int32_t* p = pos + k;
        const __m256i samples = _mm256_setr_epi32(LoadPair(s + p[0]), LoadPair(s + p[1]),
                                                  LoadPair(s + p[2]), LoadPair(s + p[3]),
                                                  LoadPair(s + p[4]), LoadPair(s + p[5]),
                                                  LoadPair(s + p[6]), LoadPair(s + p[7]));
        __m256i sum = _mm256_madd_epi16(samples, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pair + k)));
        sum = _mm256_sub_epi32(sum, bias);
        const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), words);
    }
    GatherBytesScalar<1>(s, t.Skip(k), out + k, n - k);
}

}  // namespace tulipp::resize_center
