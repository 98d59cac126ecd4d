// The resizer object: preparation rules, scratch-plane reuse, copies, and
// the per-frame resize.
#include "tests/image/resize/resize_internals.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

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

TEST(ResizerObject, EqualSizesCopyTheFrame)
{
    T image;
    ASSERT_EQ(image.Initialize(64, 10, 64, 10, T::INTERPOLATION_LINEAR), 0u);
    EXPECT_TRUE(TulImageInternals::Ready(image));
    const RESIZE_INFO& plan = TulImageInternals::Plan(image);
    EXPECT_FALSE(plan.resizeNeeded);
    EXPECT_EQ(plan.tempPlanar.srcPlane[0], nullptr);
    const auto src = RandomFrame(64, 10, 2, 1);
    std::vector<unsigned char> dst(src.size());
    ULONG size = static_cast<ULONG>(dst.size());
    EXPECT_EQ(image.ResizeYUY2(const_cast<unsigned char*>(src.data()), dst.data(), &size), 0u);
    EXPECT_EQ(size, 64u * 2 * 10);
    EXPECT_EQ(dst, src);
}

TEST(ResizerObject, OwnResamplerPlanNeedsNoScratchAndKeepsTheBroadcastMargin)
{
    T image;
    ASSERT_EQ(image.Initialize(720, 480, 704, 480, T::INTERPOLATION_VEXO), 0u);
    const RESIZE_INFO& plan = TulImageInternals::Plan(image);
    EXPECT_EQ(plan.tempPlanar.srcPlane[0], nullptr);
    EXPECT_EQ(plan.tempPlanar.dstPlane[0], nullptr);
    EXPECT_EQ(plan.srcMarginX, 16);
    EXPECT_EQ(plan.dstMarginX, 0);
    EXPECT_EQ(plan.dstMarginY, 0);
    auto src = RandomFrame(720, 480, 2, 2);
    std::vector<unsigned char> viaObject(704 * 2 * 480), viaStatic(viaObject.size());
    ULONG a = static_cast<ULONG>(viaObject.size()), b = a;
    EXPECT_EQ(image.ResizeYUY2(src.data(), viaObject.data(), &a), 0u);
    EXPECT_EQ(T::ResizeYUY2(src.data(), viaStatic.data(), &b, 720, 480, 1440, 704, 480, 1408,
                            T::INTERPOLATION_VEXO),
              0u);
    EXPECT_EQ(viaObject, viaStatic);
}

TEST(ResizerObject, EqualSizesWithDifferentRectanglesStillResize)
{
    T image;
    ASSERT_EQ(image.InitializeEx(64, 32, Rect(0, 0, 64, 32), 64, 32, Rect(0, 0, 48, 32),
                                 T::INTERPOLATION_LINEAR),
              0u);
    EXPECT_TRUE(TulImageInternals::Plan(image).resizeNeeded);
    EXPECT_DOUBLE_EQ(TulImageInternals::Plan(image).xFactor, 0.75);
    EXPECT_EQ(TulImageInternals::Plan(image).dstMarginX, 16);
}

TEST(ResizerObject, FactorsAreCutToFiveDecimals)
{
    T image;
    ASSERT_EQ(image.InitializeEx(720, 480, Rect(0, 0, 720, 480), 320, 240, Rect(0, 0, 320, 213),
                                 T::INTERPOLATION_LINEAR),
              0u);
    const RESIZE_INFO& plan = TulImageInternals::Plan(image);
    EXPECT_DOUBLE_EQ(plan.xFactor, 44444 * 0.00001);
    EXPECT_DOUBLE_EQ(plan.yFactor, 44375 * 0.00001);
    EXPECT_EQ(plan.dstMarginY, 27);
    EXPECT_EQ(plan.srcRegion.width, 720);
    EXPECT_EQ(plan.srcRegion.height, 480);
}

