// SubC with result scaling: every sample of every channel against
// round-half-even of the exact difference times 2^-sf, saturated, for
// scale factors that divide, multiply or leave it (the worked examples
// 10 - 20 -> 0 and 3, 5 halved -> 2 among them); bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using tultest::GuardedBuffer;

TEST(SubC, EverySampleAndScale)
{
    const Ipp8u values[3] = {16, 0, 201};
    for (int sf : {INT_MIN, -9, -1, 0, 1, 2, 3, 8, 9, 31, INT_MAX}) {
        for (const int channels : {1, 3}) {
            // Two rows of 256 pixels (value = column) at a padded step.
            const int step = channels * 256 + 3;
            GuardedBuffer p(unsigned(2 * step), 0x3C);
            for (int i = 0; i < 2 * 256 * channels; ++i)
                p[unsigned(i / (256 * channels) * step + i % (256 * channels))] = static_cast<Ipp8u>(i % (256 * channels) / channels);
            auto expected = p.Bytes();
            for (int i = 0; i < 2 * 256 * channels; ++i) {
                // nearbyint rounds halves to even; the scaled value is exact.
                const int x = i % (256 * channels) / channels, c = i % channels;
                const double v = std::nearbyint(std::ldexp(double(x - values[c]), -std::clamp(sf, -64, 64)));
                expected[unsigned(i / (256 * channels) * step + i % (256 * channels))] = static_cast<Ipp8u>(std::clamp(v, 0.0, 255.0));
            }
            ASSERT_EQ(channels == 1 ? ippiSubC_8u_C1IRSfs(values[0], p.data(), step, {256, 2}, sf)
                                    : ippiSubC_8u_C3IRSfs(values, p.data(), step, {256, 2}, sf),
                      ippStsNoErr);
            EXPECT_TRUE(tultest::SameBytes(expected, p.Bytes())) << "sf " << sf << " channels " << channels;
        }
    }
}

TEST(SubC, BadArgumentsWriteNothing)
{
    GuardedBuffer p(24, 0x55);
    const Ipp8u v3[3] = {1, 2, 3};
    for (const auto& [ptr, step, roi, expected] :
         {std::tuple{(Ipp8u*)nullptr, 4, IppiSize{4, 2}, ippStsNullPtrErr}, {p.data(), 4, {0, 2}, ippStsSizeErr},
          {p.data(), 0, {4, -1}, ippStsSizeErr}, {p.data(), 0, {4, 2}, ippStsStepErr},
          {p.data(), -4, {4, 2}, ippStsStepErr}, {p.data(), 3, {4, 2}, ippStsStrideErr}}) {
        EXPECT_EQ(ippiSubC_8u_C1IRSfs(1, ptr, step, roi, 0), expected);
        EXPECT_EQ(ippiSubC_8u_C3IRSfs(v3, ptr, 3 * step, roi, 0), expected);
    }
    EXPECT_EQ(ippiSubC_8u_C3IRSfs(nullptr, p.data(), 12, {4, 2}, 0), ippStsNullPtrErr);
    EXPECT_EQ(p.Bytes(), std::vector<unsigned char>(24, 0x55));
}

}  // namespace
