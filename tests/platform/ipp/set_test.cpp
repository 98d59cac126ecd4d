// ippiSet_8u_C1R / C4CR: the ROI (or its one channel) filled, padding and
// other channels untouched, and bad arguments refused.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

using tultest::GuardedBuffer;

class SetRoi : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

// C1 fills every byte of the ROI; C4CR, given a pointer to one channel,
// only that channel of each pixel.
TEST_P(SetRoi, FillsOnlyTheRoiAndItsChannel)
{
    const auto [w, h, padded] = GetParam();
    const struct {
        int channels, channel;
    } forms[] = {{1, 0}, {4, 0}, {4, 1}, {4, 2}, {4, 3}};
    for (const auto [n, channel] : forms) {
        const int step = n * w + (padded ? 13 : 0);
        GuardedBuffer buf(static_cast<unsigned>(step) * static_cast<unsigned>(h));
        tultest::FillRandom(buf, 11 + n + channel);
        auto expected = buf.Bytes();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                expected[static_cast<std::size_t>(y) * step + n * x + channel] = 0xC7;
        const auto set = n == 1 ? ippiSet_8u_C1R : ippiSet_8u_C4CR;
        ASSERT_EQ(set(0xC7, buf.data() + channel, step, {w, h}), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expected, buf.Bytes())) << n << " channels, channel " << channel;
        EXPECT_TRUE(buf.GuardsIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SetRoi,
                         ::testing::Combine(::testing::Values(1, 2, 3, 16, 17, 719), ::testing::Values(1, 2, 5),
                                            ::testing::Bool()));

TEST(SetBadArgs, StatusesAndNothingWritten)
{
    GuardedBuffer buf(4 * 8 * 4, 0x42);
    const auto before = buf.Bytes();
    for (auto set : {ippiSet_8u_C1R, ippiSet_8u_C4CR}) {
        EXPECT_EQ(set(1, nullptr, 32, {8, 4}), ippStsNullPtrErr);
        EXPECT_EQ(set(1, nullptr, 0, {0, 0}), ippStsNullPtrErr);
        EXPECT_EQ(set(1, buf.data(), 32, {0, 4}), ippStsSizeErr);
        EXPECT_EQ(set(1, buf.data(), 32, {8, -1}), ippStsSizeErr);
        EXPECT_EQ(set(1, buf.data(), 0, {0, 4}), ippStsSizeErr);
        EXPECT_EQ(set(1, buf.data(), 0, {8, 4}), ippStsStepErr);
        EXPECT_EQ(set(1, buf.data(), -32, {8, 4}), ippStsStepErr);
    }
    // A four-channel row past INT_MAX bytes cannot be addressed by a step.
    EXPECT_EQ(ippiSet_8u_C4CR(1, buf.data(), 32, {INT_MAX / 4 + 1, 1}), ippStsSizeErr);
    // Rows that would overlap: a step shorter than the written row.
    EXPECT_EQ(ippiSet_8u_C1R(1, buf.data(), 7, {8, 4}), ippStsStrideErr);
    EXPECT_EQ(ippiSet_8u_C4CR(1, buf.data(), 31, {8, 4}), ippStsStrideErr);
    EXPECT_TRUE(tultest::SameBytes(before, buf.Bytes()));
    // A single row has nothing to overlap with.
    EXPECT_EQ(ippiSet_8u_C1R(9, buf.data(), 1, {8, 1}), ippStsNoErr);
    EXPECT_EQ(buf[7], 9);
    EXPECT_EQ(buf[8], 0x42);
}

}  // namespace
