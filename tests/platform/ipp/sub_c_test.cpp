// SubC with result scaling: every sample value of every channel against
// round-half-even of the exact difference times 2^-sf, saturated, over
// scale factors that divide, multiply and leave it; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using tultest::GuardedBuffer;

// nearbyint rounds halves to even in the default rounding mode; the
// product of a small integer and a power of two is exact in a double.
int Model(int sample, int value, int sf)
{
    const double scaled = std::nearbyint(std::ldexp(double(sample - value), -std::clamp(sf, -64, 64)));
    return scaled < 0 ? 0 : scaled > 255 ? 255 : int(scaled);
}

TEST(SubC, EverySampleAndScale)
{
    // Rows of 256 pixels, sample value = column, at a padded step.
    constexpr int kW = 256, kH = 2;
    const Ipp8u values[3] = {16, 0, 201};
    for (int sf : {INT_MIN, -9, -1, 0, 1, 2, 3, 8, 9, 31, INT_MAX}) {
        for (const int channels : {1, 3}) {
            const int step = channels * kW + 3;
            GuardedBuffer p(unsigned(step) * unsigned(kH), 0x3C);
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x)
                    for (int c = 0; c < channels; ++c)
                        p[unsigned(y) * unsigned(step) + channels * x + c] = static_cast<Ipp8u>(x);
            auto expected = p.Bytes();
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x)
                    for (int c = 0; c < channels; ++c)
                        expected[unsigned(y) * unsigned(step) + channels * x + c] = static_cast<Ipp8u>(Model(x, values[c], sf));
            const IppStatus status = channels == 1 ? ippiSubC_8u_C1IRSfs(values[0], p.data(), step, {kW, kH}, sf)
                                                   : ippiSubC_8u_C3IRSfs(values, p.data(), step, {kW, kH}, sf);
            ASSERT_EQ(status, ippStsNoErr);
            EXPECT_TRUE(tultest::SameBytes(expected, p.Bytes())) << "sf " << sf << " channels " << channels;
            EXPECT_TRUE(p.GuardsIntact());
        }
    }
    // The worked examples of the scaling rule: 10 - 20 is 0; 3 and 5
    // halved are 2 (halves to even).
    Ipp8u px[2] = {10, 23};
    ASSERT_EQ(ippiSubC_8u_C1IRSfs(20, px, 2, {1, 1}, 0), ippStsNoErr);
    ASSERT_EQ(ippiSubC_8u_C1IRSfs(20, px + 1, 1, {1, 1}, 1), ippStsNoErr);
    EXPECT_EQ(px[0], 0);
    EXPECT_EQ(px[1], 2);
}

TEST(SubC, BadArgumentsWriteNothing)
{
    GuardedBuffer p(24, 0x55);
    const Ipp8u v3[3] = {1, 2, 3};
    const auto both = [&](Ipp8u* ptr, int step, IppiSize roi, IppStatus expected) {
        EXPECT_EQ(ippiSubC_8u_C1IRSfs(1, ptr, step, roi, 0), expected);
        EXPECT_EQ(ippiSubC_8u_C3IRSfs(ptr == nullptr ? v3 : v3, ptr, 3 * step, roi, 0), expected);
    };
    both(nullptr, 4, {4, 2}, ippStsNullPtrErr);
    EXPECT_EQ(ippiSubC_8u_C3IRSfs(nullptr, p.data(), 12, {4, 2}, 0), ippStsNullPtrErr);
    both(p.data(), 4, {0, 2}, ippStsSizeErr);
    both(p.data(), 0, {4, -1}, ippStsSizeErr);
    both(p.data(), 0, {4, 2}, ippStsStepErr);
    both(p.data(), -4, {4, 2}, ippStsStepErr);
    both(p.data(), 3, {4, 2}, ippStsStrideErr);
    EXPECT_EQ(p.Bytes(), std::vector<unsigned char>(24, 0x55));
}

}  // namespace
