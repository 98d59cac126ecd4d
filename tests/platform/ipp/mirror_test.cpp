// ippiMirror_8u_C1IR / C3IR / C4IR: every axis against a plain model for
// odd and even sizes, pixels kept whole, padding untouched; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

namespace {

using tultest::GuardedBuffer;

using MirrorFn = IppStatus (*)(Ipp8u*, int, IppiSize, IppiAxis);

MirrorFn MirrorFor(int channels)
{
    return channels == 1 ? ippiMirror_8u_C1IR : channels == 3 ? ippiMirror_8u_C3IR : ippiMirror_8u_C4IR;
}

// channels, width, height, axis
class MirrorAxes : public ::testing::TestWithParam<std::tuple<int, int, int, IppiAxis>> {};

TEST_P(MirrorAxes, MatchesModel)
{
    const auto [n, w, h, axis] = GetParam();
    const int step = n * w + 5;  // padding must survive
    const unsigned bytes = static_cast<unsigned>(step) * static_cast<unsigned>(h);
    GuardedBuffer buf(bytes);
    tultest::FillRandom(buf, 31 + n * 1000 + w * 10 + h);
    const auto original = buf.Bytes();
    auto expected = original;
    for (int y = 0; y < h; ++y) {
        const int fromY = axis == ippAxsVertical ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            const int fromX = axis == ippAxsHorizontal ? x : w - 1 - x;
            for (int c = 0; c < n; ++c)
                expected[static_cast<std::size_t>(y) * step + n * x + c] =
                    original[static_cast<std::size_t>(fromY) * step + n * fromX + c];
        }
    }
    ASSERT_EQ(MirrorFor(n)(buf.data(), step, {w, h}, axis), ippStsNoErr);
    EXPECT_TRUE(tultest::SameBytes(expected, buf.Bytes()));
    EXPECT_TRUE(buf.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(All, MirrorAxes,
                         ::testing::Combine(::testing::Values(1, 3, 4), ::testing::Values(1, 2, 3, 4, 17, 64, 719),
                                            ::testing::Values(1, 2, 3, 6),
                                            ::testing::Values(ippAxsHorizontal, ippAxsVertical, ippAxsBoth)));

TEST(Mirror, BadArgumentsWriteNothing)
{
    for (int n : {1, 3, 4}) {
        const MirrorFn mirror = MirrorFor(n);
        const int step = 4 * n;
        GuardedBuffer buf(static_cast<std::size_t>(step) * 3);
        tultest::FillRandom(buf, 3);
        const auto before = buf.Bytes();
        EXPECT_EQ(mirror(nullptr, step, {4, 3}, ippAxsBoth), ippStsNullPtrErr);
        EXPECT_EQ(mirror(nullptr, 0, {0, 3}, static_cast<IppiAxis>(9)), ippStsNullPtrErr);
        EXPECT_EQ(mirror(buf.data(), step, {0, 3}, ippAxsBoth), ippStsSizeErr);
        EXPECT_EQ(mirror(buf.data(), step, {4, -3}, ippAxsBoth), ippStsSizeErr);
        EXPECT_EQ(mirror(buf.data(), 0, {0, 3}, static_cast<IppiAxis>(9)), ippStsSizeErr);
        if (n > 1) {
            EXPECT_EQ(mirror(buf.data(), step, {INT_MAX / 3 + 1, 1}, ippAxsVertical), ippStsSizeErr);
        }
        EXPECT_EQ(mirror(buf.data(), 0, {4, 3}, ippAxsBoth), ippStsStepErr);
        EXPECT_EQ(mirror(buf.data(), -step, {4, 3}, ippAxsBoth), ippStsStepErr);
        EXPECT_EQ(mirror(buf.data(), 0, {4, 3}, static_cast<IppiAxis>(9)), ippStsStepErr);
        EXPECT_EQ(mirror(buf.data(), step - 1, {4, 3}, ippAxsHorizontal), ippStsStrideErr);
        for (int axis : {-1, 3, 4, 100})
            EXPECT_EQ(mirror(buf.data(), step, {4, 3}, static_cast<IppiAxis>(axis)), ippStsMirrorFlipErr);
        EXPECT_TRUE(tultest::SameBytes(before, buf.Bytes())) << n;
    }
}

}  // namespace
