// The BT.601 Y'CbCr to RGB equation in single precision, exact after
// truncation, for the vector rows of to_rgb_*.cpp.
//
// The exact result is floor(E + 1/2) with E = N / 1000 for an integer N
// (color_coefficients.h), so E + 1/2 has a fractional part in {0, 0.001,
// ..., 0.999}. The rows compute x = E + 0.5005 instead: its fractional
// part stays at least 0.0005 away from an integer, and truncating x gives
// floor(E + 1/2) as long as the float error stays below 0.0005. Each
// coefficient is within 2^-24 relative of its decimal value and every
// term is rounded once to a float below 1024 in magnitude: with at most
// three products of a sample (<= 255) and four roundings the error stays
// below 2e-4. A negative x truncates toward 0 instead of down, and
// saturates to 0 either way; packing saturates above 255. The conformance
// harness and an exhaustive run over every (Y, Cb, Cr) check the result.
#pragma once

#include "platform/ipp/color_coefficients.h"

namespace tulipp::to_rgb {

using namespace color::bt601;

constexpr double kBias = 0.5005;
constexpr double kLumaOffset = -static_cast<double>(kY) * kYOffset;

constexpr float Coefficient(int c) { return static_cast<float>(c / static_cast<double>(kScale)); }
// The chroma-independent constant of a channel, the luma offset folded in.
constexpr float Constant(int cb, int cr)
{
    return static_cast<float>((kLumaOffset - static_cast<double>(cb + cr) * kChromaOffset) / kScale + kBias);
}

constexpr float kLuma = Coefficient(kY);
constexpr float kRv = Coefficient(kRCr), kGu = Coefficient(kGCb), kGv = Coefficient(kGCr), kBu = Coefficient(kBCb);
constexpr float kR0 = Constant(0, kRCr), kG0 = Constant(kGCb, kGCr), kB0 = Constant(kBCb, 0);

}  // namespace tulipp::to_rgb
