// The resizer object: a resize plan prepared once for a geometry, then
// used frame after frame. Preparation builds everything a frame needs (the
// scratch planes of a YUY2 library resize and the resamplers' plans), so a
// frame allocates nothing.
#include "image/TulImage.h"
#include "image/convert/convert_plan.h"
#include "image/foundation/black_fill.h"
#include "image/foundation/format_table.h"
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_plan.h"
#include "image/resize/resize_workers.h"
#include "image/resize/status_guard.h"
#include "platform/ipp/ippi.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

using T = TulImage;

// Pictures the plan can address: each side's default row fits an int
// step and each frame's byte count fits in 32 bits.
bool PlanFits(ULONG width, ULONG height)
{
    for (T::COLOR_FORMAT_TYPE f : {T::COLOR_FORMAT_YUY2, T::COLOR_FORMAT_RGB32}) {
        const tul::PictureLayout layout(f);
        if (!layout.Fits(width, height, layout.DefaultStep(width)))
            return false;
    }
    return true;
}

IppiSize SizeOf(ULONG width, ULONG height)
{
    return IppiSize{static_cast<int>(width), static_cast<int>(height)};
}

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

// Applies the scratch-plane rule to both sides, before the plan records
// the new sizes.
bool RefreshScratch(bool ready, RESIZE_INFO* info, ULONG srcWidth, ULONG srcHeight,
                    ULONG dstWidth, ULONG dstHeight)
{
    const bool libraryPlan = ready && info->resizeNeeded && info->interpolation != T::INTERPOLATION_VEXO;
    const bool keepSrc = libraryPlan && info->srcWidth == srcWidth && info->srcHeight == srcHeight;
    const bool keepDst = libraryPlan && info->dstWidth == dstWidth && info->dstHeight == dstHeight;
    TEMP_PLANAR_FORMAT& t = info->tempPlanar;
    return RefreshSide(t.srcPlane, t.srcPlaneStep, keepSrc, SizeOf(srcWidth, srcHeight)) &&
           RefreshSide(t.dstPlane, t.dstPlaneStep, keepDst, SizeOf(dstWidth, dstHeight));
}

// One RGB form's plan: the whole picture about the centre of the region.
IppStatus PrepareRgb(tulipp::ResizeCenterPlan& plan, int channels, const RESIZE_INFO& r,
                     double xExact, double yExact)
{
    tulipp::ResizeCenterRequest q;
    q.channels = channels;
    q.srcSize = SizeOf(r.srcWidth, r.srcHeight);
    q.srcRoi = r.srcRegion;
    q.dstRoiSize = SizeOf(r.dstWidth, r.dstHeight);
    q.xFactor = r.xFactor;
    q.yFactor = r.yFactor;
    q.xCenter = static_cast<double>((r.srcRegion.width + 1) / 2);
    q.yCenter = static_cast<double>((r.srcRegion.height + 1) / 2);
    // RGB has no own resampler: mode 4 takes the INTERPOLATION_AUTO rule.
    q.interpolation = tul::GetInterpolation(static_cast<T::INTERPOLATION_MODE>(r.interpolation),
                                            r.xFactor, r.yFactor);
    q.xExactFactor = xExact;
    q.yExactFactor = yExact;
    return plan.Prepare(q);
}

}  // namespace

TulImage::TulImage() : m_resizeReady(false), m_resizeInfo{}, m_plan(nullptr), m_convert(nullptr) {}

TulImage::TulImage(const TulImage& other)
    : m_resizeReady(false), m_resizeInfo{}, m_plan(nullptr), m_convert(nullptr)
{
    *this = other;
}

// A copy takes the plan (sizes, factors, margins, mode) and builds scratch
// planes and resamplers of its own; without them it starts unprepared.
TulImage& TulImage::operator=(const TulImage& other)
{
    if (this == &other)
        return *this;
    tul::ResizePlan::Reset(*this);
    if (other.m_resizeReady && other.m_plan != nullptr) {
        RESIZE_INFO next = other.m_resizeInfo;
        std::memset(&next.tempPlanar, 0, sizeof(next.tempPlanar));
        tul::Guarded([&] {
            return tul::ResizePlan::Prepare(*this, next, other.m_plan->xExactFactor,
                                            other.m_plan->yExactFactor);
        });
    }
    tul::ConvertPlan::CopyInto(*this, other);
    return *this;
}

