// The colour equations of the conversion primitives, as exact integers.
//
// Rounding, decided once for every colour row (scalar and vector alike):
// each equation is evaluated exactly in integers, with the BT.601
// coefficients scaled by 1000 and the JFIF ones by 100000 (the precision
// they are published with), then rounded to nearest with halves up, then
// saturated to 0..255. A double evaluation is not well defined at the
// ties: 16.5 (Y 48 or Cr 115 in some equations) comes out as 16.4999...,
// so doubles would round some exact halves down. Vector rows must give
// these bytes exactly, whatever arithmetic they use to get there.
#pragma once

#include <cstdint>

namespace tulipp::color {

// floor(n / d + 1/2) for d > 0 and any sign of n: round half up.
constexpr std::int64_t RoundHalfUp(std::int64_t n, std::int64_t d)
{
    const std::int64_t t = 2 * n + d;  // floor((2n + d) / 2d)
    const std::int64_t q = t / (2 * d);
    return (t % (2 * d) != 0 && t < 0) ? q - 1 : q;
}

constexpr std::uint8_t Saturate(std::int64_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<std::uint8_t>(v); }

// BT.601 studio range (x1000), RGB 0..255 against Y 16..235, Cb/Cr 16..240:
//   Y  =  0.257 R + 0.504 G + 0.098 B + 16
//   Cb = -0.148 R - 0.291 G + 0.439 B + 128
//   Cr =  0.439 R - 0.368 G - 0.071 B + 128
//   R = 1.164 (Y-16)                 + 1.596 (Cr-128)
//   G = 1.164 (Y-16) - 0.392 (Cb-128) - 0.813 (Cr-128)
//   B = 1.164 (Y-16) + 2.017 (Cb-128)
namespace bt601 {
constexpr int kScale = 1000;
constexpr int kYr = 257, kYg = 504, kYb = 98, kYOffset = 16;
constexpr int kCbR = -148, kCbG = -291, kCbB = 439;
constexpr int kCrR = 439, kCrG = -368, kCrB = -71;
constexpr int kChromaOffset = 128;
constexpr int kY = 1164, kRCr = 1596, kGCb = -392, kGCr = -813, kBCb = 2017;
}  // namespace bt601

// JFIF full range (x100000), no offsets on Y:
//   Y  =  0.29900 R + 0.58700 G + 0.11400 B
//   Cb = -0.16874 R - 0.33126 G + 0.50000 B + 128
//   Cr =  0.50000 R - 0.41869 G - 0.08131 B + 128
//   R = Y + 1.40200 (Cr-128)
//   G = Y - 0.34414 (Cb-128) - 0.71414 (Cr-128)
//   B = Y + 1.77200 (Cb-128)
namespace jfif {
constexpr int kScale = 100000;
constexpr int kYr = 29900, kYg = 58700, kYb = 11400;
constexpr int kCbR = -16874, kCbG = -33126, kCbB = 50000;
constexpr int kCrR = 50000, kCrG = -41869, kCrB = -8131;
constexpr int kChromaOffset = 128;
constexpr int kRCr = 140200, kGCb = -34414, kGCr = -71414, kBCb = 177200;
}  // namespace jfif

static_assert(RoundHalfUp(33, 2) == 17 && RoundHalfUp(-33, 2) == -16 && RoundHalfUp(-34, 4) == -8 &&
              RoundHalfUp(16500, 1000) == 17 && RoundHalfUp(16499, 1000) == 16);
// The studio anchors: black and white of full-range RGB.
static_assert(RoundHalfUp(bt601::kYOffset * bt601::kScale, bt601::kScale) == 16);
static_assert(RoundHalfUp((bt601::kYr + bt601::kYg + bt601::kYb) * 255 + 16 * bt601::kScale, bt601::kScale) == 235);

}  // namespace tulipp::color
