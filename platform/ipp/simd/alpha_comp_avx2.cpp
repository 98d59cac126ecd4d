// AVX2 compositing rows: 32 bytes (eight pixels) a step, the rest of a row
// to the scalar row. The numerator kA A + kB B is formed exactly in 32-bit
// lanes (the coefficients, up to 255^2, split into bytes for pmaddwd) and
// divided by 255^2 with a multiply-shift that is exact below 2^26, so the
// bytes are the scalar row's. Unpacks and packs both stay within 128-bit
// lanes, so each lane's bytes return to their own places. Straight OVER,
// the type of every RGB32 composite, has a row of its own in 16-bit lanes
// (sixteen pixels a step), about three times as fast as the general one.
#include "platform/ipp/alpha_comp_rows.h"

#include <immintrin.h>

#include <cstring>

namespace tulipp {
namespace {

// ceil(2^42 / 65025): floor(y * M / 2^42) = floor(y / 65025) for y < 2^26.
constexpr int kDivMagic = 67636241;

TUL_TARGET_AVX2 inline __m256i Load(const Ipp8u* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }

TUL_TARGET_AVX2 inline __m256i Div65025(__m256i y)
{
    const __m256i m = _mm256_set1_epi32(kDivMagic);
    const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(y, m), 42);
    const __m256i odd = _mm256_srli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(y, 32), m), 42);
    return _mm256_or_si256(even, _mm256_slli_epi64(odd, 32));
}

// Four results from interleaved (A, B) 16-bit pairs and the interleaved
// low and high coefficient bytes.
TUL_TARGET_AVX2 inline __m256i Mix4(__m256i ab, __m256i kLow, __m256i kHigh)
{
    const __m256i n = _mm256_add_epi32(_mm256_slli_epi32(_mm256_madd_epi16(ab, kHigh), 8), _mm256_madd_epi16(ab, kLow));
    return Div65025(_mm256_add_epi32(n, _mm256_set1_epi32(kAlphaRoundBias)));
}

// Eight 16-bit results (at most 510) of eight A, B values.
TUL_TARGET_AVX2 inline __m256i Mix8(__m256i a16, __m256i b16, __m256i kLo0, __m256i kHi0, __m256i kLo1,
                                    __m256i kHi1)
{
    return _mm256_packs_epi32(Mix4(_mm256_unpacklo_epi16(a16, b16), kLo0, kHi0),
                           Mix4(_mm256_unpackhi_epi16(a16, b16), kLo1, kHi1));
}

// c0 + ca a + cb b in 16-bit lanes.
TUL_TARGET_AVX2 inline __m256i Factor(const AlphaFactor& f, __m256i a, __m256i b)
{
    return _mm256_add_epi16(_mm256_set1_epi16(static_cast<short>(f.c0)),
                         _mm256_add_epi16(_mm256_mullo_epi16(a, _mm256_set1_epi16(static_cast<short>(f.ca))),
                                       _mm256_mullo_epi16(b, _mm256_set1_epi16(static_cast<short>(f.cb)))));
}

// Two pixels' 16-bit channels with their per-pixel kA, kB: results.
TUL_TARGET_AVX2 inline __m256i MixPixels2(__m256i f16, __m256i g16, __m256i fIn, __m256i gIn, const AlphaRule& r)
{
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(f16, 0xFF), 0xFF);
    const __m256i b = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(g16, 0xFF), 0xFF);
    const __m256i kA = _mm256_mullo_epi16(Factor(r.fa[0], a, b), Factor(r.fa[1], a, b));
    const __m256i kB = _mm256_mullo_epi16(Factor(r.fb[0], a, b), Factor(r.fb[1], a, b));
    const __m256i low = _mm256_set1_epi16(0xFF);
    const __m256i kAl = _mm256_and_si256(kA, low), kBl = _mm256_and_si256(kB, low);
    const __m256i kAh = _mm256_srli_epi16(kA, 8), kBh = _mm256_srli_epi16(kB, 8);
    return Mix8(fIn, gIn, _mm256_unpacklo_epi16(kAl, kBl), _mm256_unpacklo_epi16(kAh, kBh), _mm256_unpackhi_epi16(kAl, kBl),
                _mm256_unpackhi_epi16(kAh, kBh));
}