TulImage::~TulImage()
{
    tul::ResizePlan::Reset(*this);
    tul::ConvertPlan::Release(*this);
}

void tul::ResizePlan::Reset(TulImage& image)
{
    ClearResizeBuffer(&image.m_resizeInfo);
    delete image.m_plan;
    image.m_plan = nullptr;
    image.m_resizeReady = false;
}

// What both preparations share: the scratch-plane rule, the record, and
// the resamplers built for it. A geometry a resampler refuses leaves its
// plan empty and its frames fail (4), as the one-call primitive would;
// only a lack of memory fails the preparation (1, not ready, empty plan).
ULONG tul::ResizePlan::Prepare(TulImage& image, const RESIZE_INFO& next, double xExactFactor,
                               double yExactFactor)
{
    RESIZE_INFO& info = image.m_resizeInfo;
    const bool library = next.resizeNeeded && next.interpolation != TulImage::INTERPOLATION_VEXO;
    if (!library) {
        ClearTempBuffer(&info.tempPlanar);
    } else if (!RefreshScratch(image.m_resizeReady, &info, next.srcWidth, next.srcHeight,
                               next.dstWidth, next.dstHeight)) {
        Reset(image);
        return TulImage::TUL_NO_MEMORY;
    }
    const TEMP_PLANAR_FORMAT planes = info.tempPlanar;
    info = next;
    info.tempPlanar = planes;
    image.m_resizeReady = false;
    if (image.m_plan == nullptr) {
        try {
            image.m_plan = new ResizePlan;
        } catch (const std::bad_alloc&) {
            Reset(image);
            return TulImage::TUL_NO_MEMORY;
        }
    }
    ResizePlan& plan = *image.m_plan;
    plan.yuy2.Reset();
    plan.vexo.Clear();
    plan.rgb24.Reset();
    plan.rgb32.Reset();
    plan.xExactFactor = xExactFactor;
    plan.yExactFactor = yExactFactor;
    if (next.resizeNeeded) {
        const RESIZE_INFO& r = info;
        IppStatus status[3] = {ippStsNoErr, ippStsNoErr, ippStsNoErr};
        if (library) {
            status[0] = plan.yuy2.Prepare(
                PlanarLayout::Yuy2,
                {SizeOf(r.srcWidth, r.srcHeight), SizeOf(r.dstWidth, r.dstHeight), r.srcRegion,
                 r.xFactor, r.yFactor, xExactFactor, yExactFactor,
                 static_cast<T::INTERPOLATION_MODE>(r.interpolation), T::FIELD_FRAME, true});
        } else if (!plan.vexo.Prepare(VexoFormat::Yuy2, SizeOf(r.srcWidth, r.srcHeight),
                                      SizeOf(r.dstWidth, r.dstHeight), r.srcMarginX, r.dstMarginX,
                                      r.dstMarginY, T::FIELD_FRAME, true) &&
                   plan.vexo.OutOfMemory()) {
            status[0] = ippStsNoMemErr;
        }
        status[1] = PrepareRgb(plan.rgb24, FormatOf(T::COLOR_FORMAT_RGB24).resampleChannels, r,
                               xExactFactor, yExactFactor);
        status[2] = PrepareRgb(plan.rgb32, FormatOf(T::COLOR_FORMAT_RGB32).resampleChannels, r,
                               xExactFactor, yExactFactor);
        for (IppStatus s : status) {
            if (s == ippStsNoMemErr) {
                Reset(image);
                return TulImage::TUL_NO_MEMORY;
            }
        }
    }
    image.m_resizeReady = true;
    return TulImage::TUL_SUCCESS;
}

