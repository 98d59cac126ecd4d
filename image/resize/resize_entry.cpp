// The one-call resize entry points: size query, capacity check, background,
// the resize itself (plan, then run once), and the orientation correction
// for bottom-up pictures.
//
// A step of 0 stands for the format's default step, as it does for the
// geometry operations. Pictures whose rows do not fit their step, or whose
// byte counts do not fit in 32 bits, are refused with 3 before anything is
// written.
#include "image/TulImage.h"
#include "image/foundation/black_fill.h"
#include "image/foundation/format_table.h"
#include "image/resize/ipp_resize.h"
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_workers.h"
#include "image/resize/status_guard.h"
#include "platform/ipp/ippi.h"

#include <cstdint>

namespace {

using tul::PictureLayout;
using T = TulImage;

// Everything decided before the first write. `status` is TUL_SUCCESS when
// the resize goes on; anything else is the status to end with.
struct Admission {
    ULONG status = T::TUL_INVALID_REQUEST;
    int srcStep = 0;  // steps stripped of their signs
    int dstStep = 0;
    bool flip = false;  // exactly one side is bottom-up
    IppiSize srcSize{};
    IppiSize dstSize{};
    ULONG required = 0;  // bytes the destination occupies
};

Admission Admit(const PictureLayout& layout, unsigned char* src, unsigned char* dst, ULONG* size,
                ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight,
                int dstStep)
{
    Admission a;
    if (srcStep == INT32_MIN || dstStep == INT32_MIN)
        return a;
    a.flip = (srcStep < 0) != (dstStep < 0);
    a.srcStep = srcStep < 0 ? -srcStep : srcStep;
    a.dstStep = dstStep < 0 ? -dstStep : dstStep;
    if (a.srcStep == 0)
        a.srcStep = layout.DefaultStep(srcWidth);
    if (a.dstStep == 0)
        a.dstStep = layout.DefaultStep(dstWidth);
    const std::uint64_t bytes = layout.Bytes(a.dstStep, dstHeight);
    if (bytes > UINT32_MAX)
        return a;
    a.required = static_cast<ULONG>(bytes);
    if (src == nullptr || dst == nullptr) {
        if (size != nullptr)
            *size = a.required;
        return a;
    }
    if (size == nullptr || !layout.Fits(srcWidth, srcHeight, a.srcStep) ||
        !layout.Fits(dstWidth, dstHeight, a.dstStep))
        return a;
    if (*size < a.required) {
        a.status = T::TUL_BUFFER_TOO_SMALL;
        return a;
    }
    a.srcSize = IppiSize{static_cast<int>(srcWidth), static_cast<int>(srcHeight)};
    a.dstSize = IppiSize{static_cast<int>(dstWidth), static_cast<int>(dstHeight)};
    a.status = T::TUL_SUCCESS;
    return a;
}

IppStatus MirrorRows(unsigned char* p, int rowBytes, int rows, int step)
{
    return ippiMirror_8u_C1IR(p, step, IppiSize{rowBytes, rows}, ippAxsHorizontal);
}

// The black background over what the resize may leave unwritten: YUY2 row
// by row (a wider pitch keeps its padding), 4:2:0 over its planes.
void PaintBackground(const tul::FormatInfo& f, unsigned char* dst, const Admission& a)
{
    if (f.family == tul::FormatFamily::Planar420) {
        const unsigned int luma = static_cast<unsigned int>(a.dstStep) * a.dstSize.height;
        TulMemory::Set(dst, f.black[0], luma);
        TulMemory::Set(dst + luma, f.black[1],
                       static_cast<unsigned int>(a.dstStep / 2) * a.dstSize.height);
        return;
    }
    const std::size_t row = tul::DefaultRow<ULONG>(f, static_cast<ULONG>(a.dstSize.width));
    for (int r = 0; r < a.dstSize.height; ++r)
        tul::FillBlack(dst + static_cast<std::size_t>(r) * a.dstStep, f, row);
}

// Turns each plane upside down within its own place in the buffer.
bool MirrorPlanes(const tul::FormatInfo& f, unsigned char* dst, const Admission& a)
{
    if (f.family == tul::FormatFamily::Packed422)
        return MirrorRows(dst, a.dstSize.width * 2, a.dstSize.height, a.dstStep) == ippStsNoErr;
    if (MirrorRows(dst, a.dstSize.width, a.dstSize.height, a.dstStep) != ippStsNoErr)
        return false;
    const tul::Planes420 p = tul::PlanesOf420(a.dstStep, a.dstSize.height);
    const int chromaWidth = a.dstSize.width / 2;
    if (chromaWidth == 0 || p.chromaRows == 0)
        return true;
    for (int c = 1; c <= 2; ++c) {
        if (MirrorRows(dst + p.offset[c], chromaWidth, static_cast<int>(p.chromaRows),
                       static_cast<int>(p.chromaPitch)) != ippStsNoErr)
            return false;
    }
    return true;
}

// YUY2 and 4:2:0: the own resampler for INTERPOLATION_VEXO, the library's
// otherwise (YUY2 through scratch planes held for this call).
ULONG ResizeLumaChroma(T::COLOR_FORMAT_TYPE format, unsigned char* src, unsigned char* dst,
                       ULONG* size, ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                       ULONG dstHeight, int dstStep, T::INTERPOLATION_MODE mode)
{
    const PictureLayout layout(format);
    const tul::FormatInfo& f = layout.Info();
    const bool packed = f.family == tul::FormatFamily::Packed422;
    const Admission a = Admit(layout, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                              dstHeight, dstStep);
    if (a.status != T::TUL_SUCCESS)
        return a.status;
    PaintBackground(f, dst, a);
    *size = a.required;

    double xFactor = 1.0, yFactor = 1.0;
    int srcMarginX = 0, dstMarginX = 0;
    tul::GetResizeFactor(a.srcSize, a.dstSize, &xFactor, &yFactor, &srcMarginX, &dstMarginX);

    bool ok = false;
    if (mode == T::INTERPOLATION_VEXO) {
        const auto vexo = packed ? tul::VexoResizeYUY2 : tul::VexoResizeYUV420;
        ok = vexo(src, dst, a.srcStep, a.dstStep, a.srcSize, a.dstSize, srcMarginX, dstMarginX, 0,
                  T::FIELD_FRAME, true);
    } else {
        tul::ScratchPlanes scratch;
        if (packed && !scratch.Allocate(a.srcSize, a.dstSize)) {
            TulMemory::ZeroClear(dst, a.required);
            return T::TUL_NO_MEMORY;
        }
        tul::LibraryPlan plan;
        ok = plan.Prepare(packed ? tul::PlanarLayout::Yuy2 : tul::PlanarLayout::Yuv420,
                          {a.srcSize, a.dstSize, {0, 0, a.srcSize.width, a.srcSize.height},
                           xFactor, yFactor, 0.0, 0.0, mode, T::FIELD_FRAME, true}) == ippStsNoErr &&
             plan.Run(src, a.srcStep, dst, a.dstStep, scratch.Get());
    }
    if (!ok || (a.flip && !MirrorPlanes(f, dst, a))) {
        TulMemory::ZeroClear(dst, a.required);
        return T::TUL_FAILED;
    }
    return T::TUL_SUCCESS;
}

using ResizeCenterFn = IppStatus (*)(const Ipp8u*, IppiSize, int, IppiRect, Ipp8u*, int, IppiSize,
                                     double, double, double, double, int);
using MirrorFn = IppStatus (*)(Ipp8u*, int, IppiSize, IppiAxis);

// RGB has no own resampler: every mode goes to the primitive resampler,
// which checks, plans and runs once; mode 4 takes the INTERPOLATION_AUTO rule.
ULONG ResizePackedRgb(T::COLOR_FORMAT_TYPE format, unsigned char* src, unsigned char* dst,
                      ULONG* size, ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                      ULONG dstHeight, int dstStep, T::INTERPOLATION_MODE mode)
{
    const PictureLayout layout(format);
    const bool four = layout.Info().resampleChannels == 4;
    const ResizeCenterFn resize = four ? ippiResizeCenter_8u_C4R : ippiResizeCenter_8u_C3R;
    const MirrorFn mirror = four ? ippiMirror_8u_C4IR : ippiMirror_8u_C3IR;
    const Admission a = Admit(layout, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                              dstHeight, dstStep);
    if (a.status != T::TUL_SUCCESS)
        return a.status;
    TulMemory::ZeroClear(dst, a.required);
    *size = a.required;

    double xFactor = 1.0, yFactor = 1.0;
    tul::GetResizeFactor(a.srcSize, a.dstSize, &xFactor, &yFactor, nullptr, nullptr);
    IppStatus status = resize(src, a.srcSize, a.srcStep, IppiRect{0, 0, a.srcSize.width, a.srcSize.height},
                              dst, a.dstStep, a.dstSize, xFactor, yFactor,
                              static_cast<double>((srcWidth + 1) >> 1),
                              static_cast<double>((srcHeight + 1) >> 1),
                              tul::GetInterpolation(mode, xFactor, yFactor));
    if (status == ippStsNoErr && a.flip)
        status = mirror(dst, a.dstStep, a.dstSize, ippAxsHorizontal);
    if (status != ippStsNoErr) {
        *size = 0;
        TulMemory::ZeroClear(dst, a.required);
        return T::TUL_FAILED;
    }
    return T::TUL_SUCCESS;
}

}  // namespace