// floor(x / 255) for 0 <= x < 65535, with the x + 1 already added: the
// high half of (x + 1) * 257. One multiply and no shift.
TUL_TARGET_AVX2 inline __m256i Div255Plus1(__m256i xPlus1)
{
    return _mm256_mulhi_epu16(xPlus1, _mm256_set1_epi16(257));
}

// OVER, the type of every straight RGB32 composite, in 16-bit lanes only.
// Write (255 - a) b = 255 p + r (p <= 255 - a, r < 255); then the
// numerator 255 a A + (255 - a) b B + 32512 is
// 255 (a A + p B + 127) + (r B + 127), both brackets fit 16 bits, and
//   floor(N / 65025) = floor((a A + p B + 127 + floor((r B + 127) / 255)) / 255),
// whose dividend stays below 65153. a A + p B is one pmaddubsw of the
// pair (a, p) with the channels less 128 (at most 128 (a + p) <= 32640 in
// size, so it never saturates), with 128 (a + p) added back per pixel.
// The result alpha (A = B = 255) reduces to a + floor((w + 127) / 255)
// with w = (255 - a) b. A walk over every a, b, A, B gives the scalar
// row's bytes; the conformance harness repeats random ones.
//
// Sixteen pixels are taken apart into one register of words per channel,
// so the per-pixel factors line up with every channel without being
// copied to it, and the alpha channel is the one value above instead of a
// fourth channel. Each 128-bit lane holds pixels 0-3 and 8-11 (low lane)
// or 4-7 and 12-15 (high lane), the order of every per-pixel register.
struct OverFactors {
    __m256i ap;     // a | p << 8
    __m256i r;
    __m256i c;      // 128 (a + p + 1)
    __m256i alpha;  // the result alpha
};

TUL_TARGET_AVX2 inline OverFactors Factors(__m256i a, __m256i b)
{
    const __m256i w = _mm256_mullo_epi16(_mm256_sub_epi16(_mm256_set1_epi16(255), a), b);
    const __m256i p = Div255Plus1(_mm256_add_epi16(w, _mm256_set1_epi16(1)));
    const __m256i p8 = _mm256_slli_epi16(p, 8);
    return {_mm256_or_si256(a, p8), _mm256_add_epi16(_mm256_sub_epi16(w, p8), p),
            _mm256_slli_epi16(_mm256_add_epi16(_mm256_add_epi16(a, p), _mm256_set1_epi16(1)), 7),
            _mm256_add_epi16(a, Div255Plus1(_mm256_add_epi16(w, _mm256_set1_epi16(128))))};
}

// One channel of sixteen pixels: `ab` the (A - 128, B - 128) byte pairs,
// `B` the background's words.
TUL_TARGET_AVX2 inline __m256i OverChannel(__m256i ab, __m256i B, const OverFactors& k)
{
    const __m256i low = Div255Plus1(_mm256_add_epi16(_mm256_mullo_epi16(k.r, B), _mm256_set1_epi16(128)));
    const __m256i high = _mm256_add_epi16(_mm256_maddubs_epi16(k.ap, ab), k.c);
    return Div255Plus1(_mm256_add_epi16(high, low));
}

// Sixteen pixels at p taken apart: each lane holds the bytes of its eight
// pixels (0-3 and 8-11 low, 4-7 and 12-15 high) channel by channel,
// channels 0 then 1 in `c01`, channel 2 then the alphas in `c2a`.
struct Planes {
    __m256i c01, c2a;
};
TUL_TARGET_AVX2 inline Planes Apart(const Ipp8u* p)
{
    const __m256i group = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12, 1, 5, 9,
                                           13, 2, 6, 10, 14, 3, 7, 11, 15);
    const __m256i first = _mm256_shuffle_epi8(Load(p), group), second = _mm256_shuffle_epi8(Load(p + 32), group);
    return {_mm256_unpacklo_epi32(first, second), _mm256_unpackhi_epi32(first, second)};
}