namespace {

// The record both preparations fill alike; the YUY2 pitches are kept for
// the frames, which are walked at their default rows.
RESIZE_INFO Record(ULONG srcWidth, ULONG srcHeight, ULONG dstWidth, ULONG dstHeight,
                   T::INTERPOLATION_MODE mode)
{
    RESIZE_INFO r{};
    r.srcWidth = srcWidth;
    r.srcHeight = srcHeight;
    r.dstWidth = dstWidth;
    r.dstHeight = dstHeight;
    r.srcStep = tul::PictureLayout(T::COLOR_FORMAT_YUY2).DefaultStep(srcWidth);
    r.dstStep = tul::PictureLayout(T::COLOR_FORMAT_YUY2).DefaultStep(dstWidth);
    r.interpolation = mode;
    return r;
}

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

ULONG TulImage::Initialize(ULONG srcWidth, ULONG srcHeight, ULONG dstWidth, ULONG dstHeight,
                           INTERPOLATION_MODE mode)
{
    return tul::Guarded([&]() -> ULONG {
        if (!PlanFits(srcWidth, srcHeight) || !PlanFits(dstWidth, dstHeight)) {
            tul::ResizePlan::Reset(*this);
            return TUL_INVALID_REQUEST;
        }
        RESIZE_INFO next = Record(srcWidth, srcHeight, dstWidth, dstHeight, mode);
        next.resizeNeeded = tul::GetResizeFactor(SizeOf(srcWidth, srcHeight), SizeOf(dstWidth, dstHeight),
                                                 &next.xFactor, &next.yFactor, &next.srcMarginX,
                                                 &next.dstMarginX);
        next.srcRegion = IppiRect{0, 0, static_cast<int>(srcWidth), static_cast<int>(srcHeight)};
        return tul::ResizePlan::Prepare(*this, next, 0.0, 0.0);
    });
}

ULONG TulImage::InitializeEx(ULONG srcWidth, ULONG srcHeight, tagRECT srcRect, ULONG dstWidth,
                             ULONG dstHeight, tagRECT dstRect, INTERPOLATION_MODE mode)
{
    return tul::Guarded([&]() -> ULONG {
        // Empty rectangles give no factor, and rectangles outside their
        // picture would make the margins negative and the resize read outside it.
        if (!PlanFits(srcWidth, srcHeight) || !PlanFits(dstWidth, dstHeight) ||
            !RectInside(srcRect, srcWidth, srcHeight) || !RectInside(dstRect, dstWidth, dstHeight)) {
            tul::ResizePlan::Reset(*this);
            return TUL_INVALID_REQUEST;
        }
        RESIZE_INFO next = Record(srcWidth, srcHeight, dstWidth, dstHeight, mode);
        next.resizeNeeded = !(srcWidth == dstWidth && srcHeight == dstHeight &&
                              srcRect.left == dstRect.left && srcRect.top == dstRect.top &&
                              srcRect.right == dstRect.right && srcRect.bottom == dstRect.bottom);
        next.srcRegion = IppiRect{srcRect.left, srcRect.top, srcRect.right - srcRect.left,
                                  srcRect.bottom - srcRect.top};
        next.srcMarginX = TruncateToFour(static_cast<std::int64_t>(srcWidth) - srcRect.right - srcRect.left);
        next.dstMarginX = TruncateToFour(static_cast<std::int64_t>(dstWidth) - dstRect.right - dstRect.left);
        next.dstMarginY = static_cast<int>(static_cast<std::int64_t>(dstHeight) - dstRect.bottom - dstRect.top);
        const LONG dstSpanX = dstRect.right - dstRect.left, srcSpanX = srcRect.right - srcRect.left;
        const LONG dstSpanY = dstRect.bottom - dstRect.top, srcSpanY = srcRect.bottom - srcRect.top;
        next.xFactor = FiveDecimalFactor(dstSpanX, srcSpanX);
        next.yFactor = FiveDecimalFactor(dstSpanY, srcSpanY);
        // The exact scales, which the five-decimal cut falls short of: they
        // decide how far the picture reaches, so a stretch covers the frame.
        return tul::ResizePlan::Prepare(*this, next, static_cast<double>(dstSpanX) / srcSpanX,
                                        static_cast<double>(dstSpanY) / srcSpanY);
    });
}

ULONG TulImage::ResizeYUY2(unsigned char* const src, unsigned char* dst, ULONG* size)
{
    return tul::Guarded([&]() -> ULONG {
        if (src == nullptr || dst == nullptr || size == nullptr)
            return TUL_INVALID_REQUEST;
        const RESIZE_INFO& r = m_resizeInfo;
        const ULONG required = r.dstHeight * static_cast<ULONG>(r.dstStep);
        if (*size < required)
            return TUL_BUFFER_TOO_SMALL;
        *size = required;
        if (!r.resizeNeeded) {
            TulMemory::Copy(dst, src, required);
            return TUL_SUCCESS;
        }
        const tul::FormatInfo& yuy2 = tul::FormatOf(COLOR_FORMAT_YUY2);
        bool ok = false;
        if (r.interpolation == INTERPOLATION_VEXO) {
            tul::FillBlack(dst, yuy2, required);
            ok = m_plan != nullptr && m_plan->vexo.Run(src, dst, r.srcStep, r.dstStep);
        } else if (m_plan != nullptr) {
            // The join writes every pixel of the frame from scratch planes
            // painted black first, so only an odd width's padding pair needs
            // painting here, and the whole frame if the resize fails.
            if (static_cast<ULONG>(r.dstStep) != 2 * r.dstWidth)
                tul::FillBlack(dst, yuy2, required);
            ok = m_plan->yuy2.Run(src, r.srcStep, dst, r.dstStep, &m_resizeInfo.tempPlanar);
            if (!ok)
                tul::FillBlack(dst, yuy2, required);
        } else {
            tul::FillBlack(dst, yuy2, required);
        }
        return ok ? TUL_SUCCESS : TUL_FAILED;
    });
}

namespace {

// Both RGB forms: pitches are the default rows, the picture stays black
// where the resize does not reach (and wholly black if it fails).
ULONG ResizePlannedRgb(const RESIZE_INFO& r, T::COLOR_FORMAT_TYPE format,
                       tulipp::ResizeCenterPlan* plan, unsigned char* src, unsigned char* dst,
                       ULONG* size)
{
    if (src == nullptr || dst == nullptr || size == nullptr)
        return T::TUL_INVALID_REQUEST;
    const tul::PictureLayout layout(format);
    const int srcPitch = layout.DefaultStep(r.srcWidth);
    const int dstPitch = layout.DefaultStep(r.dstWidth);
    const ULONG required = r.dstHeight * static_cast<ULONG>(dstPitch);
    if (*size < required)
        return T::TUL_BUFFER_TOO_SMALL;
    *size = required;
    if (!r.resizeNeeded) {
        TulMemory::Copy(dst, src, required);
        return T::TUL_SUCCESS;
    }
    TulMemory::ZeroClear(dst, required);
    if (plan == nullptr || plan->Run(src, srcPitch, dst, dstPitch) != ippStsNoErr)
        return T::TUL_FAILED;
    return T::TUL_SUCCESS;
}

}  // namespace

ULONG TulImage::ResizeRGB24(unsigned char* const src, unsigned char* dst, ULONG* size)
{
    return tul::Guarded([&] {
        return ResizePlannedRgb(m_resizeInfo, COLOR_FORMAT_RGB24, m_plan ? &m_plan->rgb24 : nullptr,
                                src, dst, size);
    });
}

ULONG TulImage::ResizeRGB32(unsigned char* const src, unsigned char* dst, ULONG* size)
{
    return tul::Guarded([&] {
        return ResizePlannedRgb(m_resizeInfo, COLOR_FORMAT_RGB32, m_plan ? &m_plan->rgb32 : nullptr,
                                src, dst, size);
    });
}
