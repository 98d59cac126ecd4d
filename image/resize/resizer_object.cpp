// The resizer object: a resize plan prepared once for a geometry, then
// used frame after frame, with the YUY2 scratch planes kept between frames.
#include "image/TulImage.h"
#include "image/foundation/black_fill.h"
#include "image/resize/resize_geometry.h"
#include "platform/ipp/ippi.h"

#include <cstdint>
#include <cstring>

namespace {

// Pictures the plan can address: each side's default row fits an int
// step and each frame's byte count fits in 32 bits.
bool PlanFits(ULONG width, ULONG height)
{
    return tul::Yuy2Layout().Fits(width, height, tul::Yuy2Layout().DefaultStep(width)) &&
           tul::Rgb32Layout().Fits(width, height, tul::Rgb32Layout().DefaultStep(width));
}

}  // namespace

TulImage::TulImage() : m_resizeReady(false), m_resizeInfo{} {}

TulImage::TulImage(const TulImage& other) : m_resizeReady(false), m_resizeInfo{}
{
    *this = other;
}

TulImage& TulImage::operator=(const TulImage& other)
{
    if (this == &other)
        return *this;
    ClearResizeBuffer(&m_resizeInfo);
    m_resizeReady = other.m_resizeReady;
    m_resizeInfo = other.m_resizeInfo;
    // The plan is copied; the scratch planes are the copy's own.
    std::memset(&m_resizeInfo.tempPlanar, 0, sizeof(m_resizeInfo.tempPlanar));
    const TEMP_PLANAR_FORMAT& theirs = other.m_resizeInfo.tempPlanar;
    TEMP_PLANAR_FORMAT& ours = m_resizeInfo.tempPlanar;
    const bool hadPlanes = theirs.srcPlane[0] != nullptr || theirs.dstPlane[0] != nullptr;
    if (hadPlanes) {
        const IppiSize src{static_cast<int>(m_resizeInfo.srcWidth), static_cast<int>(m_resizeInfo.srcHeight)};
        const IppiSize dst{static_cast<int>(m_resizeInfo.dstWidth), static_cast<int>(m_resizeInfo.dstHeight)};
        if (!tul::AllocatePlanes(ours.srcPlane, ours.srcPlaneStep, src) ||
            !tul::AllocatePlanes(ours.dstPlane, ours.dstPlaneStep, dst)) {
            // Without planes of its own the copy cannot resize: it starts unprepared.
            ClearResizeBuffer(&m_resizeInfo);
            m_resizeReady = false;
        }
    }
    return *this;
}

TulImage::~TulImage()
{
    ClearResizeBuffer(&m_resizeInfo);
}

namespace {

// The scratch-plane rule for one side: keep the planes when the object is
// ready with a library plan of the same size on that side; otherwise
// replace them. False when a plane cannot be had.
bool RefreshSide(unsigned char* planes[3], int steps[3], bool keep, IppiSize size)
{
    if (keep && planes[0] != nullptr && planes[1] != nullptr && planes[2] != nullptr)
        return true;
    tul::ReleasePlanes(planes, steps);
    return tul::AllocatePlanes(planes, steps, size);
}

}  // namespace

// Applies the scratch-plane rule to both sides; on failure the object is
// left unprepared with an empty plan.
static bool RefreshScratch(bool ready, RESIZE_INFO* info, ULONG srcWidth, ULONG srcHeight,
                           ULONG dstWidth, ULONG dstHeight)
{
    const bool libraryPlan = ready && info->resizeNeeded && info->interpolation != TulImage::INTERPOLATION_VEXO;
    const bool keepSrc = libraryPlan && info->srcWidth == srcWidth && info->srcHeight == srcHeight;
    const bool keepDst = libraryPlan && info->dstWidth == dstWidth && info->dstHeight == dstHeight;
    TEMP_PLANAR_FORMAT& t = info->tempPlanar;
    return RefreshSide(t.srcPlane, t.srcPlaneStep, keepSrc,
                       IppiSize{static_cast<int>(srcWidth), static_cast<int>(srcHeight)}) &&
           RefreshSide(t.dstPlane, t.dstPlaneStep, keepDst,
                       IppiSize{static_cast<int>(dstWidth), static_cast<int>(dstHeight)});
}