// The straight OVER row, sixteen pixels a step.
TUL_TARGET_AVX2 int OverRow(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels)
{
    const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i zero = _mm256_setzero_si256();
    int x = 0;
    for (; x + 16 <= pixels; x += 16) {
        const Planes f = Apart(fg + 4 * x), g = Apart(bg + 4 * x);
        const OverFactors k = Factors(_mm256_unpackhi_epi8(f.c2a, zero), _mm256_unpackhi_epi8(g.c2a, zero));
        const __m256i f01 = _mm256_xor_si256(f.c01, flip), g01 = _mm256_xor_si256(g.c01, flip);
        const __m256i f2 = _mm256_xor_si256(f.c2a, flip), g2 = _mm256_xor_si256(g.c2a, flip);
        const __m256i c0 = OverChannel(_mm256_unpacklo_epi8(f01, g01), _mm256_unpacklo_epi8(g.c01, zero), k);
        const __m256i c1 = OverChannel(_mm256_unpackhi_epi8(f01, g01), _mm256_unpackhi_epi8(g.c01, zero), k);
        const __m256i c2 = OverChannel(_mm256_unpacklo_epi8(f2, g2), _mm256_unpacklo_epi8(g.c2a, zero), k);
        // Every result fits a byte: word pairs, then pixels 0-7 and 8-15.
        const __m256i low = _mm256_or_si256(c0, _mm256_slli_epi16(c1, 8));
        const __m256i high = _mm256_or_si256(c2, _mm256_slli_epi16(k.alpha, 8));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * x), _mm256_unpacklo_epi16(low, high));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * x + 32), _mm256_unpackhi_epi16(low, high));
    }
    return x;
}

}  // namespace

// a A + b B is one pmaddubsw of the pair (a, b) with the channels less 128
// (at most 128 (a + b) <= 32640 in size: no saturation), 128 (a + b) added
// back with the rounding 127 and the 1 of Div255Plus1; the dividend is at
// most 65152.
TUL_TARGET_AVX2 void AlphaCompScaledRowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b)
{
    const __m256i pair = _mm256_set1_epi16(static_cast<short>(a | b << 8));
    const __m256i back = _mm256_set1_epi16(static_cast<short>(128 * (a + b) + 128));
    const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
    int i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i f = _mm256_xor_si256(Load(fg + i), flip), g = _mm256_xor_si256(Load(bg + i), flip);
        const __m256i lo = _mm256_add_epi16(_mm256_maddubs_epi16(pair, _mm256_unpacklo_epi8(f, g)), back);
        const __m256i hi = _mm256_add_epi16(_mm256_maddubs_epi16(pair, _mm256_unpackhi_epi8(f, g)), back);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_packus_epi16(Div255Plus1(lo), Div255Plus1(hi)));
    }
    AlphaCompScaledRowScalar(fg + i, bg + i, dst + i, bytes - i, a, b);
}

