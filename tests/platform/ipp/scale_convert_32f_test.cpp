// ippiScale_8u32f_C3R, ippiScale_32f8u_C3R and ippiConvert_32f8u_C3R: the
// worked values and rounding edges on a padded two-row picture (the
// kernels' chain tests run them over whole pictures), and the refusals.
#include "platform/ipp/ippi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity(), kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(ScaleConvert32f, WorkedValuesAndRoundingEdges)
{
    // Bytes onto [0, 219] (128 -> 109.92941, 254 -> 218.14117, 255 -> 219),
    // two rows apart, the padding between them left alone.
    const Ipp8u bytes[8] = {128, 254, 255, 0, 0, 0, 0, 0xAA};
    float f[8] = {};
    ASSERT_EQ(ippiScale_8u32f_C3R(bytes, 4, f, 16, {1, 2}, 0.0f, 219.0f), ippStsNoErr);
    EXPECT_TRUE(f[0] == 109.92941f && f[1] == 218.14117f && f[2] == 219.0f && f[3] == 0.0f);
    // Floats to bytes by each rounding mode, and scaled from [0, 219]
    // (109.5 x 255 / 219 is 127.5 exactly: halves go even).
    const float v[12] = {109.93f, -0.7f, 0.5f, 1.5f, 2.5f, 254.5f, 109.5f, 219.0f, 255.5f, kInf, -kInf, kNaN};
    const Ipp8u expected[4][12] = {{109, 0, 0, 1, 2, 254, 109, 219, 255, 255, 0, 0},
                                   {110, 0, 0, 2, 2, 254, 110, 219, 255, 255, 0, 0},
                                   {110, 0, 1, 2, 3, 255, 110, 219, 255, 255, 0, 0},
                                   {128, 0, 1, 2, 3, 255, 128, 255, 255, 255, 0, 0}};
    Ipp8u out[4][12];
    for (int mode = 0; mode < 3; ++mode)
        ASSERT_EQ(ippiConvert_32f8u_C3R(v, 48, out[mode], 12, {4, 1}, static_cast<IppRoundMode>(mode)), 0);
    ASSERT_EQ(ippiScale_32f8u_C3R(v, 48, out[3], 12, {4, 1}, 0.0f, 219.0f), ippStsNoErr);
    for (int m = 0; m < 4; ++m)
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(out[m][i], expected[m][i]) << "mode " << m << ", " << v[i];
}

// Null pointers, sizes, steps (at or below 0, or written rows that would
// overlap), empty, reversed or NaN ranges and unknown rounding modes.
TEST(ScaleConvert32f, RefusalsWriteNothing)
{
    const float f[6] = {};
    const Ipp8u b[6] = {};
    Ipp8u out[6];
    float outF[6];
    std::memset(out, 0x77, sizeof out);
    std::memset(outF, 0x77, sizeof outF);
    const IppiSize two{1, 2};
    EXPECT_EQ(ippiConvert_32f8u_C3R(nullptr, 12, out, 3, two, ippRndZero), ippStsNullPtrErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 3, {0, 2}, ippRndZero), ippStsSizeErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 0, out, 3, two, ippRndZero), ippStsStepErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 2, two, ippRndZero), ippStsStrideErr);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 3, two, static_cast<IppRoundMode>(3)), ippStsRoundModeNotSupportedErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, nullptr, 12, two, 0, 1), ippStsNullPtrErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, outF, 12, {1, -1}, 0, 1), ippStsSizeErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, -3, outF, 12, two, 0, 1), ippStsStepErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, outF, 8, two, 0, 1), ippStsStrideErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(b, 3, outF, 12, two, 0, kNaN), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, nullptr, 3, two, 0, 1), ippStsNullPtrErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, out, 3, two, 5, 5), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, out, 3, two, 5, 4), ippStsScaleRangeErr);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(out[i] == 0x77 && std::memcmp(&outF[i], "\x77\x77\x77\x77", 4) == 0) << i;
}

}  // namespace
