// SSE2 compositing rows: 16 bytes (four pixels) a step, the rest of a row
// to the scalar row. The numerator kA A + kB B is formed exactly in 32-bit
// lanes (the coefficients, up to 255^2, split into bytes for pmaddwd) and
// divided by 255^2 with a multiply-shift that is exact below 2^26, so the
// bytes are the scalar row's.
#include "platform/ipp/alpha_comp_rows.h"

#include <emmintrin.h>

namespace tulipp {
namespace {

// ceil(2^42 / 65025): floor(y * M / 2^42) = floor(y / 65025) for y < 2^26.
constexpr int kDivMagic = 67636241;

TUL_TARGET_SSE2 inline __m128i Load(const Ipp8u* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

TUL_TARGET_SSE2 inline __m128i Div65025(__m128i y)
{
    const __m128i m = _mm_set1_epi32(kDivMagic);
    const __m128i even = _mm_srli_epi64(_mm_mul_epu32(y, m), 42);
    const __m128i odd = _mm_srli_epi64(_mm_mul_epu32(_mm_srli_epi64(y, 32), m), 42);
    return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
}

// Four results from interleaved (A, B) 16-bit pairs and the interleaved
// low and high coefficient bytes.
TUL_TARGET_SSE2 inline __m128i Mix4(__m128i ab, __m128i kLow, __m128i kHigh)
{
    const __m128i n = _mm_add_epi32(_mm_slli_epi32(_mm_madd_epi16(ab, kHigh), 8), _mm_madd_epi16(ab, kLow));
    return Div65025(_mm_add_epi32(n, _mm_set1_epi32(kAlphaRoundBias)));
}

// Eight 16-bit results (at most 510) of eight A, B values.
TUL_TARGET_SSE2 inline __m128i Mix8(__m128i a16, __m128i b16, __m128i kLo0, __m128i kHi0, __m128i kLo1,
                                    __m128i kHi1)
{
    return _mm_packs_epi32(Mix4(_mm_unpacklo_epi16(a16, b16), kLo0, kHi0),
                           Mix4(_mm_unpackhi_epi16(a16, b16), kLo1, kHi1));
}

// c0 + ca a + cb b in 16-bit lanes.
TUL_TARGET_SSE2 inline __m128i Factor(const AlphaFactor& f, __m128i a, __m128i b)
{
    return _mm_add_epi16(_mm_set1_epi16(static_cast<short>(f.c0)),
                         _mm_add_epi16(_mm_mullo_epi16(a, _mm_set1_epi16(static_cast<short>(f.ca))),
                                       _mm_mullo_epi16(b, _mm_set1_epi16(static_cast<short>(f.cb)))));
}

// Two pixels' 16-bit channels with their per-pixel kA, kB: results.
TUL_TARGET_SSE2 inline __m128i MixPixels2(__m128i f16, __m128i g16, __m128i fIn, __m128i gIn, const AlphaRule& r)
{
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(f16, 0xFF), 0xFF);
    const __m128i b = _mm_shufflehi_epi16(_mm_shufflelo_epi16(g16, 0xFF), 0xFF);
    const __m128i kA = _mm_mullo_epi16(Factor(r.fa[0], a, b), Factor(r.fa[1], a, b));
    const __m128i kB = _mm_mullo_epi16(Factor(r.fb[0], a, b), Factor(r.fb[1], a, b));
    const __m128i low = _mm_set1_epi16(0xFF);
    const __m128i kAl = _mm_and_si128(kA, low), kBl = _mm_and_si128(kB, low);
    const __m128i kAh = _mm_srli_epi16(kA, 8), kBh = _mm_srli_epi16(kB, 8);
    return Mix8(fIn, gIn, _mm_unpacklo_epi16(kAl, kBl), _mm_unpacklo_epi16(kAh, kBh), _mm_unpackhi_epi16(kAl, kBl),
                _mm_unpackhi_epi16(kAh, kBh));
}

// 16-bit lanes: x = a A + b B + 127 <= 65152, and floor(x / 255) is
// (x + 1 + (x >> 8)) >> 8 for every such x.
TUL_TARGET_SSE2 inline __m128i MixScaled8(__m128i f16, __m128i g16, __m128i a, __m128i b)
{
    const __m128i x = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(f16, a), _mm_mullo_epi16(g16, b)), _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

}  // namespace

TUL_TARGET_SSE2 void AlphaCompScaledRowSse2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b)
{
    const __m128i va = _mm_set1_epi16(static_cast<short>(a)), vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i f = Load(fg + i), g = Load(bg + i);
        const __m128i lo = MixScaled8(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(g, zero), va, vb);
        const __m128i hi = MixScaled8(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(g, zero), va, vb);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
    }
    AlphaCompScaledRowScalar(fg + i, bg + i, dst + i, bytes - i, a, b);
}

TUL_TARGET_SSE2 void AlphaCompConstRowSse2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB)
{
    const __m128i kLow = _mm_set1_epi32((kA & 0xFF) | (kB & 0xFF) << 16);
    const __m128i kHigh = _mm_set1_epi32((kA >> 8) | (kB >> 8) << 16);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i f = Load(fg + i), g = Load(bg + i);
        const __m128i lo = Mix8(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(g, zero), kLow, kHigh, kLow, kHigh);
        const __m128i hi = Mix8(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(g, zero), kLow, kHigh, kLow, kHigh);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
    }
    AlphaCompConstRowScalar(fg + i, bg + i, dst + i, bytes - i, kA, kB);
}

TUL_TARGET_SSE2 void AlphaCompPixelRowSse2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels,
                                           const AlphaRule& rule)
{
    // The fourth bytes enter the colour formula as 255 for the straight types.
    const __m128i alphaIn = _mm_set1_epi32(rule.opaqueAlphaInputs ? static_cast<int>(0xFF000000u) : 0);
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 4 <= pixels; x += 4) {
        const __m128i f = Load(fg + 4 * x), g = Load(bg + 4 * x);
        const __m128i fIn = _mm_or_si128(f, alphaIn), gIn = _mm_or_si128(g, alphaIn);
        const __m128i lo = MixPixels2(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(g, zero),
                                      _mm_unpacklo_epi8(fIn, zero), _mm_unpacklo_epi8(gIn, zero), rule);
        const __m128i hi = MixPixels2(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(g, zero),
                                      _mm_unpackhi_epi8(fIn, zero), _mm_unpackhi_epi8(gIn, zero), rule);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x), _mm_packus_epi16(lo, hi));
    }
    AlphaCompPixelRowScalar(fg + 4 * x, bg + 4 * x, dst + 4 * x, pixels - x, rule);
}

}  // namespace tulipp
