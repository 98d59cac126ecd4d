// Picture geometry: sizes, default steps and the black picture per format.
#include "image/TulImage.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using F = TulImage::COLOR_FORMAT_TYPE;
constexpr F kYUY2 = TulImage::COLOR_FORMAT_YUY2;
constexpr F kRGB24 = TulImage::COLOR_FORMAT_RGB24;
constexpr F kRGB32 = TulImage::COLOR_FORMAT_RGB32;
constexpr F kSS24 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24;
constexpr F kSS32 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;
constexpr F kI420 = TulImage::COLOR_FORMAT_YUV420;
constexpr F kYV12 = TulImage::COLOR_FORMAT_YV12;
constexpr F kVUYA = TulImage::COLOR_FORMAT_VUYA;
const F kUnknown = static_cast<F>(8);

// Default steps round rows to 32-bit words and are negative for the
// bottom-up RGB and VUYA forms; GetGenericSize reports them with the size
// and bits per pixel, and leaves null outputs alone.
TEST(PictureGeometry, DefaultStepSizeAndBits)
{
    const struct {
        F format;
        int width, height;
        ULONG size;
        int step, bits;
    } cases[] = {{kRGB24, 3, 2, 24, -12, 24}, {kYUY2, 3, 2, 16, 8, 16}, {kRGB32, 5, 1, 20, -20, 32},
                 {kI420, 5, 4, 28, 5, 12},    {kYV12, 7, 2, 20, 7, 12}, {kVUYA, 2, 3, 24, -8, 32},
                 {kUnknown, 3, 2, 0, 0, 0}};
    for (const auto& c : cases) {
        int step = 77, bits = 77;
        EXPECT_EQ(TulImage::GetGenericSize(c.format, c.width, c.height, &step, &bits), c.size) << c.format;
        EXPECT_EQ(step, c.step) << "format " << c.format;
        EXPECT_EQ(bits, c.bits) << "format " << c.format;
        EXPECT_EQ(TulImage::GetGenericStep(c.format, c.width, 99), c.step) << "format " << c.format;
        EXPECT_EQ(TulImage::GetGenericSize(c.format, c.width, c.height, nullptr, nullptr), c.size);
    }
}

TEST(PictureGeometry, PictureSizesOfPlanarStepsAndUnknownFormats)
{
    EXPECT_EQ(TulImage::GetPictureSize(kRGB24, 3, 2, 0), 24u);
    EXPECT_EQ(TulImage::GetPictureSize(kI420, 5, 4, 0), 28u);
    EXPECT_EQ(TulImage::GetPictureSize(kI420, 5, 4, -6), 36u);
    EXPECT_EQ(TulImage::GetPictureSize(kI420, 5, 4, 7), 40u);
    EXPECT_EQ(TulImage::GetPictureSize(kUnknown, 5, 4, 0), 0u);
    EXPECT_EQ(TulImage::GetPictureSize(kUnknown, 5, 4, -9), 36u);
}

TEST(PictureGeometry, SignOfStepNeverChangesSize)
{
    for (F f : {kYUY2, kRGB24, kRGB32, kSS24, kSS32, kI420, kYV12, kVUYA, kUnknown}) {
        for (int step : {1, 7, 8, 33, 1440, 4097}) {
            EXPECT_EQ(TulImage::GetPictureSize(f, 13, 11, step),
                      TulImage::GetPictureSize(f, 13, 11, -step))
                << "format " << f << " step " << step;
        }
    }
}

TEST(PictureGeometry, SizesWrapIn32Bits)
{
    // 70000 x 70000 RGB32 is 19.6e9 bytes; the exported size is 32-bit.
    const ULONG expected = static_cast<ULONG>(70000ull * 4 * 70000ull);
    EXPECT_EQ(TulImage::GetPictureSize(kRGB32, 70000, 70000, 0), expected);
    // 4:2:0 widths past 0x55555555 wrap (w + w / 2, the half of the width
    // taken as a signed int) without overflowing an int on the way.
    EXPECT_EQ(TulImage::GetGenericSize(kI420, 0x60000000u, 3, nullptr, nullptr), 0xB0000000u);
    EXPECT_EQ(TulImage::GetGenericSize(kYV12, 0x80000001u, 1, nullptr, nullptr), 0x40000002u);
}

