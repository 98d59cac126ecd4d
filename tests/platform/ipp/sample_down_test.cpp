// JPEG 2:1 downsamplers against a plain box model with the alternating
// bias, over even, odd, smaller and larger destination sizes; bad
// arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/ipp_refusals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using tultest::GuardedBuffer;

struct Case {
    IppiSize src, dst;
};

class SampleDown : public ::testing::TestWithParam<Case> {};

TEST_P(SampleDown, MatchesBoxModel)
{
    const auto [s, d] = GetParam();
    const int srcStep = s.width + 3, dstStep = d.width + 2;
    GuardedBuffer src(static_cast<std::size_t>(srcStep) * s.height);
    tultest::FillRandom(src, 3u * s.width + s.height);
    auto in = [&](int x, int y) { return int{src[static_cast<std::size_t>(std::min(y, s.height - 1)) * srcStep +
                                                 std::min(x, s.width - 1)]}; };
    for (bool v2 : {false, true}) {
        // The model: a missing right column or bottom row repeats the last;
        // outputs past the last whole-or-edge block repeat it; rows past
        // the computed ones keep their bytes.
        std::vector<Ipp8u> expected(static_cast<std::size_t>(dstStep) * d.height, 0x5A);
        const int cols = (s.width + 1) / 2, rows = std::min(d.height, v2 ? (s.height + 1) / 2 : s.height);
        for (int j = 0; j < rows; ++j)
            for (int i = 0; i < d.width; ++i) {
                const int k = std::min(i, cols - 1);
                const int sum = v2 ? in(2 * k, 2 * j) + in(2 * k + 1, 2 * j) + in(2 * k, 2 * j + 1) +
                                         in(2 * k + 1, 2 * j + 1) + 1 + k % 2
                                   : in(2 * k, j) + in(2 * k + 1, j) + k % 2;
                expected[static_cast<std::size_t>(j) * dstStep + i] = static_cast<Ipp8u>(sum >> (v2 ? 2 : 1));
            }
        GuardedBuffer dst(expected.size(), 0x5A);
        const auto fn = v2 ? ippiSampleDownH2V2_JPEG_8u_C1R : ippiSampleDownH2V1_JPEG_8u_C1R;
        ASSERT_EQ(fn(src.data(), srcStep, s, dst.data(), dstStep, d), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << (v2 ? "H2V2" : "H2V1");
        EXPECT_TRUE(dst.GuardsIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SampleDown,
                         ::testing::Values(Case{{8, 4}, {4, 2}}, Case{{40, 6}, {20, 3}}, Case{{7, 5}, {4, 3}},
                                           Case{{7, 5}, {3, 2}}, Case{{5, 3}, {6, 4}}, Case{{1, 1}, {1, 1}}));

TEST(SampleDownArgs, BadArgumentsWriteNothing)
{
    for (auto fn : {ippiSampleDownH2V1_JPEG_8u_C1R, ippiSampleDownH2V2_JPEG_8u_C1R})
        tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
            return fn(s, ss, {2 * r.width, 2 * r.height}, d, ds, r);
        }, 8, 4);
}

}  // namespace
