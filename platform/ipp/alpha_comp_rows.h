// Compositing rows of ippiAlphaCompC_8u_C1R/_C3R/_C4R and
// ippiAlphaComp_8u_AC4R: the table of the twelve compositing types, the one
// rounding rule, and the row sets choosing the instruction-set path.
//
// Every type is one shape: C = (kA * A + kB * B) / 255^2, where A and B are
// the foreground and background channel values and kA, kB are products of
// two factors each taken from {0, 255, a, b, 255 - a, 255 - b} (a, b the
// two alphas). A factor is the linear form c0 + ca * a + cb * b, so one
// table row per type drives the scalar and the vector rows alike.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

#include <cstdint>

namespace tulipp {

// c0 + ca * a + cb * b, a value in [0, 255].
struct AlphaFactor {
    int c0, ca, cb;
    constexpr int Of(int a, int b) const { return c0 + ca * a + cb * b; }
};

inline constexpr AlphaFactor kFOne{255, 0, 0};
inline constexpr AlphaFactor kFZero{0, 0, 0};
inline constexpr AlphaFactor kFA{0, 1, 0};
inline constexpr AlphaFactor kFB{0, 0, 1};
inline constexpr AlphaFactor kFInvA{255, -1, 0};
inline constexpr AlphaFactor kFInvB{255, 0, -1};

// kA = fa[0] * fa[1], kB = fb[0] * fb[1]. `opaqueAlphaInputs`: the result
// alpha of a per-pixel composite is the colour formula of its type with
// A = B = 255 for the straight types; for the premultiplied ones it is the
// colour formula on the alpha bytes themselves (A = a, B = b), which is
// what the row computes on the fourth byte anyway.
struct AlphaRule {
    AlphaFactor fa[2];
    AlphaFactor fb[2];
    bool opaqueAlphaInputs;
    constexpr int KA(int a, int b) const { return fa[0].Of(a, b) * fa[1].Of(a, b); }
    constexpr int KB(int a, int b) const { return fb[0].Of(a, b) * fb[1].Of(a, b); }
};

// Indexed by IppiAlphaType, 0 to 11.
inline constexpr AlphaRule kAlphaRules[12] = {
    {{kFA, kFOne}, {kFInvA, kFB}, true},      // OVER:  a A + (255-a) b B
    {{kFA, kFB}, {kFZero, kFZero}, true},     // IN:    a b A
    {{kFA, kFInvB}, {kFZero, kFZero}, true},  // OUT:   a (255-b) A
    {{kFA, kFB}, {kFInvA, kFB}, true},        // ATOP:  a b A + (255-a) b B
    {{kFA, kFInvB}, {kFInvA, kFB}, true},     // XOR:   a (255-b) A + (255-a) b B
    {{kFA, kFOne}, {kFB, kFOne}, true},       // PLUS:  a A + b B
    {{kFOne, kFOne}, {kFInvA, kFOne}, false}, // OVER premultiplied
    {{kFB, kFOne}, {kFZero, kFZero}, false},  // IN premultiplied
    {{kFInvB, kFOne}, {kFZero, kFZero}, false},
    {{kFB, kFOne}, {kFInvA, kFOne}, false},   // ATOP premultiplied
    {{kFInvB, kFOne}, {kFInvA, kFOne}, false},
    {{kFOne, kFOne}, {kFOne, kFOne}, false},  // PLUS premultiplied: A + B
};

// Worked values of the rules, where a wrong factor would show.
static_assert(kAlphaRules[ippAlphaOver].KA(255, 9) == 255 * 255 && kAlphaRules[ippAlphaOver].KB(255, 9) == 0);
static_assert(kAlphaRules[ippAlphaATop].KA(10, 20) + kAlphaRules[ippAlphaATop].KB(10, 20) == 20 * 255);
static_assert(kAlphaRules[ippAlphaXorPremul].KB(10, 20) == 245 * 255);

// The rounding, decided once for every path: the exact value
// (kA A + kB B) / 255^2 rounded to nearest, halves up, then saturated to
// 255 (only PLUS can exceed it). 255^2 is odd, so no value is an exact
// half, and floor(v + 1/2) is floor((N + 32512) / 65025) for the integer
// numerator N. No product is rounded on its own.
inline constexpr int kAlphaRoundBias = 65025 / 2;
constexpr Ipp8u AlphaMix(int kA, int kB, int A, int B)
{
    const int q = (kA * A + kB * B + kAlphaRoundBias) / 65025;
    return static_cast<Ipp8u>(q > 255 ? 255 : q);
}
static_assert(AlphaMix(128 * 255, 128 * 255, 200, 200) == 201);  // round(200.78)
static_assert(AlphaMix(255 * 255, 255 * 255, 200, 200) == 255);  // 400 saturates

constexpr bool SameFactor(const AlphaFactor& x, const AlphaFactor& y)
{
    return x.c0 == y.c0 && x.ca == y.ca && x.cb == y.cb;
}

// Whether a rule is straight OVER, the type of every RGB32 composite, which
// the vector rows give a faster path of its own.
constexpr bool IsStraightOver(const AlphaRule& r)
{
    const AlphaRule& o = kAlphaRules[ippAlphaOver];
    return SameFactor(r.fa[0], o.fa[0]) && SameFactor(r.fa[1], o.fa[1]) && SameFactor(r.fb[0], o.fb[0]) &&
           SameFactor(r.fb[1], o.fb[1]) && r.opaqueAlphaInputs == o.opaqueAlphaInputs;
}
static_assert(IsStraightOver(kAlphaRules[ippAlphaOver]) && !IsStraightOver(kAlphaRules[ippAlphaOverPremul]));

// Constant alphas: every byte of the row is a colour channel with the same
// kA and kB, so C1, C3 and C4 are one byte row.
using AlphaCompConstRowFn = void (*)(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB);
// Per-pixel alphas (AC4): each pixel's fourth bytes are a and b, the
// fourth byte of the result is the result alpha.
using AlphaCompPixelRowFn = void (*)(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels,
                                     const AlphaRule& rule);

// Constant alphas whose coefficients are 255 a and 255 b with a + b <= 255
// (PLUS, the blends, OVER on an opaque background): the same value is
// round((a A + b B) / 255), whose numerator fits 16 bits, so this row
// needs no 32-bit lanes. floor((x + 127) / 255) equals the general rule's
// floor((255 x + 32512) / 65025) for every integer x.
using AlphaCompScaledRowFn = void (*)(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b);
constexpr bool ScaledAlphas(int kA, int kB)
{
    return kA % 255 == 0 && kB % 255 == 0 && kA / 255 + kB / 255 <= 255;
}
constexpr Ipp8u AlphaMixScaled(int a, int b, int A, int B) { return static_cast<Ipp8u>((a * A + b * B + 127) / 255); }
static_assert(AlphaMixScaled(127, 127, 255, 0) == AlphaMix(127 * 255, 127 * 255, 255, 0));

void AlphaCompConstRowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB);
void AlphaCompPixelRowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels, const AlphaRule& rule);
void AlphaCompScaledRowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b);
void AlphaCompScaledRowSse2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b);
void AlphaCompScaledRowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int a, int b);
void AlphaCompConstRowSse2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB);
void AlphaCompPixelRowSse2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels, const AlphaRule& rule);
void AlphaCompConstRowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int bytes, int kA, int kB);
void AlphaCompPixelRowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels, const AlphaRule& rule);
void AlphaCompPixelRowAvx512(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels, const AlphaRule& rule);

