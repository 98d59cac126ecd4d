// JPEG 2:1 upsampling: the triangle filter written as one 2-D weighting
// (9, 3, 3, 1 over 16 for H2V2; 3, 1 over 4 for H2V1) with clamped
// neighbours, over widths and heights (1 included), padded steps and
// wider, narrower or taller destinations; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/ipp_refusals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

using tultest::GuardedBuffer;

// Output (x, y) lies between input column x/2 and its nearer neighbour
// (left for even x, right for odd x), likewise rows in H2V2. Rounding
// constants 1, 2 (H2V1) and 8, 7 (H2V2) alternate with the column.
int Model(const GuardedBuffer& in, int step, int w, int h, bool v2, int x, int y)
{
    const auto at = [&](int r, int c) { return int(in[unsigned(std::clamp(r, 0, h - 1) * step + std::clamp(c, 0, w - 1))]); };
    const int i = x / 2, fi = x % 2 == 0 ? i - 1 : i + 1;
    if (!v2)
        return (3 * at(y, i) + at(y, fi) + 1 + x % 2) >> 2;
    const int j = y / 2, fj = y % 2 == 0 ? j - 1 : j + 1;
    return (9 * at(j, i) + 3 * at(fj, i) + 3 * at(j, fi) + at(fj, fi) + 8 - x % 2) >> 4;
}

// H2V2 or not, source width, source height
class SampleUp : public ::testing::TestWithParam<std::tuple<bool, int, int>> {};

TEST_P(SampleUp, MatchesTheFilter)
{
    const auto [v2, w, h] = GetParam();
    const int fullH = v2 ? 2 * h : h;
    // The natural size, a column more (the last value repeated), two
    // fewer (cut) with a row more (left alone).
    for (const auto& [dw, dh] : {std::pair{2 * w, fullH}, {2 * w + 1, fullH}, {std::max(2 * w - 2, 1), fullH + 1}}) {
        const int ss = w + 3, ds = dw + 5;
        GuardedBuffer src(unsigned(ss * h)), dst(unsigned(ds * dh));
        tultest::FillRandom(src, 10 * w + h), tultest::FillRandom(dst, 3);
        auto expected = dst.Bytes();
        for (int y = 0; y < std::min(dh, fullH); ++y)
            for (int x = 0; x < dw; ++x)
                expected[unsigned(y * ds + x)] = static_cast<Ipp8u>(Model(src, ss, w, h, v2, std::min(x, 2 * w - 1), y));
        const auto call = v2 ? ippiSampleUpH2V2_JPEG_8u_C1R : ippiSampleUpH2V1_JPEG_8u_C1R;
        ASSERT_EQ(call(src.data(), ss, {w, h}, dst.data(), ds, {dw, dh}), ippStsNoErr);
        EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << dw << "x" << dh;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SampleUp,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(1, 2, 3, 8, 33), ::testing::Values(1, 2, 5)));

TEST(SampleUp, BadArgumentsWriteNothing)
{
    for (const auto call : {ippiSampleUpH2V1_JPEG_8u_C1R, ippiSampleUpH2V2_JPEG_8u_C1R})
        tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
            return call(s, ss, r, d, ds, {2 * r.width, 2 * r.height});
        }, 4, 8);
}

}  // namespace
