// The own resampler's one-picture engines: the area taps' span, the packed
// reciprocal beyond the model's sizes, and refusal of bad arguments. Their
// bytes against the plain model are checked once, through the frame resize
// (vexo_resize_test.cpp), which runs every engine on each plane.
#include "image/resize/vexo_resampler.h"
#include "image/resize/vexo_tables.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using tultest::GuardedBuffer;

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

// ---- Bad arguments ------------------------------------------------------------

// Null pictures, empty sizes and short or negative steps are the frame
// resize's refusals (vexo_resize_test.cpp), checked before an engine runs;
// here what only the engines decide: sizes and grids past 32 bits, and odd
// packed widths.
TEST(VexoEngines, OverflowAndOddPackedWidthsAreRefusedUntouched)
{
    GuardedBuffer src(64 * 8), dst(64 * 8, 0xEE);
    tultest::FillRandom(src, 5);
    unsigned char* s = src.data();
    unsigned char* d = dst.data();
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 70000, 40000, d, 4, 4, 4));
    EXPECT_FALSE(tul::ResamplePlane(s, 8, 8, 8, d, INT_MAX, 2, INT_MAX));
    EXPECT_FALSE(tul::ResampleYUY2(s, 8, 4, 16, d, 1 << 30, 1, INT_MAX));
    // odd widths would split a pixel pair
    EXPECT_FALSE(tul::ResampleYUY2(s, 8, 4, 16, d, 7, 4, 16));
    EXPECT_FALSE(tul::ResampleYUY2(s, 7, 4, 16, d, 6, 4, 16));
    EXPECT_EQ(dst.Bytes(), std::vector<unsigned char>(dst.size(), 0xEE));
    EXPECT_TRUE(dst.GuardsIntact());
    // A common grid of the two lengths past 32 bits.
    GuardedBuffer line(65537), wide(65536, 0xEE);
    EXPECT_FALSE(tul::ResamplePlane(line.data(), 65537, 1, 65537, wide.data(), 65536, 1, 65536));
    EXPECT_EQ(wide[0], 0xEE);
    EXPECT_EQ(wide[65535], 0xEE);
}

}  // namespace
