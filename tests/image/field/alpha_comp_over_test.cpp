// AlphaCompRGB32 and AlphaCompRGB24 against an OVER model written from the
// 8-bit formula, with foreground alphas 0, 255 and random, odd widths (the
// RGB24 rows' word padding), guard bytes; refusals and failures.
#include "tests/support/picture.h"

#include "image/TulImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using T = TulImage;
using tultest::GuardedBuffer;

int Round(double v) { return int(std::floor(v + 0.5)); }

class AlphaCompOver : public ::testing::TestWithParam<int> {};

TEST_P(AlphaCompOver, MatchesModel)
{
    const int w = GetParam(), row24 = ((24 * w + 31) >> 3) & ~3;
    for (int h : {1, 3}) {
        for (int alphas = 0; alphas < 3; ++alphas) {  // 0, 255, random
            const std::size_t n32 = std::size_t(4 * w * h) & 0xFFFFF, n24 = std::size_t(row24 * h) & 0xFFFFF;
            GuardedBuffer fg(n32), bg32(n32), bg24(n24), out32(n32, 9), out24(n24, 9);
            tultest::FillRandom(fg, 5u * w + alphas);
            tultest::FillRandom(bg32, 7u * w + alphas);
            tultest::FillRandom(bg24, 3u * w + alphas);
            for (int i = 0; alphas < 2 && i < w * h; ++i)
                fg[4 * i + 3] = alphas == 0 ? 0 : 255;
            ASSERT_EQ(T::AlphaCompRGB32(fg.data(), bg32.data(), out32.data(), w, h), T::TUL_SUCCESS);
            ASSERT_EQ(T::AlphaCompRGB24(fg.data(), bg24.data(), out24.data(), w, h), T::TUL_SUCCESS);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const int i = y * w + x, a = fg[4 * i + 3], b = bg32[4 * i + 3];
                    for (int c = 0; c < 3; ++c) {
                        const int A = fg[4 * i + c];
                        ASSERT_EQ(out32[4 * i + c], Round((a * 255.0 * A + (255 - a) * b * double(bg32[4 * i + c])) / 65025))
                            << x << "," << y;
                        const int B = bg24[y * row24 + 3 * x + c];
                        ASSERT_EQ(out24[y * row24 + 3 * x + c], Round((a * A + (255 - a) * B) / 255.0)) << x << "," << y;
                    }
                    ASSERT_EQ(out32[4 * i + 3], Round(a + (255 - a) * b / 255.0));
                }
                for (int p = 3 * w; p < row24; ++p)  // the row's padding is no pixel
                    ASSERT_EQ(out24[y * row24 + p], 9);
            }
            ASSERT_TRUE(out32.GuardsIntact() && out24.GuardsIntact());
            // In place over the background: the same bytes.
            ASSERT_EQ(T::AlphaCompRGB24(fg.data(), bg24.data(), bg24.data(), w, h), T::TUL_SUCCESS);
            for (int y = 0; y < h; ++y)
                ASSERT_TRUE(std::equal(bg24.data() + y * row24, bg24.data() + y * row24 + 3 * w, out24.data() + y * row24));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, AlphaCompOver, ::testing::Values(1, 2, 3, 5, 17, 64));

// Null pictures and sizes past 32 bits: 3, nothing written. An empty size
// is a failure of the composite: 4, with nothing to zero.
TEST(AlphaCompRefusals, NullHugeAndEmpty)
{
    GuardedBuffer a(64, 1), b(64, 2), o(64, 3);
    for (auto fn : {&T::AlphaCompRGB32, &T::AlphaCompRGB24}) {
        EXPECT_EQ(fn(nullptr, b.data(), o.data(), 2, 2), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(fn(a.data(), nullptr, o.data(), 2, 2), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(fn(a.data(), b.data(), nullptr, 2, 2), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(fn(a.data(), b.data(), o.data(), 0x40000000u, 1), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(fn(a.data(), b.data(), o.data(), 0x10000u, 0x10000u), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(fn(a.data(), b.data(), o.data(), 0, 2), T::TUL_FAILED);
    }
    EXPECT_EQ(o.Bytes(), std::vector<unsigned char>(64, 3));
}

}  // namespace
