// Scale factors with the broadcast table, and the interpolation choice.
#include "tests/image/resize/resize_internals.h"

#include <gtest/gtest.h>

namespace {

struct FactorCase {
    IppiSize src, dst;
    bool needed;
    double x, y;
    int srcMargin, dstMargin;
};

class ResizeFactor : public ::testing::TestWithParam<FactorCase> {};

TEST_P(ResizeFactor, GivesFactorsAndMargins)
{
    const FactorCase& c = GetParam();
    double x = -1, y = -1;
    int sm = -1, dm = -1;
    EXPECT_EQ(tul::GetResizeFactor(c.src, c.dst, &x, &y, &sm, &dm), c.needed);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(sm, c.srcMargin);
    EXPECT_EQ(dm, c.dstMargin);
}

INSTANTIATE_TEST_SUITE_P(
    BroadcastWidthsAndPlainPairs, ResizeFactor,
    ::testing::Values(
        FactorCase{{720, 480}, {720, 480}, false, 1.0, 1.0, 0, 0},
        FactorCase{{720, 480}, {704, 480}, true, 1.0, 1.0, 16, 0},
        // 704 needs a height of 480 or 576: no row matches.
        FactorCase{{720, 480}, {704, 240}, true, 704.0 / 720.0, 0.5, 0, 0},
        FactorCase{{1440, 1080}, {352, 240}, true, 0.25, 240.0 / 1080.0, 32, 0},
        FactorCase{{352, 288}, {720, 576}, true, 2.0, 2.0, 0, 16},
        FactorCase{{352, 240}, {1440, 1080}, true, 4.0, 4.5, 0, 32},
        FactorCase{{720, 576}, {352, 288}, true, 0.5, 0.5, 16, 0},
        FactorCase{{704, 576}, {720, 480}, true, 1.0, 480.0 / 576.0, 0, 16},
        FactorCase{{704, 480}, {1440, 1080}, true, 2.0, 2.25, 0, 32},
        FactorCase{{1440, 1080}, {704, 576}, true, 0.5, 576.0 / 1080.0, 32, 0},
        FactorCase{{640, 480}, {320, 240}, true, 0.5, 0.5, 0, 0}));

TEST(ResizeFactorMargins, NullMarginPointersAreNotWritten)
{
    double x = 0, y = 0;
    EXPECT_TRUE(tul::GetResizeFactor({720, 480}, {704, 480}, &x, &y, nullptr, nullptr));
    EXPECT_EQ(x, 1.0);
}

// Super-sampling only when neither factor enlarges; other modes' constants
// are a plain mapping.
TEST(Interpolation, AutoShrinksBySuperSamplingAndEnlargesByCubic)
{
    using T = TulImage;
    EXPECT_EQ(tul::GetInterpolation(T::INTERPOLATION_AUTO, 1.0, 1.0), IPPI_INTER_SUPER);
    EXPECT_EQ(tul::GetInterpolation(T::INTERPOLATION_AUTO, 1.0, 1.5), IPPI_INTER_CUBIC);
    EXPECT_EQ(tul::GetInterpolation(T::INTERPOLATION_AUTO, 2.0, 0.5), IPPI_INTER_CUBIC);
    EXPECT_EQ(tul::GetInterpolation(static_cast<T::INTERPOLATION_MODE>(7), 0.5, 0.5), IPPI_INTER_SUPER);
}

}  // namespace