// Eight pixels a step. The background's 24 bytes come in as two 16-byte
// loads (pixels 0-3 at the start of the low lane, 4-7 four bytes into the
// high one) and are spread to four bytes a pixel; each channel pair
// (A - 128, B - 128) meets the pair (a, 255 - a) in one pmaddubsw
// (a + 255 - a = 255, so 128 x 255 + 127 + 1 comes back as one constant),
// and the three colour bytes of each pixel go out as 12 bytes per lane.
TUL_TARGET_AVX2 void AlphaOverRgb24RowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels)
{
    const __m256i spreadBg = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 4, 5, 6, -1, 7, 8,
                                              9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    // Per channel word of pixels 0, 1 (lo) or 2, 3 (hi) of a lane: a, then 255 - a.
    const __m256i pairLo = _mm256_setr_epi8(0, 3, 0, 3, 0, 3, 0, 3, 4, 7, 4, 7, 4, 7, 4, 7, 0, 3, 0, 3, 0, 3, 0, 3, 4,
                                            7, 4, 7, 4, 7, 4, 7);
    const __m256i pairHi = _mm256_add_epi8(pairLo, _mm256_set1_epi8(8));
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6, 8,
                                          9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
    const __m256i alphaByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i back = _mm256_set1_epi16(static_cast<short>(128 * 255 + 128));
    int x = 0;
    for (; x + 8 <= pixels; x += 8) {
        const Ipp8u* b = bg + 3 * x;
        const __m256i f = Load(fg + 4 * x);
        const __m256i g = _mm256_shuffle_epi8(
            _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b))),
                                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 8)), 1),
            spreadBg);
        // Byte 0 of each pixel a, byte 3 255 - a.
        const __m256i alphas = _mm256_or_si256(_mm256_srli_epi32(f, 24), _mm256_andnot_si256(f, alphaByte));
        const __m256i fs = _mm256_xor_si256(f, flip), gs = _mm256_xor_si256(g, flip);
        const __m256i lo = _mm256_add_epi16(
            _mm256_maddubs_epi16(_mm256_shuffle_epi8(alphas, pairLo), _mm256_unpacklo_epi8(fs, gs)), back);
        const __m256i hi = _mm256_add_epi16(
            _mm256_maddubs_epi16(_mm256_shuffle_epi8(alphas, pairHi), _mm256_unpackhi_epi8(fs, gs)), back);
        const __m256i out = _mm256_shuffle_epi8(_mm256_packus_epi16(Div255Plus1(lo), Div255Plus1(hi)), pack);
        // Lane 0's twelve bytes (its last four are overwritten next), then lane 1's as 8 + 4.
        Ipp8u* d = dst + 3 * x;
        const __m128i high = _mm256_extracti128_si256(out, 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm256_castsi256_si128(out));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 12), high);
        const int last = _mm_cvtsi128_si32(_mm_srli_si128(high, 8));
        std::memcpy(d + 20, &last, 4);
    }
    AlphaOverRgb24RowScalar(fg + 4 * x, bg + 3 * x, dst + 3 * x, pixels - x);
}

TUL_TARGET_AVX2 void AlphaCompConstRowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB)
{
    const __m256i kLow = _mm256_set1_epi32((kA & 0xFF) | (kB & 0xFF) << 16);
    const __m256i kHigh = _mm256_set1_epi32((kA >> 8) | (kB >> 8) << 16);
    const __m256i zero = _mm256_setzero_si256();
    int i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m256i f = Load(fg + i), g = Load(bg + i);
        const __m256i lo = Mix8(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(g, zero), kLow, kHigh, kLow, kHigh);
        const __m256i hi = Mix8(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(g, zero), kLow, kHigh, kLow, kHigh);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(lo, hi));
    }
    AlphaCompConstRowScalar(fg + i, bg + i, dst + i, bytes - i, kA, kB);
}

TUL_TARGET_AVX2 void AlphaCompPixelRowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels,
                                           const AlphaRule& rule)
{
    // The fourth bytes enter the colour formula as 255 for the straight types.
    const __m256i alphaIn = _mm256_set1_epi32(rule.opaqueAlphaInputs ? static_cast<int>(0xFF000000u) : 0);
    const __m256i zero = _mm256_setzero_si256();
    int x = IsStraightOver(rule) ? OverRow(fg, bg, dst, pixels) : 0;
    for (; x + 8 <= pixels; x += 8) {
        const __m256i f = Load(fg + 4 * x), g = Load(bg + 4 * x);
        const __m256i fIn = _mm256_or_si256(f, alphaIn), gIn = _mm256_or_si256(g, alphaIn);
        const __m256i lo = MixPixels2(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(g, zero),
                                      _mm256_unpacklo_epi8(fIn, zero), _mm256_unpacklo_epi8(gIn, zero), rule);
        const __m256i hi = MixPixels2(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(g, zero),
                                      _mm256_unpackhi_epi8(fIn, zero), _mm256_unpackhi_epi8(gIn, zero), rule);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 4 * x), _mm256_packus_epi16(lo, hi));
    }
    AlphaCompPixelRowScalar(fg + 4 * x, bg + 4 * x, dst + 4 * x, pixels - x, rule);
}

}  // namespace tulipp
