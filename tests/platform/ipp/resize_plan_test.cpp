// The prepared centre resample: running a plan allocates nothing, for
// every kernel and channel count; and an exact factor widens the written
// range to the picture's exact extent.
#define TUL_DEFINE_ALLOCATION_COUNTER
#include "tests/support/alloc_counter.h"

#include "platform/ipp/resize_plan.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using tulipp::ResizeCenterPlan;
using tulipp::ResizeCenterRequest;

ResizeCenterRequest Request(int channels, IppiSize src, IppiSize dst, int interpolation)
{
    ResizeCenterRequest r;
    r.channels = channels;
    r.srcSize = src;
    r.srcRoi = {0, 0, src.width, src.height};
    r.dstRoiSize = dst;
    r.xFactor = double(dst.width) / src.width;
    r.yFactor = double(dst.height) / src.height;
    r.xCenter = src.width / 2.0;
    r.yCenter = src.height / 2.0;
    r.interpolation = interpolation;
    return r;
}

// Reductions and enlargements (both linear orders, the cubic, and
// super-sampling's reductions), at every level: several frames, none
// allocating.
TEST(ResizeCenterPlan, RunAllocatesNothing)
{
    const IppiSize sizes[][2] = {{{67, 41}, {40, 23}}, {{37, 22}, {70, 51}}};
    for (int interpolation : {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER}) {
        for (int channels : {1, 3, 4}) {
            for (const auto& s : sizes) {
                if (interpolation == IPPI_INTER_SUPER && s[1].width > s[0].width)
                    continue;
                const int srcStep = s[0].width * channels + 5, dstStep = s[1].width * channels + 3;
                std::vector<Ipp8u> src(static_cast<std::size_t>(srcStep) * s[0].height);
                std::vector<Ipp8u> dst(static_cast<std::size_t>(dstStep) * s[1].height);
                ResizeCenterPlan plan;
                ASSERT_EQ(plan.Prepare(Request(channels, s[0], s[1], interpolation)), ippStsNoErr);
                for (int frame = 0; frame < 3; ++frame) {
                    tultest::FillRandom(src.data(), src.size(), frame);
                    const std::size_t before = tultest::AllocationCount();
                    const IppStatus status = plan.Run(src.data(), srcStep, dst.data(), dstStep);
                    const std::size_t allocations = tultest::AllocationCount() - before;
                    ASSERT_EQ(status, ippStsNoErr);
                    ASSERT_EQ(allocations, 0u) << "interpolation " << interpolation << " channels " << channels
                                               << " frame " << frame;
                }
            }
        }
    }
}

// 720 -> 320 with the factor cut to five decimals (0.44444): the rounded
// factor's range stops short of columns 0 and 319; the exact 320/720
// reaches them.
TEST(ResizeCenterPlan, ExactFactorWritesTheEdgeColumns)
{
    const std::vector<Ipp8u> src(720, 200);
    for (double exact : {0.0, 320.0 / 720.0}) {
        ResizeCenterRequest r = Request(1, {720, 1}, {320, 1}, IPPI_INTER_LINEAR);
        r.xFactor = 0.44444;
        r.xExactFactor = exact;
        std::vector<Ipp8u> dst(320, 0);
        ResizeCenterPlan plan;
        ASSERT_EQ(plan.Prepare(r), ippStsNoErr);
        ASSERT_EQ(plan.Run(src.data(), 720, dst.data(), 320), ippStsNoErr);
        const bool edges = exact > 0;
        EXPECT_EQ(dst[0], edges ? 200 : 0) << exact;
        EXPECT_EQ(dst[319], edges ? 200 : 0) << exact;
        EXPECT_EQ(dst[160], 200);
    }
}

}  // namespace
