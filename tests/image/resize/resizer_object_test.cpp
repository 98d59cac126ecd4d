// The resizer object: preparation rules, scratch-plane reuse, copies, and
// the per-frame resize.
#include "tests/image/resize/resize_internals.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <vector>

namespace {

using T = TulImage;

tagRECT Rect(LONG l, LONG t, LONG r, LONG b) { return tagRECT{l, t, r, b}; }

std::vector<unsigned char> RandomFrame(int w, int h, int bytesPerPixel, unsigned seed)
{
    std::vector<unsigned char> v(static_cast<std::size_t>(w) * h * bytesPerPixel);
    tultest::FillRandom(v.data(), v.size(), seed);
    return v;
}

// Without a resize every form copies the default rows: YUY2 pairs padded
// to words, RGB32 four bytes a pixel.
TEST(ResizerObject, EqualSizesCopyTheFrame)
{
    T image;
    ASSERT_EQ(image.Initialize(17, 5, 17, 5, T::INTERPOLATION_LINEAR), 0u);
    EXPECT_TRUE(TulImageInternals::Ready(image));
    EXPECT_EQ(TulImageInternals::Plan(image).tempPlanar.srcPlane[0], nullptr);
    auto src = RandomFrame(17, 5, 4, 1);
    for (const std::size_t bytes : {36u * 5, 17u * 4 * 5}) {
        std::vector<unsigned char> dst(bytes);
        ULONG size = static_cast<ULONG>(bytes);
        EXPECT_EQ(bytes == 36u * 5 ? image.ResizeYUY2(src.data(), dst.data(), &size)
                                   : image.ResizeRGB32(src.data(), dst.data(), &size),
                  0u);
        EXPECT_EQ(size, bytes);
        EXPECT_TRUE(std::equal(dst.begin(), dst.end(), src.begin()));
    }
}

// InitializeEx cuts the factors of the rectangles to five decimals and
// keeps what the destination rectangle leaves as margins; equal sizes with
// different rectangles still resize.
TEST(ResizerObject, RectanglesGiveFiveDecimalFactorsAndMargins)
{
    const struct {
        ULONG sw, sh;
        tagRECT dst;
        ULONG dw, dh;
        double x, y;
        int marginX, marginY;
    } cases[] = {{64, 32, Rect(0, 0, 48, 32), 64, 32, 0.75, 1.0, 16, 0},
                 {720, 480, Rect(0, 0, 320, 213), 320, 240, 44444 * 0.00001, 44375 * 0.00001, 0, 27}};
    for (const auto& c : cases) {
        T image;
        ASSERT_EQ(image.InitializeEx(c.sw, c.sh, Rect(0, 0, c.sw, c.sh), c.dw, c.dh, c.dst,
                                     T::INTERPOLATION_LINEAR),
                  0u);
        const RESIZE_INFO& plan = TulImageInternals::Plan(image);
        EXPECT_TRUE(plan.resizeNeeded);
        EXPECT_DOUBLE_EQ(plan.xFactor, c.x);
        EXPECT_DOUBLE_EQ(plan.yFactor, c.y);
        EXPECT_EQ(plan.dstMarginX, c.marginX);
        EXPECT_EQ(plan.dstMarginY, c.marginY);
        EXPECT_EQ(plan.srcRegion.width, static_cast<int>(c.sw));
        EXPECT_EQ(plan.srcRegion.height, static_cast<int>(c.sh));
    }
}

TEST(ResizerObject, LetterboxedOwnResizeLeavesBlackBarsAboveAndBelow)
{
    T image;
    ASSERT_EQ(image.InitializeEx(640, 480, Rect(0, 0, 640, 480), 640, 480, Rect(0, 0, 640, 360),
                                 T::INTERPOLATION_VEXO),
              0u);
    std::vector<unsigned char> src(640 * 2 * 480), dst(src.size(), 0x11);
    for (std::size_t i = 0; i < src.size(); i += 2) {
        src[i] = 200;
        src[i + 1] = 30;
    }
    ULONG size = static_cast<ULONG>(dst.size());
    ASSERT_EQ(image.ResizeYUY2(src.data(), dst.data(), &size), 0u);
    for (int r = 0; r < 480; ++r) {
        const unsigned char* row = dst.data() + static_cast<std::size_t>(r) * 1280;
        ASSERT_TRUE(r < 60 || r >= 420 ? tultest::IsYuy2Black(row, 640) : std::equal(row, row + 1280, src.begin()))
            << "row " << r;
    }
}

struct BadRects {
    ULONG sw, sh;
    tagRECT src;
    ULONG dw, dh;
    tagRECT dst;
};

class ResizerObjectRefusal : public ::testing::TestWithParam<BadRects> {};

TEST_P(ResizerObjectRefusal, LeavesTheObjectUnpreparedWithAnEmptyPlan)
{
    const BadRects& c = GetParam();
    T image;
    ASSERT_EQ(image.Initialize(64, 32, 32, 16, T::INTERPOLATION_LINEAR), 0u);
    EXPECT_NE(image.InitializeEx(c.sw, c.sh, c.src, c.dw, c.dh, c.dst, T::INTERPOLATION_LINEAR), 0u);
    EXPECT_FALSE(TulImageInternals::Ready(image));
    EXPECT_EQ(TulImageInternals::Plan(image).tempPlanar.srcPlane[0], nullptr);
    unsigned char byte = 7;
    ULONG size = 100;
    EXPECT_EQ(image.ResizeYUY2(&byte, &byte, &size), 0u);
    EXPECT_EQ(size, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EmptyOrOutside, ResizerObjectRefusal,
    ::testing::Values(BadRects{64, 32, Rect(0, 0, 0, 32), 32, 16, Rect(0, 0, 32, 16)},
                      BadRects{64, 32, Rect(0, 0, 64, 0), 32, 16, Rect(0, 0, 32, 16)},
                      BadRects{64, 32, Rect(0, 0, 64, 32), 32, 16, Rect(0, 0, 0, 16)},
                      BadRects{64, 32, Rect(0, 0, 65, 32), 32, 16, Rect(0, 0, 32, 16)},
                      BadRects{64, 32, Rect(-4, 0, 60, 32), 32, 16, Rect(0, 0, 32, 16)},
                      BadRects{0, 32, Rect(0, 0, 0, 32), 32, 16, Rect(0, 0, 32, 16)},
                      BadRects{64, 32, Rect(0, 0, 64, 32), 0x40000000u, 16,
                               Rect(0, 0, 32, 16)}));

TEST(ResizerObjectCopy, CopiesOwnTheirScratchOutliveTheOriginalAndRefuseShortCapacity)
{
    auto original = std::make_unique<T>();
    ASSERT_EQ(original->Initialize(96, 40, 50, 30, T::INTERPOLATION_LINEAR), 0u);
    T copy(*original), assigned;
    assigned = *original;
    const auto& a = TulImageInternals::Plan(*original).tempPlanar;
    ASSERT_NE(TulImageInternals::Plan(copy).tempPlanar.srcPlane[0], nullptr);
    EXPECT_NE(a.srcPlane[0], TulImageInternals::Plan(copy).tempPlanar.srcPlane[0]);
    EXPECT_NE(a.dstPlane[1], TulImageInternals::Plan(assigned).tempPlanar.dstPlane[1]);
    auto src = RandomFrame(96, 40, 2, 8);
    std::vector<unsigned char> fromOriginal(50 * 2 * 30), fromCopy(fromOriginal.size());
    ULONG s1 = static_cast<ULONG>(fromOriginal.size()), s2 = s1;
    ASSERT_EQ(original->ResizeYUY2(src.data(), fromOriginal.data(), &s1), 0u);
    original.reset();
    copy = copy;  // self-assignment keeps the planes
    ASSERT_EQ(copy.ResizeYUY2(src.data(), fromCopy.data(), &s2), 0u);
    EXPECT_EQ(fromOriginal, fromCopy);
    // A capacity one byte short, or a null picture, is refused untouched.
    tultest::GuardedBuffer dst(fromCopy.size(), 0xEE);
    ULONG size = static_cast<ULONG>(dst.size()) - 1;
    EXPECT_EQ(copy.ResizeYUY2(src.data(), dst.data(), &size), 2u);
    EXPECT_EQ(size, dst.size() - 1);
    EXPECT_EQ(copy.ResizeYUY2(nullptr, dst.data(), &size), 3u);
    EXPECT_EQ(copy.ResizeYUY2(src.data(), nullptr, &size), 3u);
    EXPECT_TRUE(tultest::SameBytes(std::vector<unsigned char>(dst.size(), 0xEE), dst.Bytes()));
    EXPECT_TRUE(dst.GuardsIntact());
}

}  // namespace

namespace {

// A prepared frame gives the bytes of the one-call entry point: YUY2 of odd
// sizes (an odd width's last pixel keeps its U sample through split and
// join), the broadcast 720 -> 704 crop (a 16-pixel source margin) and RGB24.
struct OneCallCase {
    TulImage::COLOR_FORMAT_TYPE format;
    int sw, sh, dw, dh;
};

class PreparedLikeOneCall
    : public ::testing::TestWithParam<std::tuple<OneCallCase, TulImage::INTERPOLATION_MODE>> {};

TEST_P(PreparedLikeOneCall, SameBytes)
{
    const auto [c, mode] = GetParam();
    TulImage image;
    ASSERT_EQ(image.Initialize(c.sw, c.sh, c.dw, c.dh, mode), 0u);
    std::vector<unsigned char> src(TulImage::GetPictureSize(c.format, c.sw, c.sh, 0));
    tultest::FillRandom(src.data(), src.size(), 31);
    const std::size_t dstBytes = TulImage::GetPictureSize(c.format, c.dw, c.dh, 0);
    tultest::GuardedBuffer a(dstBytes), b(dstBytes);
    ULONG sa = static_cast<ULONG>(dstBytes), sb = sa;
    EXPECT_EQ(c.format == TulImage::COLOR_FORMAT_RGB24 ? image.ResizeRGB24(src.data(), a.data(), &sa)
                                                       : image.ResizeYUY2(src.data(), a.data(), &sa),
              0u);
    EXPECT_EQ(TulImage::Resize(src.data(), b.data(), &sb, c.sw, c.sh, 0, c.dw, c.dh, 0, c.format, mode), 0u);
    EXPECT_TRUE(tultest::SameBytes(b.Bytes(), a.Bytes()));
    EXPECT_TRUE(a.GuardsIntact());
}

// Every mode on each case; the own resampler takes whole YUY2 pixel pairs only.
std::vector<std::tuple<OneCallCase, TulImage::INTERPOLATION_MODE>> OneCallCases()
{
    std::vector<std::tuple<OneCallCase, TulImage::INTERPOLATION_MODE>> cases;
    for (const OneCallCase c : {OneCallCase{TulImage::COLOR_FORMAT_YUY2, 129, 31, 77, 19},
                                OneCallCase{TulImage::COLOR_FORMAT_YUY2, 720, 480, 704, 480},
                                OneCallCase{TulImage::COLOR_FORMAT_RGB24, 40, 30, 25, 17}}) {
        for (int m = TulImage::INTERPOLATION_NEAREST; m <= TulImage::INTERPOLATION_VEXO; ++m) {
            if (m != TulImage::INTERPOLATION_VEXO || c.sw % 2 == 0)
                cases.emplace_back(c, static_cast<TulImage::INTERPOLATION_MODE>(m));
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryMode, PreparedLikeOneCall, ::testing::ValuesIn(OneCallCases()));

}  // namespace

namespace {

// A picture stretched over the whole frame covers it to the last column
// and row, although the factors are cut to five decimals (720 -> 320 is
// 0.44444, short of 4/9): the exact extent the object hands the primitive
// decides what is written (without it the primitive's rule for the rounded
// factor holds, as its model comparison checks).
struct Stretch {
    int from, to;
};

class StretchCoversTheFrame
    : public ::testing::TestWithParam<std::tuple<Stretch, bool, TulImage::INTERPOLATION_MODE>> {};

TEST_P(StretchCoversTheFrame, NoUnwrittenRim)
{
    const auto [s, horizontal, mode] = GetParam();
    const int sw = horizontal ? s.from : 8, sh = horizontal ? 6 : s.from;
    const int dw = horizontal ? s.to : 8, dh = horizontal ? 6 : s.to;
    TulImage image;
    ASSERT_EQ(image.InitializeEx(sw, sh, Rect(0, 0, sw, sh), dw, dh, Rect(0, 0, dw, dh), mode), 0u);
    std::vector<unsigned char> src(static_cast<std::size_t>(sw) * 2 * sh);
    for (std::size_t i = 0; i < src.size(); i += 2) {
        src[i] = 200;
        src[i + 1] = 50;
    }
    std::vector<unsigned char> dst(static_cast<std::size_t>(dw) * 2 * dh);
    ULONG size = static_cast<ULONG>(dst.size());
    ASSERT_EQ(image.ResizeYUY2(src.data(), dst.data(), &size), 0u);
    for (std::size_t i = 0; i < dst.size(); i += 2) {
        ASSERT_EQ(dst[i], 200) << "pixel " << i / 2 % dw << " of row " << i / 2 / dw;
        ASSERT_EQ(dst[i + 1], 50) << "pixel " << i / 2 % dw << " of row " << i / 2 / dw;
    }
}

INSTANTIATE_TEST_SUITE_P(
    FilterSizes, StretchCoversTheFrame,
    ::testing::Combine(::testing::Values(Stretch{720, 320}, Stretch{720, 352}, Stretch{640, 800},
                                         Stretch{1920, 1280}, Stretch{1920, 160}, Stretch{1080, 90},
                                         Stretch{480, 1080}),
                       ::testing::Bool(),
                       ::testing::Values(TulImage::INTERPOLATION_NEAREST, TulImage::INTERPOLATION_LINEAR,
                                         TulImage::INTERPOLATION_CUBIC, TulImage::INTERPOLATION_AUTO)));

}  // namespace

#define TUL_DEFINE_ALLOCATION_COUNTER
#include "tests/support/alloc_counter.h"

namespace {

// Everything a frame needs is built when the object is prepared: frames
// of every family and mode allocate nothing, reducing into a letterbox and
// enlarging (where linear resamples the columns first).
class PreparedFrames : public ::testing::TestWithParam<TulImage::INTERPOLATION_MODE> {};

TEST_P(PreparedFrames, AllocateNothing)
{
    for (const auto& [sw, sh, dw, dh] : {std::array{96, 40, 58, 30}, std::array{40, 24, 70, 51}}) {
        TulImage image;
        ASSERT_EQ(image.InitializeEx(sw, sh, Rect(0, 0, sw, sh), dw, dh, Rect(0, 0, dw, dh * 4 / 5), GetParam()), 0u);
        auto src = RandomFrame(sw, sh, 4, 9);
        std::vector<unsigned char> dst(static_cast<std::size_t>(dw) * 4 * dh);
        const auto before = tultest::AllocationCount();
        for (int frame = 0; frame < 3; ++frame) {
            ULONG a = static_cast<ULONG>(dst.size()), b = a, c = a;
            EXPECT_EQ(image.ResizeYUY2(src.data(), dst.data(), &a), 0u);
            EXPECT_EQ(image.ResizeRGB24(src.data(), dst.data(), &b), 0u);
            EXPECT_EQ(image.ResizeRGB32(src.data(), dst.data(), &c), 0u);
        }
        EXPECT_EQ(tultest::AllocationCount(), before) << sw << "x" << sh << " -> " << dw << "x" << dh;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryMode, PreparedFrames,
                         ::testing::Values(TulImage::INTERPOLATION_NEAREST, TulImage::INTERPOLATION_LINEAR,
                                           TulImage::INTERPOLATION_CUBIC, TulImage::INTERPOLATION_AUTO,
                                           TulImage::INTERPOLATION_VEXO));

}  // namespace