// The black picture of each format, written over 0xEE: `unit` repeated
// over the whole buffer is what it must hold afterwards.
struct ClearCase {
    const char* name;
    F format;
    int width, height, step;
    std::size_t bytes;
    std::vector<unsigned char> unit;
};

class ClearPicture : public ::testing::TestWithParam<ClearCase> {};

TEST_P(ClearPicture, WritesTheBlackOfItsFormatAndNothingElse)
{
    const ClearCase& c = GetParam();
    tultest::GuardedBuffer b(c.bytes, 0xEE);
    TulImage::ClearPicture(b.data(), c.format, c.width, c.height, c.step);
    std::vector<unsigned char> expected(c.bytes);
    for (std::size_t i = 0; i < c.bytes; ++i)
        expected[i] = c.unit[i % c.unit.size()];
    EXPECT_TRUE(tultest::SameBytes(expected, b.Bytes()));
    EXPECT_TRUE(b.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, ClearPicture,
    ::testing::Values(
        // Black luma, neutral chroma.
        ClearCase{"Yv12", kYV12, 4, 2, 0, 12, {0, 0, 0, 0, 0, 0, 0, 0, 127, 127, 127, 127}},
        // Width 3 rounds to 8 bytes a row; a 12-byte pitch keeps 4 bytes of padding.
        ClearCase{"Yuy2Padded", kYUY2, 3, 2, -12, 24, {0, 0x7F, 0, 0x7F, 0, 0x7F, 0, 0x7F, 0xEE, 0xEE, 0xEE, 0xEE}},
        // Neutral chroma, black luma, zero alpha.
        ClearCase{"Vuya", kVUYA, 2, 3, 0, 24, {0x7F, 0x7F, 0x00, 0x00}},
        // RGB forms zero pitch times height.
        ClearCase{"Rgb24", kRGB24, 7, 5, 40, 200, {0}}, ClearCase{"Rgb32", kRGB32, 7, 5, 40, 200, {0}},
        ClearCase{"Ss24", kSS24, 7, 5, 40, 200, {0}}, ClearCase{"Ss32", kSS32, 7, 5, 40, 200, {0}},
        ClearCase{"UnknownDefaultStep", kUnknown, 4, 4, 0, 16, {0xEE}},
        // Pitch 5: luma 5 x 2 bytes, then (5 / 2) x 2 = 4 chroma bytes.
        ClearCase{"I420NegativeOddStep", kI420, 4, 2, -5, 16,
                  {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 127, 127, 127, 127, 0xEE, 0xEE}}),
    [](const auto& info) { return std::string(info.param.name); });

// A packed row longer than |step| is refused, writing nothing, whatever
// the height: the rows would overlap and the last run past the buffer.
TEST(ClearPictureRefusal, StepShorterThanThePackedRowWritesNothing)
{
    for (F f : {kYUY2, kRGB24, kRGB32, kSS24, kSS32, kVUYA}) {
        const int row = static_cast<int>(TulImage::GetBitPixel(f)) / 8 * 4;  // width 4
        for (int step : {row - 1, -(row - 1), 4}) {
            for (ULONG height : {1u, 3u}) {
                const std::size_t bytes = TulImage::GetPictureSize(f, 4, height, step);
                tultest::GuardedBuffer b(bytes, 0xEE);
                TulImage::ClearPicture(b.data(), f, 4, height, step);
                EXPECT_TRUE(tultest::SameBytes(std::vector<unsigned char>(bytes, 0xEE), b.Bytes()))
                    << "format " << f << " step " << step << " height " << height;
                EXPECT_TRUE(b.GuardsIntact());
            }
        }
    }
}

}  // namespace