ULONG TulImage::Initialize(ULONG srcWidth, ULONG srcHeight, ULONG dstWidth, ULONG dstHeight,
                           INTERPOLATION_MODE mode)
{
    if (!PlanFits(srcWidth, srcHeight) || !PlanFits(dstWidth, dstHeight)) {
        ClearResizeBuffer(&m_resizeInfo);
        m_resizeReady = false;
        return 3;
    }
    const IppiSize src{static_cast<int>(srcWidth), static_cast<int>(srcHeight)};
    const IppiSize dst{static_cast<int>(dstWidth), static_cast<int>(dstHeight)};
    RESIZE_INFO& r = m_resizeInfo;
    const bool needed = GetResizeFactor(src, dst, &r.xFactor, &r.yFactor, &r.srcMarginX, &r.dstMarginX);
    if (!needed || mode == INTERPOLATION_VEXO) {
        ClearTempBuffer(&r.tempPlanar);
    } else if (!RefreshScratch(m_resizeReady, &r, srcWidth, srcHeight, dstWidth, dstHeight)) {
        ClearResizeBuffer(&r);
        m_resizeReady = false;
        return 1;
    }
    r.srcWidth = srcWidth;
    r.srcHeight = srcHeight;
    r.dstWidth = dstWidth;
    r.dstHeight = dstHeight;
    r.srcRegion = IppiRect{0, 0, src.width, src.height};
    r.srcStep = static_cast<int>(tul::Yuy2Row(srcWidth));
    r.dstStep = static_cast<int>(tul::Yuy2Row(dstWidth));
    r.dstMarginY = 0;
    r.interpolation = mode;
    r.resizeNeeded = needed;
    m_resizeReady = true;
    return 0;
}

namespace {

// A rectangle inside a picture of the given size, with some area.
bool RectInside(const tagRECT& rc, ULONG width, ULONG height)
{
    return rc.left >= 0 && rc.top >= 0 && rc.right > rc.left && rc.bottom > rc.top &&
           static_cast<ULONG>(rc.right) <= width && static_cast<ULONG>(rc.bottom) <= height;
}

// The factor cut to five decimals. The quotient is taken in 64 bits: in 32
// bits a span of 21475 pixels or more would wrap into a nonsense factor.
double FiveDecimalFactor(LONG dstSpan, LONG srcSpan)
{
    const std::int64_t q = static_cast<std::int64_t>(dstSpan) * 100000 / srcSpan;
    return static_cast<double>(q) * 0.00001;
}

int TruncateToFour(std::int64_t v)
{
    return static_cast<int>(v / 4 * 4);
}

}  // namespace

ULONG TulImage::InitializeEx(ULONG srcWidth, ULONG srcHeight, tagRECT srcRect, ULONG dstWidth,
                             ULONG dstHeight, tagRECT dstRect, INTERPOLATION_MODE mode)
{
    // Empty rectangles give no factor, and rectangles outside their picture
    // would make the margins negative and the resize read outside it.
    if (!PlanFits(srcWidth, srcHeight) || !PlanFits(dstWidth, dstHeight) ||
        !RectInside(srcRect, srcWidth, srcHeight) || !RectInside(dstRect, dstWidth, dstHeight)) {
        ClearResizeBuffer(&m_resizeInfo);
        m_resizeReady = false;
        return 3;
    }
    RESIZE_INFO& r = m_resizeInfo;
    const bool same = srcWidth == dstWidth && srcHeight == dstHeight && srcRect.left == dstRect.left &&
                      srcRect.top == dstRect.top && srcRect.right == dstRect.right &&
                      srcRect.bottom == dstRect.bottom;
    if (same || mode == INTERPOLATION_VEXO) {
        ClearTempBuffer(&r.tempPlanar);
    } else if (!RefreshScratch(m_resizeReady, &r, srcWidth, srcHeight, dstWidth, dstHeight)) {
        ClearResizeBuffer(&r);
        m_resizeReady = false;
        return 1;
    }
    r.resizeNeeded = !same;
    r.srcWidth = srcWidth;
    r.srcHeight = srcHeight;
    r.dstWidth = dstWidth;
    r.dstHeight = dstHeight;
    r.srcStep = static_cast<int>(tul::Yuy2Row(srcWidth));
    r.dstStep = static_cast<int>(tul::Yuy2Row(dstWidth));
    r.interpolation = mode;
    r.srcRegion = IppiRect{srcRect.left, srcRect.top, srcRect.right - srcRect.left,
                           srcRect.bottom - srcRect.top};
    r.srcMarginX = TruncateToFour(static_cast<std::int64_t>(srcWidth) - srcRect.right - srcRect.left);
    r.dstMarginX = TruncateToFour(static_cast<std::int64_t>(dstWidth) - dstRect.right - dstRect.left);
    r.dstMarginY = static_cast<int>(static_cast<std::int64_t>(dstHeight) - dstRect.bottom - dstRect.top);
    r.xFactor = FiveDecimalFactor(dstRect.right - dstRect.left, srcRect.right - srcRect.left);
    r.yFactor = FiveDecimalFactor(dstRect.bottom - dstRect.top, srcRect.bottom - srcRect.top);
    m_resizeReady = true;
    return 0;
}

