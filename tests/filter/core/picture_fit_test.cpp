// Where the picture lies in the output frame: stretched, or fitted with its
// display aspect kept, and the sizes and aspects that give no picture.
#include "filter/core/picture_fit.h"
#include "filter/core/resize_settings_values.h"
#include "tests/support/picture.h"

#include <cstdint>
#include <random>

namespace {

using tulfilter::FitPicture;
using tulfilter::PictureSize;

struct FitCase {
    LONG srcW, srcH, srcAx, srcAy, outW, outH, outAx, outAy, mode;
    LONG expectW, expectH;  // 0 x 0: refused, the result left alone
};

class KeepAspectFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(KeepAspectFit, GivesThePictureSizeOrRefuses)
{
    const FitCase c = GetParam();
    PictureSize p{-7, -7};
    const bool refused = c.expectW == 0;
    EXPECT_EQ(FitPicture(c.srcW, c.srcH, c.srcAx, c.srcAy, c.outW, c.outH, c.outAx, c.outAy, c.mode, &p),
              !refused);
    EXPECT_EQ(p.width, refused ? -7 : c.expectW);
    EXPECT_EQ(p.height, refused ? -7 : c.expectH);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, KeepAspectFit,
    ::testing::Values(
        // 240 x 480 x 320 / (720 x 240) = 213.33, truncated.
        FitCase{720, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 320, 213},
        // Taller source: the width shrinks; an odd width is kept as is.
        FitCase{100, 300, 1, 1, 101, 101, 1, 1, RESIZE_MODE_KEEP_ASPECT, 33, 101},
        // 1:1 on one side only replaces that side's terms.
        FitCase{720, 576, 4, 3, 720, 576, 1, 1, RESIZE_MODE_KEEP_ASPECT, 720, 540},
        // An aspect of 2:2 is not 1:1 and is read as a square picture.
        FitCase{720, 480, 2, 2, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 240, 240},
        FitCase{1, 1, 1, 1, 1, 1, 1, 1, RESIZE_MODE_KEEP_ASPECT, 1, 1},
        // Stretching ignores every aspect term, even ones that give no shape.
        FitCase{720, 480, 16, 9, 640, 480, 1, 1, RESIZE_MODE_FIT, 640, 480},
        FitCase{720, 480, 0, 0, 640, 480, -3, 0, RESIZE_MODE_FIT, 640, 480},
        FitCase{720, 480, 16, 9, 640, 480, 1, 1, 7, 640, 480},
        FitCase{720, 480, 16, 9, 640, 480, 1, 1, 0, 640, 480},
        FitCase{720, 480, 16, 9, 640, 480, 1, 1, -2, 640, 480}));

TEST(PictureFit, ComparesTheSidesWithoutWrappingAndRefusesANullResult)
{
    // 50000 x 50000 passes 31 bits: a wrapped comparison would pick the
    // width and give a picture 1777 pixels wide in a 640-pixel frame.
    PictureSize p{};
    ASSERT_TRUE(FitPicture(720, 480, 50000, 30000, 640, 480, 30000, 50000,
                           RESIZE_MODE_KEEP_ASPECT, &p));
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(p.height, 172);  // 480 x 9e8 / 2.5e9 = 172.8
    EXPECT_FALSE(FitPicture(720, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT, nullptr));
}

TEST(PictureFit, ScalesExactlyWhereThreeTermsPass64Bits)
{
    const LONG big = 2000000000;
    PictureSize p{};
    ASSERT_TRUE(FitPicture(720, 480, big, big - 1, 1000, 1000, big - 1, big,
                           RESIZE_MODE_KEEP_ASPECT, &p));
    EXPECT_EQ(p.width, 1000);
    EXPECT_EQ(p.height, 999);  // 1000 x (1 - 5e-10)^2, truncated
}

TEST(PictureFit, MatchesAnExactModelAndStaysInsideTheFrame)
{
    std::mt19937 rng(61);
    std::uniform_int_distribution<LONG> term(1, 1 << 14);
    std::uniform_int_distribution<LONG> size(1, 4096);
    for (int i = 0; i < 20000; ++i) {
        const LONG srcW = size(rng), srcH = size(rng), outW = size(rng), outH = size(rng);
        const LONG sax = term(rng), say = term(rng), dax = term(rng), day = term(rng);
        PictureSize p{};
        // Products of these terms fit 64 bits, so the model is plain.
        const std::int64_t tall = std::int64_t{say} * dax, wide = std::int64_t{sax} * day;
        const std::int64_t h = tall <= wide ? std::int64_t{outH} * tall / wide : outH;
        const std::int64_t w = tall <= wide ? outW : std::int64_t{outW} * wide / tall;
        const bool ok = FitPicture(srcW, srcH, sax, say, outW, outH, dax, day,
                                   RESIZE_MODE_KEEP_ASPECT, &p);
        if (w == 0 || h == 0) {
            EXPECT_FALSE(ok);
            continue;
        }
        ASSERT_TRUE(ok);
        ASSERT_EQ(p.width, w);
        ASSERT_EQ(p.height, h);
        ASSERT_LE(p.width, outW);
        ASSERT_LE(p.height, outH);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, KeepAspectFit,
    ::testing::Values(
        FitCase{0, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT, 0, 0},
        FitCase{720, 0, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT, 0, 0},
        FitCase{720, 480, 1, 1, 0, 240, 1, 1, RESIZE_MODE_FIT, 0, 0},
        FitCase{720, 480, 1, 1, 320, 0, 1, 1, RESIZE_MODE_FIT, 0, 0},
        FitCase{-720, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, -480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 1, 1, -320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 1, 1, 320, -240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        // Aspect terms that would divide by zero or flip the picture.
        FitCase{720, 480, 0, 9, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 16, 0, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 0, 0, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 1, 1, 320, 240, 0, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 1, 1, 320, 240, 16, 0, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, -16, 9, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, -16, -9, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{720, 480, 1, 1, 320, 240, 4, -3, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        // So wide a source leaves less than one line of picture.
        FitCase{10000, 1, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0},
        FitCase{1, 10000, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0, 0}));

}  // namespace
