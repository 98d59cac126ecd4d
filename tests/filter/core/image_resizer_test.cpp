// The resizer slot: preparing a TulImage for the filter's geometry and
// resizing frames through it, including the refusals that keep a frame
// from ever being resized by a plan made for other sizes. The fit's
// arithmetic is picture_fit_test's and the resizer's own placement and
// copies are resizer_object_test's; here a few frames show the slot hands
// the fitted picture, anchored top-left, to the resizer.
#include "filter/core/image_resizer.h"
#include "filter/core/resize_settings_values.h"
#include "tests/support/picture.h"

#include <cstring>
#include <vector>

namespace {

constexpr ULONG kRefused = 3;
constexpr ULONG kNotPrepared = 4;
constexpr ULONG kTooSmall = 2;

std::size_t FrameBytes(int width, int height) { return static_cast<std::size_t>(width) * 2 * height; }

void FillPairs(unsigned char* frame, std::size_t bytes, const unsigned char pair[4])
{
    for (std::size_t i = 0; i + 4 <= bytes; i += 4)
        std::memcpy(frame + i, pair, 4);
}

constexpr unsigned char kBlack[4] = {0x00, 0x7F, 0x00, 0x7F};
constexpr unsigned char kColour[4] = {200, 60, 200, 180};

// Checks a frame resized from a flat colour: black (luma 0, chroma 127)
// wherever the picture rectangle is not, the colour inside it. The
// resizer's factors are cut to five decimals, so an inexact factor may lose
// the outermost line or pixel on each side of the picture to black or to a
// blend; `margin` is how much of the rectangle's rim is let go.
::testing::AssertionResult FlatPictureAt(const unsigned char* frame, int width, int height,
                                         int left, int top, int pictureW, int pictureH,
                                         int margin)
{
    const int right = left + pictureW, bottom = top + pictureH;
    for (int y = 0; y < height; ++y) {
        const unsigned char* line = frame + static_cast<std::size_t>(y) * width * 2;
        const bool lineIn = y >= top && y < bottom;
        const bool lineCore = y >= top + margin && y < bottom - margin;
        for (int x = 0; x + 1 < width; x += 2) {
            const unsigned char* pair = line + 2 * x;
            const bool out0 = !lineIn || x < left || x >= right;
            const bool out1 = !lineIn || x + 1 < left || x + 1 >= right;
            const bool core0 = lineCore && x >= left + margin && x < right - margin;
            const bool core1 = lineCore && x + 1 >= left + margin && x + 1 < right - margin;
            const unsigned char* want = out0 && out1 ? kBlack : core0 && core1 ? kColour : nullptr;
            // Lone pixels at the rim: only their luma is theirs.
            const bool wrong = want ? std::memcmp(pair, want, 4) != 0
                                    : (out0 && pair[0] != 0) || (out1 && pair[2] != 0) ||
                                          (core0 && pair[0] != kColour[0]) || (core1 && pair[2] != kColour[2]);
            if (wrong)
                return ::testing::AssertionFailure() << "line " << y << ", pixels " << x << "-" << x + 1 << ": "
                                                     << int(pair[0]) << " " << int(pair[1]) << " "
                                                     << int(pair[2]) << " " << int(pair[3]);
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(ImageResizer, ResizeBeforePrepareWritesNothingAndNullFramesAreRefused)
{
    CImageResizer slot;
    EXPECT_FALSE(slot.FillsFields());
    tultest::GuardedBuffer src(FrameBytes(8, 4), 0x11), dst(FrameBytes(8, 4), 0xEE);
    EXPECT_EQ(slot.Resize(src.data(), dst.data()), kNotPrepared);
    EXPECT_TRUE(tultest::SameBytes(std::vector<unsigned char>(dst.size(), 0xEE), dst.Bytes()));
    ASSERT_EQ(slot.Prepare(8, 4, 1, 1, 8, 4, 1, 1, RESIZE_MODE_FIT, FIELD_POLICY_AUTO), 0u);
    EXPECT_EQ(slot.Resize(nullptr, dst.data()), kRefused);
    EXPECT_EQ(slot.Resize(src.data(), nullptr), kRefused);
}

struct BadPrepare {
    LONG srcW, srcH, srcAx, srcAy, outW, outH, outAx, outAy, mode;
};

class ImageResizerRefuses : public ::testing::TestWithParam<BadPrepare> {};

TEST_P(ImageResizerRefuses, AndForgetsTheEarlierPlan)
{
    const BadPrepare c = GetParam();
    CImageResizer slot;
    // A good plan first that fills fields, the rule reading the fitted
    // picture's height (213 of 480 lines, not the frame's 240): the refused
    // preparation must not leave it in force.
    ASSERT_EQ(slot.Prepare(720, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, FIELD_POLICY_AUTO), 0u);
    ASSERT_TRUE(slot.FillsFields());
    EXPECT_EQ(slot.Prepare(c.srcW, c.srcH, c.srcAx, c.srcAy, c.outW, c.outH, c.outAx, c.outAy,
                           c.mode, FIELD_POLICY_ALWAYS),
              kRefused);
    EXPECT_FALSE(slot.FillsFields());
    tultest::GuardedBuffer src(FrameBytes(16, 6), 0x11), dst(FrameBytes(16, 6), 0xEE);
    EXPECT_EQ(slot.Resize(src.data(), dst.data()), kNotPrepared);
    EXPECT_TRUE(tultest::SameBytes(std::vector<unsigned char>(dst.size(), 0xEE), dst.Bytes()));
    EXPECT_TRUE(dst.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(
    BadGeometry, ImageResizerRefuses,
    ::testing::Values(
        BadPrepare{0, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{720, 0, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{720, 480, 1, 1, 0, 240, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{720, 480, 1, 1, 320, 0, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{-2, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{720, 480, 1, 1, 320, -240, 1, 1, RESIZE_MODE_KEEP_ASPECT},
        BadPrepare{720, 480, 0, 9, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT},
        BadPrepare{720, 480, 16, -9, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT},
        BadPrepare{720, 480, 1, 1, 320, 240, 0, 0, RESIZE_MODE_KEEP_ASPECT},
        BadPrepare{720, 480, 1, 1, 320, 240, 4, 0, RESIZE_MODE_KEEP_ASPECT},
        BadPrepare{10000, 1, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT},
        // Frames whose bytes pass 32 bits, on either side.
        BadPrepare{720, 480, 1, 1, 65536, 32768, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{720, 480, 1, 1, 46341, 46341, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{720, 480, 1, 1, INT32_MAX, 1, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{65536, 32768, 1, 1, 320, 240, 1, 1, RESIZE_MODE_FIT},
        BadPrepare{INT32_MAX, INT32_MAX, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT}));

TEST(ImageResizer, OddOutputWidthIsRefusedByTheResizer)
{
    // The resizer's rows are padded to whole 32-bit words, so a frame of
    // 33 x 2 bytes per line is too small for it and nothing is written.
    CImageResizer slot;
    ASSERT_EQ(slot.Prepare(64, 48, 1, 1, 33, 24, 1, 1, RESIZE_MODE_FIT, FIELD_POLICY_AUTO), 0u);
    tultest::GuardedBuffer src(FrameBytes(64, 48), 0x40), dst(FrameBytes(33, 24), 0xEE);
    EXPECT_EQ(slot.Resize(src.data(), dst.data()), kTooSmall);
    EXPECT_TRUE(tultest::SameBytes(std::vector<unsigned char>(dst.size(), 0xEE), dst.Bytes()));
    EXPECT_TRUE(dst.GuardsIntact());
}

struct FlatCase {
    LONG srcW, srcH, srcAx, srcAy, outW, outH, outAx, outAy, mode;
    int pictureW, pictureH;
    int margin;  // 0 where both factors are exact
};

class ImageResizerFlatPicture : public ::testing::TestWithParam<FlatCase> {};

// The slot anchors the picture at the top-left of the frame, but the
// resizer centres it: the black is shared between the two sides, the odd
// line or pixel of an odd remainder going after the picture.
TEST_P(ImageResizerFlatPicture, ColourWhereThePictureIsAndBlackElsewhere)
{
    const FlatCase c = GetParam();
    CImageResizer slot;
    ASSERT_EQ(slot.Prepare(c.srcW, c.srcH, c.srcAx, c.srcAy, c.outW, c.outH, c.outAx, c.outAy,
                           c.mode, FIELD_POLICY_AUTO),
              0u);
    tultest::GuardedBuffer src(FrameBytes(c.srcW, c.srcH)), dst(FrameBytes(c.outW, c.outH), 0xEE);
    FillPairs(src.data(), src.size(), kColour);
    ASSERT_EQ(slot.Resize(src.data(), dst.data()), 0u);
    EXPECT_TRUE(dst.GuardsIntact());
    EXPECT_TRUE(FlatPictureAt(dst.data(), c.outW, c.outH, (c.outW - c.pictureW) / 2,
                              (c.outH - c.pictureH) / 2, c.pictureW, c.pictureH, c.margin));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ImageResizerFlatPicture,
    ::testing::Values(
        FlatCase{64, 48, 1, 1, 32, 24, 1, 1, RESIZE_MODE_FIT, 32, 24, 0},
        // Stretching (any mode but keeping the aspect) ignores aspect terms.
        FlatCase{64, 48, 0, -1, 96, 72, 0, 0, 9, 96, 72, 0},
        // 16:9 into a 4:3 frame: 36 lines of picture, 6 of black above and below.
        FlatCase{64, 48, 16, 9, 64, 48, 1, 1, RESIZE_MODE_KEEP_ASPECT, 64, 36, 0},
        // 4:3 into a frame announced as 16:9: 48 pixels of picture, 8 of black each side.
        FlatCase{64, 48, 4, 3, 64, 48, 16, 9, RESIZE_MODE_KEEP_ASPECT, 48, 48, 0},
        // 213 lines in 240: 13 black lines above, 14 below.
        FlatCase{720, 480, 1, 1, 320, 240, 1, 1, RESIZE_MODE_KEEP_ASPECT, 320, 213, 1}));

TEST(ImageResizer, PreparingAgainFollowsTheNewGeometry)
{
    CImageResizer slot;
    tultest::GuardedBuffer src(FrameBytes(64, 48)), dst(FrameBytes(64, 48), 0xEE);
    FillPairs(src.data(), src.size(), kColour);
    ASSERT_EQ(slot.Prepare(64, 48, 16, 9, 64, 48, 1, 1, RESIZE_MODE_KEEP_ASPECT, 0), 0u);
    ASSERT_EQ(slot.Resize(src.data(), dst.data()), 0u);
    EXPECT_TRUE(FlatPictureAt(dst.data(), 64, 48, 0, 6, 64, 36, 0));
    ASSERT_EQ(slot.Prepare(64, 48, 16, 9, 64, 48, 1, 1, RESIZE_MODE_FIT, 0), 0u);
    ASSERT_EQ(slot.Resize(src.data(), dst.data()), 0u);
    EXPECT_TRUE(FlatPictureAt(dst.data(), 64, 48, 0, 0, 64, 48, 0));
    // A smaller source into the same frame.
    tultest::GuardedBuffer small(FrameBytes(32, 24));
    FillPairs(small.data(), small.size(), kColour);
    ASSERT_EQ(slot.Prepare(32, 24, 1, 1, 64, 48, 1, 1, RESIZE_MODE_FIT, 0), 0u);
    ASSERT_EQ(slot.Resize(small.data(), dst.data()), 0u);
    EXPECT_TRUE(FlatPictureAt(dst.data(), 64, 48, 0, 0, 64, 48, 0));
}

}  // namespace