TEST(ResizerObject, LetterboxedOwnResizeLeavesBlackBarsAboveAndBelow)
{
    T image;
    ASSERT_EQ(image.InitializeEx(640, 480, Rect(0, 0, 640, 480), 640, 480, Rect(0, 0, 640, 360),
                                 T::INTERPOLATION_VEXO),
              0u);
    EXPECT_EQ(TulImageInternals::Plan(image).dstMarginY, 120);
    std::vector<unsigned char> src(640 * 2 * 480);
    for (std::size_t i = 0; i < src.size(); i += 2) {
        src[i] = 200;
        src[i + 1] = 30;
    }
    std::vector<unsigned char> dst(src.size(), 0x11);
    ULONG size = static_cast<ULONG>(dst.size());
    ASSERT_EQ(image.ResizeYUY2(src.data(), dst.data(), &size), 0u);
    for (int r = 0; r < 480; ++r) {
        const unsigned char* row = dst.data() + static_cast<std::size_t>(r) * 1280;
        if (r < 60 || r >= 420) {
            ASSERT_TRUE(tultest::IsYuy2Black(row, 640)) << "row " << r;
        } else {
            ASSERT_EQ(row[0], 200) << "row " << r;
            ASSERT_EQ(row[1279], 30) << "row " << r;
        }
    }
}

TEST(ResizerObject, ScratchPlanesAreKeptForAnUnchangedSide)
{
    T image;
    ASSERT_EQ(image.Initialize(320, 240, 160, 120, T::INTERPOLATION_LINEAR), 0u);
    const RESIZE_INFO& plan = TulImageInternals::Plan(image);
    unsigned char* const srcY = plan.tempPlanar.srcPlane[0];
    ASSERT_NE(srcY, nullptr);
    ASSERT_EQ(image.Initialize(320, 240, 160, 120, T::INTERPOLATION_CUBIC), 0u);
    EXPECT_EQ(plan.tempPlanar.srcPlane[0], srcY);
    ASSERT_EQ(image.Initialize(320, 240, 200, 100, T::INTERPOLATION_CUBIC), 0u);
    EXPECT_EQ(plan.tempPlanar.srcPlane[0], srcY);
    EXPECT_NE(plan.tempPlanar.dstPlane[0], nullptr);
    // The own resampler needs none; returning to a library plan allocates again.
    ASSERT_EQ(image.Initialize(320, 240, 200, 100, T::INTERPOLATION_VEXO), 0u);
    EXPECT_EQ(plan.tempPlanar.srcPlane[0], nullptr);
    ASSERT_EQ(image.Initialize(320, 240, 200, 100, T::INTERPOLATION_LINEAR), 0u);
    EXPECT_NE(plan.tempPlanar.srcPlane[0], nullptr);
}

TEST(ResizerObject, CapacityOneByteShortIsRefused)
{
    T image;
    ASSERT_EQ(image.Initialize(64, 32, 32, 16, T::INTERPOLATION_LINEAR), 0u);
    auto src = RandomFrame(64, 32, 2, 4);
    tultest::GuardedBuffer dst(32 * 2 * 16, 0xEE);
    ULONG size = 32 * 2 * 16 - 1;
    EXPECT_EQ(image.ResizeYUY2(src.data(), dst.data(), &size), 2u);
    EXPECT_EQ(size, 32u * 2 * 16 - 1);
    for (std::size_t i = 0; i < dst.size(); ++i)
        ASSERT_EQ(dst[i], 0xEE);
    EXPECT_EQ(image.ResizeYUY2(nullptr, dst.data(), &size), 3u);
    EXPECT_EQ(image.ResizeYUY2(src.data(), nullptr, &size), 3u);
}

TEST(ResizerObject, Rgb32WithoutResizeCopiesFourBytesAPixel)
{
    T image;
    ASSERT_EQ(image.Initialize(17, 5, 17, 5, T::INTERPOLATION_LINEAR), 0u);
    auto src = RandomFrame(17, 5, 4, 5);
    std::vector<unsigned char> dst(src.size());
    ULONG size = static_cast<ULONG>(dst.size());
    EXPECT_EQ(image.ResizeRGB32(src.data(), dst.data(), &size), 0u);
    EXPECT_EQ(size, 17u * 4 * 5);
    EXPECT_EQ(dst, src);
}

TEST(ResizerObject, RgbPlanResizesLikeTheOneCallEntryPoint)
{
    T image;
    ASSERT_EQ(image.Initialize(40, 30, 25, 17, T::INTERPOLATION_CUBIC), 0u);
    auto src = RandomFrame(40, 30, 3, 6);
    const int dstPitch = (24 * 25 + 31) / 32 * 4;
    std::vector<unsigned char> a(static_cast<std::size_t>(dstPitch) * 17), b(a.size());
    ULONG sa = static_cast<ULONG>(a.size()), sb = sa;
    EXPECT_EQ(image.ResizeRGB24(src.data(), a.data(), &sa), 0u);
    EXPECT_EQ(T::ResizeRGB24(src.data(), b.data(), &sb, 40, 30, 120, 25, 17, dstPitch,
                             T::INTERPOLATION_CUBIC),
              0u);
    EXPECT_EQ(a, b);
}

