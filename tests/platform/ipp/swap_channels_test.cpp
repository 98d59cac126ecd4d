// ippiSwapChannels_8u_C3R / C3IR: every order (repeats included), in place
// and not, against dst[c] = src[order[c]] per pixel; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

using tultest::GuardedBuffer;

// order (all 27, repeats included: digits of a number below 27 in base 3), width
class SwapChannelsOrders : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(SwapChannelsOrders, OutOfPlaceAndInPlace)
{
    const auto [o, w] = GetParam();
    const int order[3] = {o / 9, o / 3 % 3, o % 3};
    for (int h : {1, 2, 5}) {
        const int srcStep = 3 * w + 2, dstStep = 3 * w + 7;
        GuardedBuffer src(static_cast<unsigned>(srcStep) * static_cast<unsigned>(h));
        GuardedBuffer dst(static_cast<unsigned>(dstStep) * static_cast<unsigned>(h));
        tultest::FillRandom(src, 40 + w + h);
        tultest::FillRandom(dst, 50 + w + h);
        auto expected = dst.Bytes();
        auto expectedInPlace = src.Bytes();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 3; ++c) {
                    const Ipp8u s = src[static_cast<std::size_t>(y) * srcStep + 3 * x + order[c]];
                    expected[static_cast<std::size_t>(y) * dstStep + 3 * x + c] = s;
                    expectedInPlace[static_cast<std::size_t>(y) * srcStep + 3 * x + c] = s;
                }
        ASSERT_EQ(ippiSwapChannels_8u_C3R(src.data(), srcStep, dst.data(), dstStep, {w, h}, order), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << "height " << h;
        ASSERT_EQ(ippiSwapChannels_8u_C3IR(src.data(), srcStep, {w, h}, order), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expectedInPlace, src.Bytes())) << "in place, height " << h;
        EXPECT_TRUE(src.GuardsIntact() && dst.GuardsIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(All, SwapChannelsOrders,
                         ::testing::Combine(::testing::Range(0, 27), ::testing::Values(1, 2, 17, 720)));

TEST(SwapChannels, BadArgumentsWriteNothing)
{
    constexpr int kW = 4, kH = 3, kStep = 12;
    GuardedBuffer src(kStep * kH), dst(kStep * kH);
    tultest::FillRandom(src, 1);
    tultest::FillRandom(dst, 2);
    const auto srcBefore = src.Bytes(), dstBefore = dst.Bytes();
    const int good[3] = {2, 1, 0};
    const IppiSize roi{kW, kH};
    auto both = [&](const Ipp8u* s, int sStep, Ipp8u* d, int dStep, IppiSize r, const int* order) {
        const IppStatus out = ippiSwapChannels_8u_C3R(s, sStep, d, dStep, r, order);
        // The in-place form is checked on the destination argument.
        const IppStatus in = ippiSwapChannels_8u_C3IR(d, dStep, r, order);
        EXPECT_EQ(out, in);
        return out;
    };
    EXPECT_EQ(ippiSwapChannels_8u_C3R(nullptr, kStep, dst.data(), kStep, roi, good), ippStsNullPtrErr);
    EXPECT_EQ(both(src.data(), kStep, nullptr, kStep, roi, good), ippStsNullPtrErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep, roi, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep, {0, kH}, nullptr), ippStsNullPtrErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep, {0, kH}, good), ippStsSizeErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep, {kW, -1}, good), ippStsSizeErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep, {INT_MAX / 3 + 1, 1}, good), ippStsSizeErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), 0, roi, good), ippStsStepErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), -kStep, roi, good), ippStsStepErr);
    EXPECT_EQ(ippiSwapChannels_8u_C3R(src.data(), 0, dst.data(), kStep, roi, good), ippStsStepErr);
    EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep - 1, roi, good), ippStsStrideErr);
    const int badOrders[][3] = {{3, 1, 0}, {0, -1, 2}, {0, 1, 7}, {INT_MIN, 0, 0}};
    for (const auto& bad : badOrders)
        EXPECT_EQ(both(src.data(), kStep, dst.data(), kStep, roi, bad), ippStsChannelOrderErr);
    EXPECT_TRUE(tultest::SameBytes(srcBefore, src.Bytes()));
    EXPECT_TRUE(tultest::SameBytes(dstBefore, dst.Bytes()));
}

}  // namespace
