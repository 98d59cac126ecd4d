// ippiScale_8u32f_C3R, ippiScale_32f8u_C3R and ippiConvert_32f8u_C3R: the
// worked values and rounding edges, whole padded pictures against a double
// model of the equations, and the refusals, each writing nothing.
#include "platform/ipp/ippi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// One pixel (three equal channels) through a primitive.
Ipp8u Convert(float v, IppRoundMode mode)
{
    const float src[3] = {v, v, v};
    Ipp8u dst[3] = {};
    EXPECT_EQ(ippiConvert_32f8u_C3R(src, 12, dst, 3, {1, 1}, mode), ippStsNoErr);
    return dst[0];
}
float Scale(Ipp8u v, float lo, float hi)
{
    const Ipp8u src[3] = {v, v, v};
    float dst[3] = {};
    EXPECT_EQ(ippiScale_8u32f_C3R(src, 3, dst, 12, {1, 1}, lo, hi), ippStsNoErr);
    return dst[0];
}
Ipp8u Scale(float v, float lo, float hi)
{
    const float src[3] = {v, v, v};
    Ipp8u dst[3] = {};
    EXPECT_EQ(ippiScale_32f8u_C3R(src, 12, dst, 3, {1, 1}, lo, hi), ippStsNoErr);
    return dst[0];
}

TEST(ScaleConvert32f, WorkedValuesAndRoundingEdges)
{
    EXPECT_FLOAT_EQ(Scale(Ipp8u{128}, 0.0f, 219.0f), 109.92941f);
    EXPECT_FLOAT_EQ(Scale(Ipp8u{254}, 0.0f, 219.0f), 218.14117f);
    EXPECT_EQ(Scale(Ipp8u{255}, 0.0f, 219.0f), 219.0f);
    EXPECT_EQ(Scale(Ipp8u{0}, -3.0f, 5.0f), -3.0f);
    struct Case {
        float v;
        Ipp8u zero, near, financial;
    };
    const Case cases[] = {{109.93f, 109, 110, 110}, {-0.7f, 0, 0, 0},     {0.5f, 0, 0, 1},     {1.5f, 1, 2, 2},
                          {2.5f, 2, 2, 3},          {254.5f, 254, 254, 255}, {254.7f, 254, 255, 255},
                          {255.5f, 255, 255, 255},  {kInf, 255, 255, 255}, {-kInf, 0, 0, 0},   {kNaN, 0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Convert(c.v, ippRndZero), c.zero) << c.v;
        EXPECT_EQ(Convert(c.v, ippRndNear), c.near) << c.v;
        EXPECT_EQ(Convert(c.v, ippRndFinancial), c.financial) << c.v;
    }
    // 0..219 back to bytes: 219 is 255, beyond it saturates, halves go even
    // (109.5 * 255 / 219 is 127.5 exactly in float).
    EXPECT_EQ(Scale(219.0f, 0.0f, 219.0f), 255);
    EXPECT_EQ(Scale(230.0f, 0.0f, 219.0f), 255);
    EXPECT_EQ(Scale(-1.0f, 0.0f, 219.0f), 0);
    EXPECT_EQ(Scale(109.5f, 0.0f, 219.0f), 128);
    EXPECT_EQ(Scale(126.5f, 0.0f, 255.0f), 126);
    EXPECT_EQ(Scale(kNaN, 0.0f, 219.0f), 0);
}

// Padded pictures of random samples through each primitive against the
// equations in double: within a rounding step of the float evaluation.
TEST(ScaleConvert32f, PicturesFollowTheEquations)
{
    std::mt19937 rng(5);
    const int w = 13, h = 4, bytePitch = 3 * w + 5, floatPitch = 12 * w + 8;
    std::vector<Ipp8u> bytes(bytePitch * h), back(bytePitch * h, 0xEE);
    std::vector<float> floats(floatPitch / 4 * h);
    for (auto& b : bytes)
        b = static_cast<Ipp8u>(rng());
    const float lo = -20.0f, hi = 300.0f;
    ASSERT_EQ(ippiScale_8u32f_C3R(bytes.data(), bytePitch, floats.data(), floatPitch, {w, h}, lo, hi), ippStsNoErr);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < 3 * w; ++i) {
            const double s = bytes[y * bytePitch + i], f = floats[y * floatPitch / 4 + i];
            EXPECT_NEAR(f, lo + (hi - lo) * s / 255.0, 1e-4);
            floats[y * floatPitch / 4 + i] = static_cast<float>(f * 1.37 - 40.0);  // beyond both ends too
        }
    for (int mode = 0; mode < 2; ++mode) {
        const IppStatus status =
            mode == 0 ? ippiScale_32f8u_C3R(floats.data(), floatPitch, back.data(), bytePitch, {w, h}, lo, hi)
                      : ippiConvert_32f8u_C3R(floats.data(), floatPitch, back.data(), bytePitch, {w, h}, ippRndZero);
        ASSERT_EQ(status, ippStsNoErr);
        for (int y = 0; y < h; ++y) {
            for (int i = 0; i < 3 * w; ++i) {
                const double f = floats[y * floatPitch / 4 + i];
                const double model = mode == 0 ? std::nearbyint((f - lo) * 255.0 / (hi - lo)) : std::trunc(f);
                EXPECT_NEAR(back[y * bytePitch + i], std::fmin(255.0, std::fmax(0.0, model)), 1.0) << f;
            }
            for (int i = 3 * w; i < bytePitch; ++i)
                EXPECT_EQ(back[y * bytePitch + i], 0xEE);
        }
    }
}

// Null pointers, sizes, steps (at or below 0, or written rows that would
// overlap), empty or reversed ranges and unknown rounding modes.
TEST(ScaleConvert32f, RefusalsWriteNothing)
{
    float f[12] = {};
    Ipp8u b[12] = {};
    Ipp8u out[12];
    float outF[12];
    std::memset(out, 0x77, sizeof out);
    std::memset(outF, 0x77, sizeof outF);
    const IppiSize one{1, 2};
    EXPECT_EQ(ippiConvert_32f8u_C3R(nullptr, 12, out, 3, one, ippRndZero), ippStsNullPtrErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 3, {0, 2}, ippRndZero), ippStsSizeErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 0, out, 3, one, ippRndZero), ippStsStepErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 2, one, ippRndZero), ippStsStrideErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 3, one, static_cast<IppRoundMode>(3)),
              ippStsRoundModeNotSupportedErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, nullptr, 12, one, 0, 1), ippStsNullPtrErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, outF, 12, {1, -1}, 0, 1), ippStsSizeErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, -3, outF, 12, one, 0, 1), ippStsStepErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, outF, 8, one, 0, 1), ippStsStrideErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, out, 3, one, 5, 5), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, out, 3, one, 5, 4), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, outF, 12, one, 0, kNaN), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, nullptr, 3, one, 0, 1), ippStsNullPtrErr);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(out[i], 0x77);
        EXPECT_EQ(std::memcmp(&outF[i], "\x77\x77\x77\x77", 4), 0);
    }
}

}  // namespace