TEST(ResizerObject, UnpreparedObjectResizesNothing)
{
    T image;
    unsigned char byte = 7;
    ULONG size = 100;
    EXPECT_EQ(image.ResizeYUY2(&byte, &byte, &size), 0u);
    EXPECT_EQ(size, 0u);
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

TEST(ResizerObjectCopy, CopiesOwnTheirScratchAndOutliveTheOriginal)
{
    auto original = std::make_unique<T>();
    ASSERT_EQ(original->Initialize(96, 40, 50, 30, T::INTERPOLATION_LINEAR), 0u);
    T copy(*original);
    T assigned;
    assigned = *original;
    const auto& a = TulImageInternals::Plan(*original).tempPlanar;
    const auto& b = TulImageInternals::Plan(copy).tempPlanar;
    const auto& c = TulImageInternals::Plan(assigned).tempPlanar;
    ASSERT_NE(b.srcPlane[0], nullptr);
    EXPECT_NE(a.srcPlane[0], b.srcPlane[0]);
    EXPECT_NE(a.dstPlane[1], c.dstPlane[1]);
    EXPECT_EQ(TulImageInternals::Plan(copy).xFactor, TulImageInternals::Plan(*original).xFactor);

    auto src = RandomFrame(96, 40, 2, 8);
    std::vector<unsigned char> fromOriginal(50 * 2 * 30 + 4), fromCopy(fromOriginal.size());
    ULONG s1 = static_cast<ULONG>(fromOriginal.size()), s2 = s1;
    ASSERT_EQ(original->ResizeYUY2(src.data(), fromOriginal.data(), &s1), 0u);
    original.reset();
    ASSERT_EQ(copy.ResizeYUY2(src.data(), fromCopy.data(), &s2), 0u);
    EXPECT_EQ(fromOriginal, fromCopy);
    copy = copy;  // self-assignment keeps the planes
    s2 = static_cast<ULONG>(fromCopy.size());
    EXPECT_EQ(copy.ResizeYUY2(src.data(), fromCopy.data(), &s2), 0u);
    EXPECT_EQ(fromOriginal, fromCopy);
}

}  // namespace

namespace {

// An odd width's last pixel keeps its U sample through split and join, so
// odd sizes resize on both sides without the primitives refusing a step.
class OddWidths : public ::testing::TestWithParam<TulImage::INTERPOLATION_MODE> {};

TEST_P(OddWidths, ResizeThroughTheLibraryAndTheEntryPoint)
{
    TulImage image;
    ASSERT_EQ(image.Initialize(129, 31, 77, 19, GetParam()), 0u);
    std::vector<unsigned char> src(((16 * 129 + 31) >> 3 & ~3u) * 31);
    tultest::FillRandom(src.data(), src.size(), 31);
    const std::size_t dstBytes = ((16 * 77 + 31) >> 3 & ~3u) * 19;
    tultest::GuardedBuffer a(dstBytes), b(dstBytes);
    ULONG sa = static_cast<ULONG>(dstBytes), sb = sa;
    EXPECT_EQ(image.ResizeYUY2(src.data(), a.data(), &sa), 0u);
    EXPECT_EQ(TulImage::ResizeYUY2(src.data(), b.data(), &sb, 129, 31, 0, 77, 19, 0, GetParam()), 0u);
    EXPECT_TRUE(a.GuardsIntact());
    EXPECT_TRUE(b.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(LibraryModes, OddWidths,
                         ::testing::Values(TulImage::INTERPOLATION_NEAREST, TulImage::INTERPOLATION_LINEAR,
                                           TulImage::INTERPOLATION_CUBIC, TulImage::INTERPOLATION_AUTO));

}  // namespace

namespace {

// A picture stretched over the whole frame covers it to the last column
// and row, although the factors are cut to five decimals (720 -> 320 is
// 0.44444, short of 4/9): the exact extent decides what is written.
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
