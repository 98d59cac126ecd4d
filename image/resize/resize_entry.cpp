// The one-call resize entry points: size query, capacity check, background,
// the resize itself, and the orientation correction for bottom-up pictures.
//
// A step of 0 stands for the format's default step, as it does for the
// geometry operations. Pictures whose rows do not fit their step, or whose
// byte counts do not fit in 32 bits, are refused with 3 before anything is
// written.
#include "image/TulImage.h"
#include "image/foundation/black_fill.h"
#include "image/resize/resize_geometry.h"
#include "platform/ipp/ippi.h"

#include <cstdint>

namespace {

using tul::PictureLayout;

// Steps stripped of their signs; `flip` when exactly one side is bottom-up.
struct Orientation {
    int srcStep;
    int dstStep;
    bool flip;
    IppiSize srcSize;  // set once the sizes are known to fit an int
    IppiSize dstSize;
};

Orientation StripSigns(int srcStep, int dstStep)
{
    Orientation o{srcStep, dstStep, false, {}, {}};
    if (o.srcStep < 0) {
        o.flip = true;
        o.srcStep = -o.srcStep;
    }
    if (o.dstStep < 0) {
        o.flip = !o.flip;
        o.dstStep = -o.dstStep;
    }
    return o;
}

constexpr ULONG kContinue = 0xFFFFFFFFu;

// Everything before the first write: steps, size query, refusals, capacity.
// Returns a status to end with, or kContinue with `o` and `required` set.
ULONG Admit(const PictureLayout& layout, unsigned char* src, unsigned char* dst, ULONG* size,
            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
            int dstStep, Orientation* o, ULONG* required)
{
    if (srcStep == INT32_MIN || dstStep == INT32_MIN)
        return 3;
    *o = StripSigns(srcStep, dstStep);
    if (o->srcStep == 0)
        o->srcStep = layout.DefaultStep(srcWidth);
    if (o->dstStep == 0)
        o->dstStep = layout.DefaultStep(dstWidth);
    const std::uint64_t bytes = layout.Bytes(o->dstStep, dstHeight);
    if (bytes > UINT32_MAX)
        return 3;
    *required = static_cast<ULONG>(bytes);
    if (src == nullptr || dst == nullptr) {
        if (size != nullptr)
            *size = *required;
        return 3;
    }
    if (size == nullptr)
        return 3;
    if (!layout.Fits(srcWidth, srcHeight, o->srcStep) || !layout.Fits(dstWidth, dstHeight, o->dstStep))
        return 3;
    if (*size < *required)
        return 2;
    o->srcSize = IppiSize{static_cast<int>(srcWidth), static_cast<int>(srcHeight)};
    o->dstSize = IppiSize{static_cast<int>(dstWidth), static_cast<int>(dstHeight)};
    return kContinue;
}

IppStatus MirrorRows(unsigned char* p, int rowBytes, int rows, int step)
{
    return ippiMirror_8u_C1IR(p, step, IppiSize{rowBytes, rows}, ippAxsHorizontal);
}

}  // namespace

ULONG TulImage::ResizeYUY2(unsigned char* const src, unsigned char* dst, ULONG* size,
                           ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                           ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    const PictureLayout& layout = tul::Yuy2Layout();
    Orientation o{};
    ULONG required = 0;
    const ULONG admitted = Admit(layout, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                                 dstHeight, dstStep, &o, &required);
    if (admitted != kContinue)
        return admitted;

    const unsigned int rowWords = static_cast<unsigned int>(layout.DefaultStep(dstWidth) / 4);
    for (ULONG r = 0; r < dstHeight; ++r)
        tul::FillWords(dst + static_cast<std::size_t>(r) * o.dstStep, tul::kYuy2BlackWord, rowWords);
    *size = required;

    const IppiSize srcSize = o.srcSize, dstSize = o.dstSize;
    double xFactor = 1.0, yFactor = 1.0;
    int srcMarginX = 0, dstMarginX = 0;
    GetResizeFactor(srcSize, dstSize, &xFactor, &yFactor, &srcMarginX, &dstMarginX);

    bool ok = false;
    if (mode == INTERPOLATION_VEXO) {
        ok = VexoResizeYUY2(src, dst, o.srcStep, o.dstStep, srcSize, dstSize, srcMarginX,
                            dstMarginX, 0, FIELD_FRAME, true);
    } else {
        tul::ScratchPlanes scratch;
        if (!scratch.Allocate(srcSize, dstSize)) {
            TulMemory::ZeroClear(dst, required);
            return 1;
        }
        ok = IppResizeYUY2(src, dst, o.srcStep, o.dstStep, srcSize, dstSize,
                           IppiRect{0, 0, srcSize.width, srcSize.height}, xFactor, yFactor, mode,
                           scratch.Get(), FIELD_FRAME, true);
    }
    if (!ok || (o.flip && MirrorRows(dst, dstSize.width * 2, dstSize.height, o.dstStep) != ippStsNoErr)) {
        TulMemory::ZeroClear(dst, required);
        return 4;
    }
    return 0;
}

