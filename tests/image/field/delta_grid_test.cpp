// GetDeltaFrom*: an independent walk of the sampling grid on odd sizes,
// the worked examples, and 0 for null pictures and empty sizes.
#include "tests/support/picture.h"

#include "image/TulImage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using T = TulImage;

class DeltaGrid : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(DeltaGrid, MatchesIndependentWalk)
{
    const auto [w, h] = GetParam();
    const int row420 = w, rowYuy2 = ((16 * w + 31) >> 3) & ~3, rowRgb = ((24 * w + 31) >> 3) & ~3;
    const std::size_t n = std::size_t(rowRgb * h) & 0xFFFFF;
    tultest::GuardedBuffer a(n), b(n);
    tultest::FillRandom(a, 3u * w + h);
    tultest::FillRandom(b, 5u * w + h);
    ULONG e420 = 0, eYuy2 = 0, eRgb = 0;
    for (int y = 0; y < h; y += 8) {
        for (int x = 0; x < w; x += 8) {  // pixel x: its luma, or its (3B + 6G + R) / 10
            e420 += std::abs(a[y * row420 + x] - b[y * row420 + x]);
            eYuy2 += std::abs(a[y * rowYuy2 + 2 * x] - b[y * rowYuy2 + 2 * x]);
            const unsigned char* p = &a[y * rowRgb + 3 * x];
            const unsigned char* q = &b[y * rowRgb + 3 * x];
            eRgb += std::abs((3 * p[0] + 6 * p[1] + p[2]) / 10 - (3 * q[0] + 6 * q[1] + q[2]) / 10);
        }
    }
    EXPECT_EQ(T::GetDeltaFromYUV420(a.data(), b.data(), w, h), e420);
    EXPECT_EQ(T::GetDeltaFromYUY2(a.data(), b.data(), w, h), eYuy2);
    EXPECT_EQ(T::GetDeltaFromRGB24(a.data(), b.data(), w, h), eRgb);
    EXPECT_EQ(T::GetDeltaFromRGB24(a.data(), a.data(), w, h), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DeltaGrid,
                         ::testing::Combine(::testing::Values(1, 7, 8, 9, 17, 33), ::testing::Values(1, 8, 9, 23)));

TEST(DeltaCases, WorkedExamplesAndEmpty)
{
    std::vector<unsigned char> a(32 * 16, 50), b = a;
    b[8 * 32 + 16] += 10;  // luma of YUY2 pixel (8, 8)
    b[2] += 99;            // luma of pixel (1, 0): not on the grid
    EXPECT_EQ(T::GetDeltaFromYUY2(a.data(), b.data(), 16, 16), 10u);
    const unsigned char p[4] = {10, 20, 30, 0}, q[4] = {0, 0, 0, 0};
    EXPECT_EQ(T::GetDeltaFromRGB24(p, q, 1, 1), 18u);
    EXPECT_EQ(T::GetDeltaFromYUY2(nullptr, b.data(), 16, 16), 0u);
    EXPECT_EQ(T::GetDeltaFromYUV420(a.data(), nullptr, 16, 16), 0u);
    EXPECT_EQ(T::GetDeltaFromRGB24(a.data(), b.data(), 0, 16), 0u);
    EXPECT_EQ(T::GetDeltaFromYUY2(a.data(), b.data(), 16, 0), 0u);
}

}  // namespace