ULONG TulImage::ResizeYUY2(unsigned char* const src, unsigned char* dst, ULONG* size,
                           ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                           ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    return Resize(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight, dstStep,
                  COLOR_FORMAT_YUY2, mode);
}

ULONG TulImage::ResizeYUV420(unsigned char* const src, unsigned char* dst, ULONG* size,
                             ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                             ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    return Resize(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight, dstStep,
                  COLOR_FORMAT_YUV420, mode);
}

ULONG TulImage::ResizeRGB24(unsigned char* const src, unsigned char* dst, ULONG* size,
                            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                            ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    return Resize(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight, dstStep,
                  COLOR_FORMAT_RGB24, mode);
}

ULONG TulImage::ResizeRGB32(unsigned char* const src, unsigned char* dst, ULONG* size,
                            ULONG srcWidth, ULONG srcHeight, int srcStep, ULONG dstWidth,
                            ULONG dstHeight, int dstStep, INTERPOLATION_MODE mode)
{
    return Resize(src, dst, size, srcWidth, srcHeight, srcStep, dstWidth, dstHeight, dstStep,
                  COLOR_FORMAT_RGB32, mode);
}

// The format's family picks the resize: YUY2 and 4:2:0 by luma and chroma,
// every RGB form and VUYA by its interleaved channels; unknown formats are
// refused, touching nothing.
ULONG TulImage::Resize(unsigned char* const src, unsigned char* dst, ULONG* size, ULONG srcWidth,
                       ULONG srcHeight, int srcStep, ULONG dstWidth, ULONG dstHeight, int dstStep,
                       COLOR_FORMAT_TYPE format, INTERPOLATION_MODE mode)
{
    return tul::Guarded([&]() -> ULONG {
        switch (tul::FormatOf(format).family) {
        case tul::FormatFamily::Packed422:
        case tul::FormatFamily::Planar420:
            return ResizeLumaChroma(format, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                                    dstHeight, dstStep, mode);
        case tul::FormatFamily::PackedRgb:
            return ResizePackedRgb(format, src, dst, size, srcWidth, srcHeight, srcStep, dstWidth,
                                   dstHeight, dstStep, mode);
        case tul::FormatFamily::Unknown:
            break;
        }
        return TUL_INVALID_REQUEST;
    });
}