ULONG TulImage::ResizeYUV420(unsigned char* const src, unsigned char* dst, ULONG* size,
                             ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                             ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    const PictureLayout& layout = tul::Yuv420Layout();
    Orientation o{};
    ULONG required = 0;
    const ULONG admitted = Admit(layout, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                                 dstHeight, dstStep, &o, &required);
    if (admitted != kContinue)
        return admitted;

    const unsigned int lumaBytes = static_cast<unsigned int>(o.dstStep) * dstHeight;
    TulMemory::Set(dst, 0, lumaBytes);
    TulMemory::Set(dst + lumaBytes, 127, static_cast<unsigned int>(o.dstStep / 2) * dstHeight);
    *size = required;

    const IppiSize srcSize = o.srcSize, dstSize = o.dstSize;
    double xFactor = 1.0, yFactor = 1.0;
    int srcMarginX = 0, dstMarginX = 0;
    GetResizeFactor(srcSize, dstSize, &xFactor, &yFactor, &srcMarginX, &dstMarginX);

    bool ok = false;
    if (mode == INTERPOLATION_VEXO) {
        ok = VexoResizeYUV420(src, dst, o.srcStep, o.dstStep, srcSize, dstSize, srcMarginX,
                              dstMarginX, 0, FIELD_FRAME, true);
    } else {
        ok = IppResizeYUV420(src, dst, o.srcStep, o.dstStep, srcSize, dstSize,
                             IppiRect{0, 0, srcSize.width, srcSize.height}, xFactor, yFactor,
                             mode, FIELD_FRAME, true);
    }
    if (ok && o.flip) {
        // Each plane is turned upside down within its own place in the buffer.
        unsigned char* chroma = dst + static_cast<std::size_t>(dstSize.height) * o.dstStep;
        unsigned char* second = chroma + (static_cast<std::size_t>(o.dstStep / 2) * dstSize.height) / 2;
        const IppiSize chromaSize{dstSize.width / 2, dstSize.height / 2};
        ok = MirrorRows(dst, dstSize.width, dstSize.height, o.dstStep) == ippStsNoErr;
        if (ok && chromaSize.width > 0 && chromaSize.height > 0) {
            ok = MirrorRows(chroma, chromaSize.width, chromaSize.height, o.dstStep / 2) == ippStsNoErr &&
                 MirrorRows(second, chromaSize.width, chromaSize.height, o.dstStep / 2) == ippStsNoErr;
        }
    }
    if (!ok) {
        TulMemory::ZeroClear(dst, required);
        return 4;
    }
    return 0;
}

namespace {

using ResizeCenterFn = IppStatus (*)(const Ipp8u*, IppiSize, int, IppiRect, Ipp8u*, int, IppiSize,
                                     double, double, double, double, int);
using MirrorFn = IppStatus (*)(Ipp8u*, int, IppiSize, IppiAxis);

// RGB has no own resampler: every mode goes to the primitive resampler,
// with the factors and interpolation the caller chose.
ULONG ResizePackedRgb(const PictureLayout& layout, ResizeCenterFn resize, MirrorFn mirror,
                      unsigned char* src, unsigned char* dst, ULONG* size, ULONG srcWidth,
                      ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight, int dstStep,
                      double xFactor, double yFactor, int interpolation)
{
    Orientation o{};
    ULONG required = 0;
    const ULONG admitted = Admit(layout, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                                 dstHeight, dstStep, &o, &required);
    if (admitted != kContinue)
        return admitted;
    TulMemory::ZeroClear(dst, required);
    *size = required;

    IppStatus status = resize(src, o.srcSize, o.srcStep, IppiRect{0, 0, o.srcSize.width, o.srcSize.height},
                              dst, o.dstStep, o.dstSize, xFactor, yFactor,
                              static_cast<double>((srcWidth + 1) >> 1),
                              static_cast<double>((srcHeight + 1) >> 1), interpolation);
    if (status == ippStsNoErr && o.flip)
        status = mirror(dst, o.dstStep, o.dstSize, ippAxsHorizontal);
    if (status != ippStsNoErr) {
        *size = 0;
        TulMemory::ZeroClear(dst, required);
        return 4;
    }
    return 0;
}

IppiSize SizeOf(ULONG width, ULONG height)
{
    return IppiSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

ULONG TulImage::ResizeRGB24(unsigned char* const src, unsigned char* dst, ULONG* size,
                            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                            ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    double xFactor = 1.0, yFactor = 1.0;
    GetResizeFactor(SizeOf(srcWidth, srcHeight), SizeOf(dstWidth, dstHeight), &xFactor, &yFactor,
                    nullptr, nullptr);
    return ResizePackedRgb(tul::Rgb24Layout(), ippiResizeCenter_8u_C3R, ippiMirror_8u_C3IR, src,
                           dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight, dstStep,
                           xFactor, yFactor, GetInterpolation(mode, xFactor, yFactor));
}

ULONG TulImage::ResizeRGB32(unsigned char* const src, unsigned char* dst, ULONG* size,
                            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                            ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    double xFactor = 1.0, yFactor = 1.0;
    GetResizeFactor(SizeOf(srcWidth, srcHeight), SizeOf(dstWidth, dstHeight), &xFactor, &yFactor,
                    nullptr, nullptr);
    return ResizePackedRgb(tul::Rgb32Layout(), ippiResizeCenter_8u_C4R, ippiMirror_8u_C4IR, src,
                           dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight, dstStep,
                           xFactor, yFactor, GetInterpolation(mode, xFactor, yFactor));
}

ULONG TulImage::Resize(unsigned char* const src, unsigned char* dst, ULONG* size, ULONG srcWidth,
                       ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight, int dstStep,
                       COLOR_FORMAT_TYPE format, INTERPOLATION_MODE mode)
{
    switch (format) {
    case COLOR_FORMAT_YUY2:
        return ResizeYUY2(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                          dstStep, mode);
    case COLOR_FORMAT_RGB24:
    case COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24:
        return ResizeRGB24(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                           dstStep, mode);
    case COLOR_FORMAT_RGB32:
    case COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32:
    case COLOR_FORMAT_VUYA:
        return ResizeRGB32(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                           dstStep, mode);
    case COLOR_FORMAT_YUV420:
    case COLOR_FORMAT_YV12:
        return ResizeYUV420(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight,
                            dstStep, mode);
    }
    return 3;
}
