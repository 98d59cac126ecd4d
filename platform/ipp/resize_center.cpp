// ippiResizeCenter_8u_C1R / C3R / C4R: argument checks, region clipping and
// the choice of kernel. The kernels live in resize_center_<kernel>.cpp.
#include "platform/ipp/ippi.h"

#include "platform/ipp/arg_checks.h"
#include "platform/ipp/resize_center_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

namespace tulipp::resize_center {

double Axis::Source(int d) const
{
    const double s = (static_cast<double>(d) - half) / factor + center;
    // Within a pixel of the region is all any kernel needs; it also keeps
    // floor() of the result inside int range.
    return std::clamp(s, static_cast<double>(roiStart) - 1.0, static_cast<double>(roiStart) + roiLen + 1.0);
}

Axis MakeAxis(int dstLen, double factor, double center, int roiStart, int roiLen)
{
    Axis a;
    a.factor = factor;
    a.center = center;
    a.half = static_cast<double>(dstLen) / 2.0;
    a.roiStart = roiStart;
    a.roiLen = roiLen;
    // Both bounds are computed in double and clamped before conversion, so
    // far-away centres or extreme factors give an empty range, never an
    // overflowing cast. trunc() of a bound below zero still clamps to 0.
    const double len = static_cast<double>(dstLen);
    const double first = std::ceil(a.half - (center - roiStart) * factor);
    const double last = std::trunc((static_cast<double>(roiStart) + roiLen - center) * factor + a.half);
    a.begin = static_cast<int>(std::clamp(first, 0.0, len));
    a.end = static_cast<int>(std::clamp(last, 0.0, len));
    if (a.end < a.begin)
        a.end = a.begin;
    return a;
}

namespace {

bool ValidInterpolation(int interpolation)
{
    return interpolation == IPPI_INTER_NN || interpolation == IPPI_INTER_LINEAR ||
           interpolation == IPPI_INTER_CUBIC || interpolation == IPPI_INTER_SUPER;
}

bool BadFactor(double f)
{
    // Written so that NaN is refused too.
    return !(f > 0.0) || !std::isfinite(f);
}

// The clipped source region along one axis, or false when it misses the image.
bool ClipRange(int start, int len, int imageLen, int& clippedStart, int& clippedLen)
{
    const std::int64_t lo = std::max<std::int64_t>(start, 0);
    const std::int64_t hi = std::min<std::int64_t>(static_cast<std::int64_t>(start) + len, imageLen);
    if (hi <= lo)
        return false;
    clippedStart = static_cast<int>(lo);
    clippedLen = static_cast<int>(hi - lo);
    return true;
}

IppStatus ResizeCenter(int channels, const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                       Ipp8u* pDst, int dstStep, IppiSize dstRoiSize, double xFactor, double yFactor,
                       double xCenter, double yCenter, int interpolation) noexcept
{
    if (AnyNull(pSrc, pDst))
        return ippStsNullPtrErr;

    // A row whose bytes do not fit in an int cannot be stepped over by an
    // int step; such sizes are refused with the other size errors.
    const std::int64_t srcRow = RowBytes(srcSize.width, channels);
    const std::int64_t dstRow = RowBytes(dstRoiSize.width, channels);
    if (BadSize(srcSize) || BadSize(dstRoiSize) || srcRow < 0 || dstRow < 0)
        return ippStsSizeErr;
    if (srcRoi.width <= 0 || srcRoi.height <= 0)
        return ippStsSizeErr;

    if (BadStep(srcStep, dstStep))
        return ippStsStepErr;
    // A step shorter than its row would make rows share bytes and carry the
    // last row past the step x height bytes the caller owns.
    if (srcStep < srcRow || dstStep < dstRow)
        return ippStsStrideErr;

    if (BadFactor(xFactor) || BadFactor(yFactor))
        return ippStsResizeFactorErr;
    if (!ValidInterpolation(interpolation))
        return ippStsInterpolationErr;
    // Super-sampling averages footprints larger than a pixel: reduction only.
    if (interpolation == IPPI_INTER_SUPER && (xFactor > 1.0 || yFactor > 1.0))
        return ippStsResizeFactorErr;
    if (!std::isfinite(xCenter) || !std::isfinite(yCenter))
        return ippStsBadArgErr;

    Frame f;
    int roiX = 0, roiW = 0, roiY = 0, roiH = 0;
    if (!ClipRange(srcRoi.x, srcRoi.width, srcSize.width, roiX, roiW) ||
        !ClipRange(srcRoi.y, srcRoi.height, srcSize.height, roiY, roiH))
        return ippStsWrongIntersectROI;

    f.src = pSrc;
    f.srcStep = srcStep;
    f.dst = pDst;
    f.dstStep = dstStep;
    f.channels = channels;
    f.x = MakeAxis(dstRoiSize.width, xFactor, xCenter, roiX, roiW);
    f.y = MakeAxis(dstRoiSize.height, yFactor, yCenter, roiY, roiH);
    if (f.x.Count() == 0 || f.y.Count() == 0)
        return ippStsNoErr;

    try {
        switch (interpolation) {
        case IPPI_INTER_NN:
            ResizeNearest(f);
            break;
        case IPPI_INTER_LINEAR:
            ResizeLinear(f);
            break;
        case IPPI_INTER_CUBIC:
            ResizeCubic(f);
            break;
        default:
            ResizeSuper(f);
            break;
        }
    } catch (const std::bad_alloc&) {
        return ippStsNoMemErr;
    } catch (...) {
        return ippStsErr;
    }
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp::resize_center

extern "C" {

IppStatus ippiResizeCenter_8u_C1R(const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                                  Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                  double xFactor, double yFactor, double xCenter, double yCenter,
                                  int interpolation)
{
    return tulipp::resize_center::ResizeCenter(1, pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoiSize,
                                               xFactor, yFactor, xCenter, yCenter, interpolation);
}

IppStatus ippiResizeCenter_8u_C3R(const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                                  Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                  double xFactor, double yFactor, double xCenter, double yCenter,
                                  int interpolation)
{
    return tulipp::resize_center::ResizeCenter(3, pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoiSize,
                                               xFactor, yFactor, xCenter, yCenter, interpolation);
}

IppStatus ippiResizeCenter_8u_C4R(const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                                  Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                  double xFactor, double yFactor, double xCenter, double yCenter,
                                  int interpolation)
{
    return tulipp::resize_center::ResizeCenter(4, pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoiSize,
                                               xFactor, yFactor, xCenter, yCenter, interpolation);
}

}  // extern "C"
