// SubC with result scaling: every sample of every channel against
// round-half-even of the exact difference times 2^-sf, saturated, for
// scale factors that divide, multiply or leave it (the worked examples
// 10 - 20 -> 0 and 3, 5 halved -> 2 among them); bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/ipp_refusals.h"

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

// The shared refusals, the one picture the destination at the lower of
// the two steps; a null constant.
TEST(SubC, BadArgumentsWriteNothing)
{
    const Ipp8u v3[3] = {1, 2, 3};
    tultest::ExpectRefusals([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiSubC_8u_C1IRSfs(1, s ? d : nullptr, std::min(ss, ds), r, 0);
    }, 4, 4);
    tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiSubC_8u_C3IRSfs(v3, s ? d : nullptr, std::min(ss, ds), r, 0);
    }, 12, 12);
    Ipp8u p[3] = {7, 7, 7};
    EXPECT_EQ(ippiSubC_8u_C3IRSfs(nullptr, p, 3, {1, 1}, 0), ippStsNullPtrErr);
    EXPECT_EQ(p[0], 7);
}

}  // namespace
