// The own resampler's tables and one-picture engines: fixed numeric cases
// of the weights, area schedules and reciprocals, the engines against the
// plain model on many sizes and steps, and refusal of bad arguments.
#include "image/resize/vexo_resampler.h"
#include "image/resize/vexo_tables.h"
#include "tests/image/resize/vexo_model.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>

namespace {

using tultest::GuardedBuffer;
namespace vm = vexomodel;

// ---- Tables -----------------------------------------------------------------

TEST(VexoWeights, FractionsZeroHalfAndQuarter)
{
    const struct {
        double f;
        int w[4];
    } cases[] = {{0.0, {0, 65536, 0, 0}},
                 {0.5, {-4095, 36864, 36864, -4095}},
                 {0.25, {-3583, 53760, 17920, -2559}}};
    for (const auto& c : cases) {
        int w[4];
        tul::LagrangeWeights(c.f, w);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(w[k], c.w[k]) << "f " << c.f << " weight " << k;
    }
    int w[4];
    tul::LagrangeWeights(0.5, w);
    EXPECT_EQ(w[0] + w[1] + w[2] + w[3], 65538);  // truncated negatives do not cancel
}

TEST(VexoWeights, EveryTablePositionMatchesLagrangeModel)
{
    std::vector<tul::StretchEntry> table;
    for (int n = 2; n <= 30; ++n) {
        for (int m = n + 1; m <= 3 * n + 7; ++m) {
            tul::BuildStretchTable(table, n, m);
            for (int k = 0; k < m; ++k) {
                const double x = (static_cast<double>(k) * (n - 1)) / (m - 1);
                ASSERT_EQ(table[k].source, static_cast<int>(x));
                int w[4];
                vm::Weights(x - std::floor(x), w);
                for (int t = 0; t < 4; ++t)
                    ASSERT_EQ(table[k].weight[t], w[t]) << n << "->" << m << " k " << k;
            }
            EXPECT_EQ(table[m - 1].source, n - 1);  // the last position is exact
        }
    }
}

TEST(VexoAreaPlan, BroadcastLine720To704)
{
    tul::AreaPlan plan;
    ASSERT_TRUE(tul::BuildAreaPlan(plan, 720, 704, tul::AreaReciprocal::Packed13));
    EXPECT_EQ(plan.a, 44);
    EXPECT_EQ(plan.b, 45);
    EXPECT_EQ(plan.scale.reciprocal, 182u);
    EXPECT_EQ(plan.scale.shift, 13u);
    ASSERT_TRUE(tul::BuildAreaPlan(plan, 720, 704, tul::AreaReciprocal::Plane32));
    EXPECT_EQ(plan.scale.reciprocal, 95443717u);
    EXPECT_EQ(plan.scale.shift, 32u);
    // Each destination gathers b units; each source gives away exactly a.
    std::vector<std::uint32_t> given(720, 0);
    for (int j = 0; j < 704; ++j) {
        std::uint32_t units = 0;
        for (int t = plan.first[j]; t < plan.first[j + 1]; ++t) {
            units += plan.taps[t].weight;
            given[plan.taps[t].source] += plan.taps[t].weight;
        }
        ASSERT_EQ(units, 45u) << "destination " << j;
    }
    for (int i = 0; i < 720; ++i)
        ASSERT_EQ(given[i], 44u) << "source " << i;
}

// The row kernel reads `span` samples from each start: all on the line,
// also where a sample has fewer taps than the span (5 -> 3 ends on two).
TEST(VexoAreaPlan, FixedSpanTapsStayOnTheLine)
{
    tul::AreaPlan plan;
    for (int n = 2; n <= 40; ++n) {
        for (int m = 1; m < n; ++m) {
            ASSERT_TRUE(tul::BuildAreaPlan(plan, n, m, tul::AreaReciprocal::Plane32));
            for (int j = 0; j < m; ++j)
                ASSERT_TRUE(plan.start[j] >= 0 && plan.start[j] + plan.span <= n) << n << "->" << m;
        }
    }
}

TEST(VexoAreaPlan, RefusesGridBeyond32Bits)
{
    tul::AreaPlan plan;
    EXPECT_FALSE(tul::BuildAreaPlan(plan, 65537, 65536, tul::AreaReciprocal::Plane32));
    EXPECT_TRUE(tul::BuildAreaPlan(plan, 65536, 32768, tul::AreaReciprocal::Plane32));
}

TEST(VexoAreaPlan, CoarseReciprocalKeptUntilItWouldBeZero)
{
    tul::AreaPlan plan;
    ASSERT_TRUE(tul::BuildAreaPlan(plan, 8192, 8191, tul::AreaReciprocal::Packed13));
    EXPECT_EQ(plan.scale.reciprocal, 1u);
    EXPECT_EQ(plan.scale.shift, 13u);
    ASSERT_TRUE(tul::BuildAreaPlan(plan, 8193, 8192, tul::AreaReciprocal::Packed13));
    EXPECT_EQ(plan.scale.shift, 32u);
}

// ---- Fixed engine cases ------------------------------------------------------

TEST(VexoEngines, Uniform255Shrink720To704IsOneLevelDarker)
{
    GuardedBuffer planeSrc(720 * 2, 255), planeDst(704 * 2);
    ASSERT_TRUE(tul::ResamplePlane(planeSrc.data(), 720, 2, 720, planeDst.data(), 704, 2, 704));
    GuardedBuffer packedSrc(1440 * 2, 255), packedDst(1408 * 2);
    ASSERT_TRUE(tul::ResampleYUY2(packedSrc.data(), 720, 2, 1440, packedDst.data(), 704, 2, 1408));
    for (std::size_t i = 0; i < planeDst.size(); ++i)
        ASSERT_EQ(planeDst[i], 254) << i;
    for (std::size_t i = 0; i < packedDst.size(); ++i)
        ASSERT_EQ(packedDst[i], 254) << i;
    EXPECT_TRUE(planeDst.GuardsIntact() && packedDst.GuardsIntact());
}

TEST(VexoEngines, PackedReciprocalDarkensLargeAreas)
{
    // 721 rows to 720: b = 721, r = 11, a run of 255 gives 246 (the plane's
    // 32-bit reciprocal gives 254).
    GuardedBuffer src(4 * 721, 255), dst(4 * 720);
    ASSERT_TRUE(tul::ResampleYUY2(src.data(), 2, 721, 4, dst.data(), 2, 720, 4));
    for (std::size_t i = 0; i < dst.size(); ++i)
        ASSERT_EQ(dst[i], 246) << i;
    GuardedBuffer plane(720);
    ASSERT_TRUE(tul::ResamplePlane(src.data(), 1, 721, 1, plane.data(), 1, 720, 1));
    EXPECT_EQ(plane[0], 254);
    // Beyond b = 8192 the 13-bit reciprocal would blacken everything.
    GuardedBuffer tall(4 * 8193, 255), out(4 * 8192);
    ASSERT_TRUE(tul::ResampleYUY2(tall.data(), 2, 8193, 4, out.data(), 2, 8192, 4));
    EXPECT_EQ(out[0], 254);
    EXPECT_EQ(out[out.size() - 1], 254);
}

TEST(VexoEngines, ThreeToFiveIsLinearThroughout)
{
    const unsigned char src[3] = {10, 100, 30};
    GuardedBuffer dst(5);
    ASSERT_TRUE(tul::ResamplePlane(src, 3, 1, 3, dst.data(), 5, 1, 5));
    const unsigned char expected[5] = {10, 55, 100, 65, 30};  // halves round up
    EXPECT_TRUE(tultest::SameRows(expected, 5, dst.data(), 5, 5, 1));
}

TEST(VexoEngines, HalfAndDoubleBroadcastWidths)
{
    GuardedBuffer wide(1408 * 3), narrow(704 * 3), back(1408 * 3);
    tultest::FillRandom(wide, 11);
    ASSERT_TRUE(tul::ResampleYUY2(wide.data(), 704, 3, 1408, narrow.data(), 352, 3, 704));
    for (int r = 0; r < 3; ++r) {
        const unsigned char* s = wide.data() + r * 1408;
        const unsigned char* d = narrow.data() + r * 704;
        for (int i = 0; i < 352; ++i)
            ASSERT_EQ(d[2 * i], (s[4 * i] + s[4 * i + 2]) >> 1) << "row " << r << " luma " << i;
    }
    ASSERT_TRUE(tul::ResampleYUY2(narrow.data(), 352, 3, 704, back.data(), 704, 3, 1408));
    for (int r = 0; r < 3; ++r) {
        const unsigned char lastLuma = narrow[r * 704 + 702];
        EXPECT_EQ(back[r * 1408 + 1404], lastLuma);
        EXPECT_EQ(back[r * 1408 + 1406], lastLuma);
    }
}

TEST(VexoEngines, OddPackedWidthsAreRefusedUntouched)
{
    GuardedBuffer src(1404 * 2), dst(704 * 2, 0xEE);
    tultest::FillRandom(src, 3);
    EXPECT_FALSE(tul::ResampleYUY2(src.data(), 702, 2, 1404, dst.data(), 351, 2, 704));
    EXPECT_FALSE(tul::ResampleYUY2(src.data(), 701, 2, 1404, dst.data(), 350, 2, 704));
    for (std::size_t i = 0; i < dst.size(); ++i)
        ASSERT_EQ(dst[i], 0xEE);
}

// ---- Engines against the model ----------------------------------------------

using Pair = std::pair<int, int>;  // source and destination samples of a line

// One engine (plane, or packed with two bytes a sample) on random rows;
// the row padding and the guards stay untouched.
void ExpectEngineMatchesModel(bool packed, Pair across, Pair down, int pad)
{
    const int bpp = packed ? 2 : 1;
    const int srcStep = bpp * across.first + pad, dstStep = bpp * across.second + pad;
    GuardedBuffer src(static_cast<std::size_t>(srcStep) * down.first);
    GuardedBuffer dst(static_cast<std::size_t>(dstStep) * down.second, 0xEE);
    tultest::FillRandom(src, static_cast<std::uint32_t>(across.first * 7919 + across.second * 104729 +
                                                        down.first * 31 + down.second));
    const auto engine = packed ? tul::ResampleYUY2 : tul::ResamplePlane;
    ASSERT_TRUE(engine(src.data(), across.first, down.first, srcStep, dst.data(), across.second,
                       down.second, dstStep));
    const vm::Pic in = vm::Take(src.data(), srcStep, bpp * across.first, down.first);
    const vm::Pic want = packed ? vm::Yuy2(in, across.second, down.second)
                                : vm::Plane(in, across.second, down.second);
    EXPECT_TRUE(tultest::SameRows(want.data.data(), want.bytes, dst.data(), dstStep, want.bytes,
                                  want.rows));
    for (int r = 0; r < down.second; ++r)
        for (int c = want.bytes; c < dstStep; ++c)
            ASSERT_EQ(dst[r * dstStep + c], 0xEE);
    EXPECT_TRUE(dst.GuardsIntact());
}

class PlaneVsModel : public ::testing::TestWithParam<std::tuple<Pair, Pair, int>> {};

TEST_P(PlaneVsModel, SameBytesAsLiteralModel)
{
    const auto [across, down, pad] = GetParam();
    ExpectEngineMatchesModel(false, across, down, pad);
}

const Pair kLines[] = {{1, 1},  {1, 6},  {2, 1},   {2, 4},   {3, 5},   {3, 2},  {5, 13},
                       {8, 4},  {9, 4},  {13, 5},  {31, 64}, {64, 31}, {45, 44}, {7, 7},
                       {4, 9},  {6, 3},  {5, 6},   {100, 37}};

INSTANTIATE_TEST_SUITE_P(Sizes, PlaneVsModel,
                         ::testing::Combine(::testing::ValuesIn(kLines), ::testing::ValuesIn(kLines),
                                            ::testing::Values(0, 5)));

class PackedVsModel : public ::testing::TestWithParam<std::tuple<Pair, Pair, int>> {};

TEST_P(PackedVsModel, SameBytesAsLiteralModel)
{
    const auto [across, down, pad] = GetParam();
    ExpectEngineMatchesModel(true, across, down, pad);
}

const Pair kPackedWidths[] = {{2, 2},   {2, 4},  {2, 6},  {4, 2},  {6, 10}, {8, 4},  {10, 4},
                              {14, 6},  {90, 88}, {32, 66}, {66, 32}, {22, 22}, {4, 8}, {12, 6},
                              {16, 18}, {18, 16}};
const Pair kHeights[] = {{1, 1}, {1, 5}, {2, 1}, {3, 5}, {6, 3}, {8, 4}, {9, 4},
                         {13, 5}, {5, 13}, {4, 9}, {45, 44}, {7, 7}};

INSTANTIATE_TEST_SUITE_P(Sizes, PackedVsModel,
                         ::testing::Combine(::testing::ValuesIn(kPackedWidths),
                                            ::testing::ValuesIn(kHeights), ::testing::Values(0, 4)));

// ---- Bad arguments ------------------------------------------------------------

TEST(VexoEngines, BadArgumentsAreRefusedUntouched)
{
    GuardedBuffer src(64 * 8), dst(64 * 8, 0xEE);
    tultest::FillRandom(src, 5);
    unsigned char* s = src.data();
    unsigned char* d = dst.data();
    // plane: pointers, sizes, steps, extents
    EXPECT_FALSE(tul::ResamplePlane(nullptr, 8, 8, 8, d, 8, 8, 8));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 8, 8, nullptr, 8, 8, 8));
    EXPECT_FALSE(tul::ResamplePlane(s, 0, 8, 8, d, 8, 8, 8));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, -1, 8, d, 8, 8, 8));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 8, 8, d, 8, 0, 8));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 8, 7, d, 8, 8, 8));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 8, 8, d, 8, 8, -8));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 70000, 40000, d, 4, 4, 4));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 8, 8, d, INT_MAX, 2, INT_MAX));
    // packed: the row is twice the width
    EXPECT_FALSE(tul::ResampleYUY2(s, 8, 4, 15, d, 8, 4, 16));
    EXPECT_FALSE(tul::ResampleYUY2(s, 8, 4, 16, d, 8, 4, 15));
    EXPECT_FALSE(tul::ResampleYUY2(s, 8, 4, 16, d, 1 << 30, 1, INT_MAX));
    EXPECT_FALSE(tul::ResampleYUY2(s, 0, 4, 16, d, 8, 4, 16));
    for (std::size_t i = 0; i < dst.size(); ++i)
        ASSERT_EQ(dst[i], 0xEE) << i;
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST(VexoEngines, GridOverflowIsRefusedUntouched)
{
    GuardedBuffer src(65537), dst(65536, 0xEE);
    EXPECT_FALSE(tul::ResamplePlane(src.data(), 65537, 1, 65537, dst.data(), 65536, 1, 65536));
    EXPECT_EQ(dst[0], 0xEE);
    EXPECT_EQ(dst[65535], 0xEE);
}

}  // namespace
