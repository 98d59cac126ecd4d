// The packed 4:2:2 plan gives, at every level, the bytes of splitting the
// picture, resizing its planes with the one-plane plans and joining them
// over black planes: random sizes (odd and even widths), regions, centres,
// rounded factors with their exact extents, steps and the three kernels it
// takes (linear only blending rows first, from AVX2 up).
#include "platform/ipp/ippi.h"
#include "platform/ipp/resize_center_422.h"
#include "tests/support/simd_levels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using tulipp::ResizeCenterRequest;

int Uniform(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

TEST(ResizeCenter422Plan, EqualsPlanesSplitResizedAndJoined)
{
    const Ipp8u black[4] = {0, 127, 0, 127};
    std::mt19937 rng(422);
    for (int i = 0; i < 400; ++i) {
        const int interp = i % 3 == 0 ? IPPI_INTER_CUBIC : i % 3 == 1 ? IPPI_INTER_SUPER : IPPI_INTER_LINEAR;
        const bool super = interp == IPPI_INTER_SUPER, linear = interp == IPPI_INTER_LINEAR;
        const int sw = Uniform(rng, 1, 45) * 2 + (linear ? 0 : Uniform(rng, 0, 1)), sh = Uniform(rng, 1, 30);
        const IppiRect region{i % 5 == 0 ? Uniform(rng, 0, sw / 2) : 0, 0, Uniform(rng, 2, sw), sh};
        const int dw = Uniform(rng, 2, super ? region.width : 200), dh = Uniform(rng, 1, super || linear ? sh : 60);
        ResizeCenterRequest luma;
        luma.srcSize = {sw, sh};
        luma.srcRoi = region;
        luma.dstRoiSize = {dw, dh};
        // Five-decimal factors, as the resizer object cuts them.
        luma.xExactFactor = double(dw) / region.width;
        luma.yExactFactor = double(dh) / sh;
        luma.xFactor = static_cast<int>(luma.xExactFactor * 1e5) * 1e-5;
        luma.yFactor = static_cast<int>(luma.yExactFactor * 1e5) * 1e-5;
        luma.xCenter = (region.width + 1) / 2 + (i % 7 == 0 ? Uniform(rng, -3, 3) : 0);
        luma.yCenter = (sh + 1) / 2;
        luma.interpolation = interp;
        ResizeCenterRequest chroma = luma;
        chroma.srcSize.width = sw / 2;
        chroma.srcRoi = {0, 0, region.width / 2, sh};
        chroma.dstRoiSize.width = dw / 2;
        chroma.xCenter = (region.width / 2 + 1) / 2;
        const int srcStep = 2 * sw + Uniform(rng, 0, 5), dstStep = 2 * dw + Uniform(rng, 0, 5);
        std::vector<Ipp8u> src(static_cast<std::size_t>(srcStep) * sh);
        for (Ipp8u& b : src)
            b = static_cast<Ipp8u>(rng());
        // The planes' way.
        const int pw[3] = {sw, (sw + 1) / 2, sw / 2}, qw[3] = {dw, (dw + 1) / 2, dw / 2};
        std::vector<Ipp8u> sp[3], dp[3];
        for (int p = 0; p < 3; ++p) {
            sp[p].assign(static_cast<std::size_t>(pw[p] + 1) * sh, 0);
            dp[p].assign(static_cast<std::size_t>(qw[p] + 1) * dh, black[p == 0 ? 0 : 1]);
        }
        Ipp8u* splitTo[3] = {sp[0].data(), sp[1].data(), sp[2].data()};
        int sSteps[3] = {pw[0] + 1, pw[1] + 1, pw[2] + 1}, dSteps[3] = {qw[0] + 1, qw[1] + 1, qw[2] + 1};
        ASSERT_EQ(ippiSplit422_8u_C2P3R(src.data(), srcStep, splitTo, sSteps, {sw, sh}), ippStsNoErr);
        for (int p = 0; p < 3; ++p) {
            tulipp::ResizeCenterPlan plane;
            ASSERT_EQ(plane.Prepare(p == 0 ? luma : chroma), ippStsNoErr);
            ASSERT_EQ(plane.Run(sp[p].data(), sSteps[p], dp[p].data(), dSteps[p]), ippStsNoErr);
        }
        std::vector<Ipp8u> expected(static_cast<std::size_t>(dstStep) * dh, 0xEE);
        const Ipp8u* joinFrom[3] = {dp[0].data(), dp[1].data(), dp[2].data()};
        ASSERT_EQ(ippiJoin422_8u_P3C2R(joinFrom, dSteps, expected.data(), dstStep, {dw, dh}), ippStsNoErr);
        for (tulipp::SimdLevel level : tultest::AvailableSimdLevels()) {
            tulipp::ResizeCenter422Plan packed;
            if (!packed.Prepare(luma, chroma, black, level)) {
                ASSERT_TRUE(linear && level < tulipp::SimdLevel::AVX2) << i;
                continue;
            }
            std::vector<Ipp8u> got(expected.size(), 0xEE);
            ASSERT_TRUE(packed.Run(src.data(), srcStep, got.data(), dstStep));
            ASSERT_EQ(got, expected) << "case " << i << " " << tultest::SimdLevelName(level) << " " << sw << "x"
                                     << sh << " -> " << dw << "x" << dh;
        }
    }
}

}  // namespace
