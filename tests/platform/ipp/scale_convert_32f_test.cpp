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
    // Bytes onto [0, 219]: 128 -> 109.92941, 254 -> 218.14117, 255 -> 219.
    const Ipp8u bytes[8] = {128, 254, 255, 0, 0, 0, 0, 0xAA};
    float f[8] = {};
    ASSERT_EQ(ippiScale_8u32f_C3R(bytes, 4, f, 16, {1, 2}, 0.0f, 219.0f), ippStsNoErr);
    EXPECT_FLOAT_EQ(f[0], 109.92941f);
    EXPECT_FLOAT_EQ(f[1], 218.14117f);
    EXPECT_EQ(f[2], 219.0f);
    EXPECT_EQ(f[3], 0.0f);  // padding between the rows left alone
    struct Case {
        float v;
        Ipp8u zero, near, financial, scaled;  // scaled: from [0, 219]
    };
    const Case cases[] = {{109.93f, 109, 110, 110, 128}, {-0.7f, 0, 0, 0, 0},        {0.5f, 0, 0, 1, 1},
                          {1.5f, 1, 2, 2, 2},            {2.5f, 2, 2, 3, 3},         {254.5f, 254, 254, 255, 255},
                          {109.5f, 109, 110, 110, 128},  {219.0f, 219, 219, 219, 255}, {255.5f, 255, 255, 255, 255},
                          {kInf, 255, 255, 255, 255},    {-kInf, 0, 0, 0, 0},        {kNaN, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        const float src[3] = {c.v, c.v, c.v};
        Ipp8u out[4][3];
        for (int mode = 0; mode < 3; ++mode)
            ASSERT_EQ(ippiConvert_32f8u_C3R(src, 12, out[mode], 3, {1, 1}, static_cast<IppRoundMode>(mode)), 0);
        ASSERT_EQ(ippiScale_32f8u_C3R(src, 12, out[3], 3, {1, 1}, 0.0f, 219.0f), ippStsNoErr);
        EXPECT_EQ(out[0][2], c.zero) << c.v;
        EXPECT_EQ(out[1][2], c.near) << c.v;
        EXPECT_EQ(out[2][2], c.financial) << c.v;
        EXPECT_EQ(out[3][2], c.scaled) << c.v;  // 109.5 x 255 / 219 is 127.5 exactly: to even
    }
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