// Straight OVER of a 32-bit foreground on an opaque 24-bit background
// into 24-bit pixels (AlphaCompRGB24): with b = 255 the OVER weights are
// 255 a and 255 (255 - a), so each colour is AlphaMixScaled(a, 255 - a, A, B).
// The destination may be the background (in place).
using AlphaOverRgb24RowFn = void (*)(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels);
static_assert(AlphaMixScaled(77, 178, 200, 31) ==
              AlphaMix(kAlphaRules[ippAlphaOver].KA(77, 255), kAlphaRules[ippAlphaOver].KB(77, 255), 200, 31));
void AlphaOverRgb24RowScalar(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels);
void AlphaOverRgb24RowAvx2(const Ipp8u* fg, const Ipp8u* bg, Ipp8u* dst, int pixels);

inline constexpr RowSet<AlphaOverRgb24RowFn> kAlphaOverRgb24Rows{AlphaOverRgb24RowScalar, nullptr, nullptr,
                                                                 AlphaOverRgb24RowAvx2};
inline constexpr RowSet<AlphaCompConstRowFn> kAlphaCompConstRows{AlphaCompConstRowScalar, AlphaCompConstRowSse2,
                                                                 nullptr, AlphaCompConstRowAvx2};
inline constexpr RowSet<AlphaCompScaledRowFn> kAlphaCompScaledRows{AlphaCompScaledRowScalar, AlphaCompScaledRowSse2,
                                                                   nullptr, AlphaCompScaledRowAvx2};
inline constexpr RowSet<AlphaCompPixelRowFn> kAlphaCompPixelRows{AlphaCompPixelRowScalar, AlphaCompPixelRowSse2,
                                                                 nullptr, AlphaCompPixelRowAvx2,
                                                                 AlphaCompPixelRowAvx512};

}  // namespace tulipp
