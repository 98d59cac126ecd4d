// ippiScale_8u32f_C3R, ippiScale_32f8u_C3R and ippiConvert_32f8u_C3R: the
// worked values and rounding edges on a padded two-row picture (the
// kernels' chain tests run them over whole pictures), and the refusals.
#include "platform/ipp/ippi.h"
#include "tests/support/ipp_refusals.h"

#include <gtest/gtest.h>

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

// The shared refusals (float pictures through the byte buffers), then
// unknown rounding modes and empty, reversed or NaN ranges.
TEST(ScaleConvert32f, RefusalsWriteNothing)
{
    const auto F = [](const Ipp8u* p) { return reinterpret_cast<const Ipp32f*>(p); };
    tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiConvert_32f8u_C3R(F(s), ss, d, ds, r, ippRndZero);
    }, 48, 12);
    tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiScale_8u32f_C3R(s, ss, reinterpret_cast<Ipp32f*>(d), ds, r, 0, 1);
    }, 12, 48);
    tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiScale_32f8u_C3R(F(s), ss, d, ds, r, 0, 219);
    }, 48, 12);
    const float f[6] = {};
    Ipp8u out[6] = {};
    std::vector<float> outF(6, 7.0f);
    EXPECT_EQ(ippiConvert_32f8u_C3R(f, 12, out, 3, {1, 2}, static_cast<IppRoundMode>(3)), ippStsRoundModeNotSupportedErr);
    EXPECT_EQ(ippiScale_8u32f_C3R(out, 3, outF.data(), 12, {1, 2}, 0, kNaN), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, out, 3, {1, 2}, 5, 5), ippStsScaleRangeErr);
    EXPECT_EQ(ippiScale_32f8u_C3R(f, 12, out, 3, {1, 2}, 5, 4), ippStsScaleRangeErr);
    EXPECT_TRUE(std::vector<Ipp8u>(out, out + 6) == std::vector<Ipp8u>(6, 0) && outF == std::vector<float>(6, 7.0f));
}

}  // namespace