ULONG TulImage::ResizeYUY2(unsigned char* const src, unsigned char* dst, ULONG* size)
{
    if (src == nullptr || dst == nullptr || size == nullptr)
        return 3;
    const RESIZE_INFO& r = m_resizeInfo;
    const ULONG required = r.dstHeight * static_cast<ULONG>(r.dstStep);
    if (*size < required)
        return 2;
    *size = required;
    if (!r.resizeNeeded) {
        TulMemory::Copy(dst, src, required);
        return 0;
    }
    tul::FillWords(dst, tul::kYuy2BlackWord, required / 4);
    const IppiSize srcSize{static_cast<int>(r.srcWidth), static_cast<int>(r.srcHeight)};
    const IppiSize dstSize{static_cast<int>(r.dstWidth), static_cast<int>(r.dstHeight)};
    bool ok = false;
    if (r.interpolation == INTERPOLATION_VEXO) {
        ok = VexoResizeYUY2(src, dst, r.srcStep, r.dstStep, srcSize, dstSize, r.srcMarginX,
                            r.dstMarginX, r.dstMarginY, FIELD_FRAME, true);
    } else {
        ok = IppResizeYUY2(src, dst, r.srcStep, r.dstStep, srcSize, dstSize, r.srcRegion,
                           r.xFactor, r.yFactor, static_cast<INTERPOLATION_MODE>(r.interpolation),
                           &m_resizeInfo.tempPlanar, FIELD_FRAME, true);
    }
    return ok ? 0 : 4;
}

namespace {

using ResizeCenterFn = IppStatus (*)(const Ipp8u*, IppiSize, int, IppiRect, Ipp8u*, int, IppiSize,
                                     double, double, double, double, int);

}  // namespace

// Both RGB forms: pitches are the default rows, the picture stays black
// where the resize does not reach (and wholly black if it fails).
static ULONG ResizePlannedRgb(const RESIZE_INFO& r, const tul::PictureLayout& layout,
                              ResizeCenterFn resize, int interpolation, unsigned char* src,
                              unsigned char* dst, ULONG* size)
{
    if (src == nullptr || dst == nullptr || size == nullptr)
        return 3;
    const int srcPitch = layout.DefaultStep(r.srcWidth);
    const int dstPitch = layout.DefaultStep(r.dstWidth);
    const ULONG required = r.dstHeight * static_cast<ULONG>(dstPitch);
    if (*size < required)
        return 2;
    *size = required;
    if (!r.resizeNeeded) {
        TulMemory::Copy(dst, src, required);
        return 0;
    }
    TulMemory::ZeroClear(dst, required);
    const IppStatus status =
        resize(src, IppiSize{static_cast<int>(r.srcWidth), static_cast<int>(r.srcHeight)}, srcPitch,
               r.srcRegion, dst, dstPitch,
               IppiSize{static_cast<int>(r.dstWidth), static_cast<int>(r.dstHeight)}, r.xFactor,
               r.yFactor, static_cast<double>((r.srcRegion.width + 1) / 2),
               static_cast<double>((r.srcRegion.height + 1) / 2), interpolation);
    return status == ippStsNoErr ? 0 : 4;
}

ULONG TulImage::ResizeRGB24(unsigned char* const src, unsigned char* dst, ULONG* size)
{
    const int interp = GetInterpolation(static_cast<INTERPOLATION_MODE>(m_resizeInfo.interpolation),
                                        m_resizeInfo.xFactor, m_resizeInfo.yFactor);
    return ResizePlannedRgb(m_resizeInfo, tul::Rgb24Layout(), ippiResizeCenter_8u_C3R, interp, src,
                            dst, size);
}

ULONG TulImage::ResizeRGB32(unsigned char* const src, unsigned char* dst, ULONG* size)
{
    const int interp = GetInterpolation(static_cast<INTERPOLATION_MODE>(m_resizeInfo.interpolation),
                                        m_resizeInfo.xFactor, m_resizeInfo.yFactor);
    return ResizePlannedRgb(m_resizeInfo, tul::Rgb32Layout(), ippiResizeCenter_8u_C4R, interp, src,
                            dst, size);
}
