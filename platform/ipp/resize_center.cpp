// ippiResizeCenter_8u_C1R / C3R / C4R and the plan behind them: argument
// checks, region clipping, the written rectangle and the choice of kernel.
// The kernels live in resize_center_<kernel>.cpp.
#include "platform/ipp/ippi.h"

#include "platform/ipp/arg_checks.h"
#include "platform/ipp/resize_center_plan.h"
#include "platform/ipp/resize_plan.h"

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

Axis MakeAxis(int dstLen, double factor, double center, int roiStart, int roiLen, double boundFactor)
{
    Axis a;
    a.factor = factor;
    a.center = center;
    a.half = static_cast<double>(dstLen) / 2.0;
    a.roiStart = roiStart;
    a.roiLen = roiLen;
    const double g = boundFactor > 0.0 ? boundFactor : factor;
    // Both bounds are computed in double and clamped before conversion, so
    // far-away centres or extreme factors give an empty range, never an
    // overflowing cast. trunc() of a bound below zero still clamps to 0.
    const double len = static_cast<double>(dstLen);
    const double first = std::ceil(a.half - (center - roiStart) * g);
    const double last = std::trunc((static_cast<double>(roiStart) + roiLen - center) * g + a.half);
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

bool ValidChannels(int channels) { return channels == 1 || channels == 3 || channels == 4; }

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

// Sizes first: a row whose bytes do not fit in an int cannot be stepped
// over by an int step; such sizes are refused with the other size errors.
IppStatus CheckSizes(const ResizeCenterRequest& r)
{
    if (!ValidChannels(r.channels))
        return ippStsBadArgErr;
    const std::int64_t srcRow = RowBytes(r.srcSize.width, r.channels);
    const std::int64_t dstRow = RowBytes(r.dstRoiSize.width, r.channels);
    if (BadSize(r.srcSize) || BadSize(r.dstRoiSize) || srcRow < 0 || dstRow < 0)
        return ippStsSizeErr;
    if (r.srcRoi.width <= 0 || r.srcRoi.height <= 0)
        return ippStsSizeErr;
    return ippStsNoErr;
}

// A step shorter than its row would make rows share bytes and carry the
// last row past the step x height bytes the caller owns.
IppStatus CheckSteps(const ResizeCenterRequest& r, int srcStep, int dstStep)
{
    if (BadStep(srcStep, dstStep))
        return ippStsStepErr;
    if (srcStep < RowBytes(r.srcSize.width, r.channels) || dstStep < RowBytes(r.dstRoiSize.width, r.channels))
        return ippStsStrideErr;
    return ippStsNoErr;
}

// What follows the step checks: factors, kernel, centre, region.
IppStatus CheckRest(const ResizeCenterRequest& r)
{
    if (BadFactor(r.xFactor) || BadFactor(r.yFactor))
        return ippStsResizeFactorErr;
    if (!ValidInterpolation(r.interpolation))
        return ippStsInterpolationErr;
    // Super-sampling averages footprints larger than a pixel: reduction only.
    if (r.interpolation == IPPI_INTER_SUPER && (r.xFactor > 1.0 || r.yFactor > 1.0))
        return ippStsResizeFactorErr;
    if (!std::isfinite(r.xCenter) || !std::isfinite(r.yCenter))
        return ippStsBadArgErr;
    // An exact factor is a hint; anything but a usable one is ignored.
    return ippStsNoErr;
}

double UsableBound(double exact) { return BadFactor(exact) ? 0.0 : exact; }

}  // namespace

IppStatus PlanAxes(const ResizeCenterRequest& r, Axis& x, Axis& y)
{
    IppStatus status = CheckSizes(r);
    if (status == ippStsNoErr)
        status = CheckRest(r);
    if (status != ippStsNoErr)
        return status;
    int roiX = 0, roiW = 0, roiY = 0, roiH = 0;
    if (!ClipRange(r.srcRoi.x, r.srcRoi.width, r.srcSize.width, roiX, roiW) ||
        !ClipRange(r.srcRoi.y, r.srcRoi.height, r.srcSize.height, roiY, roiH))
        return ippStsWrongIntersectROI;
    x = MakeAxis(r.dstRoiSize.width, r.xFactor, r.xCenter, roiX, roiW, UsableBound(r.xExactFactor));
    y = MakeAxis(r.dstRoiSize.height, r.yFactor, r.yCenter, roiY, roiH, UsableBound(r.yExactFactor));
    return ippStsNoErr;
}

}  // namespace tulipp::resize_center

namespace tulipp {

struct ResizeCenterPlan::Impl {
    ResizeCenterRequest request;
    int channels = 1;
    resize_center::Axis x;
    resize_center::Axis y;
    std::unique_ptr<resize_center::KernelPlan> kernel;  // null when nothing is written
};

ResizeCenterPlan::ResizeCenterPlan() = default;
ResizeCenterPlan::~ResizeCenterPlan() = default;
ResizeCenterPlan::ResizeCenterPlan(ResizeCenterPlan&&) noexcept = default;
ResizeCenterPlan& ResizeCenterPlan::operator=(ResizeCenterPlan&&) noexcept = default;

void ResizeCenterPlan::Reset() noexcept { m_impl.reset(); }

IppStatus ResizeCenterPlan::Prepare(const ResizeCenterRequest& r, SimdLevel level) noexcept
{
    using namespace resize_center;
    m_impl.reset();
    Axis x, y;
    const IppStatus status = PlanAxes(r, x, y);
    if (status != ippStsNoErr)
        return status;
    if (level > DetectedSimdLevel())
        level = DetectedSimdLevel();
    try {
        auto impl = std::make_unique<Impl>();
        impl->request = r;
        impl->channels = r.channels;
        impl->x = x;
        impl->y = y;
        if (impl->x.Count() > 0 && impl->y.Count() > 0) {
            switch (r.interpolation) {
            case IPPI_INTER_NN:
                impl->kernel = PlanNearest(r.channels, impl->x, impl->y, level);
                break;
            case IPPI_INTER_LINEAR:
                impl->kernel = PlanLinear(r.channels, impl->x, impl->y, level);
                break;
            case IPPI_INTER_CUBIC:
                impl->kernel = PlanCubic(r.channels, impl->x, impl->y, level);
                break;
            default:
                impl->kernel = PlanSuper(r.channels, impl->x, impl->y, level);
                break;
            }
        }
        m_impl = std::move(impl);
    } catch (const std::bad_alloc&) {
        return ippStsNoMemErr;
    } catch (...) {
        return ippStsErr;
    }
    return ippStsNoErr;
}

IppStatus ResizeCenterPlan::Run(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep) noexcept
{
    using namespace resize_center;
    if (m_impl == nullptr)
        return ippStsContextMatchErr;
    if (AnyNull(src, dst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckSteps(m_impl->request, srcStep, dstStep);
    if (status != ippStsNoErr)
        return status;
    if (m_impl->kernel == nullptr)
        return ippStsNoErr;
    Frame f;
    f.src = src;
    f.srcStep = srcStep;
    f.dst = dst;
    f.dstStep = dstStep;
    f.channels = m_impl->channels;
    f.x = m_impl->x;
    f.y = m_impl->y;
    try {
        m_impl->kernel->Run(f);
    } catch (const std::bad_alloc&) {
        return ippStsNoMemErr;
    } catch (...) {
        return ippStsErr;
    }
    return ippStsNoErr;
}

}  // namespace tulipp

namespace {

// One call: the checks in the primitives' order (null, sizes, steps, the
// rest), then a plan run once.
IppStatus ResizeCenterOnce(int channels, const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                           Ipp8u* pDst, int dstStep, IppiSize dstRoiSize, double xFactor, double yFactor,
                           double xCenter, double yCenter, int interpolation) noexcept
{
    using namespace tulipp;
    if (AnyNull(pSrc, pDst))
        return ippStsNullPtrErr;
    ResizeCenterRequest r;
    r.channels = channels;
    r.srcSize = srcSize;
    r.srcRoi = srcRoi;
    r.dstRoiSize = dstRoiSize;
    r.xFactor = xFactor;
    r.yFactor = yFactor;
    r.xCenter = xCenter;
    r.yCenter = yCenter;
    r.interpolation = interpolation;
    IppStatus status = resize_center::CheckSizes(r);
    if (status == ippStsNoErr)
        status = resize_center::CheckSteps(r, srcStep, dstStep);
    if (status != ippStsNoErr)
        return status;
    ResizeCenterPlan plan;
    status = plan.Prepare(r);
    if (status != ippStsNoErr)
        return status;
    return plan.Run(pSrc, srcStep, pDst, dstStep);
}

}  // namespace

extern "C" {

IppStatus ippiResizeCenter_8u_C1R(const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                                  Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                  double xFactor, double yFactor, double xCenter, double yCenter,
                                  int interpolation)
{
    return ResizeCenterOnce(1, pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoiSize, xFactor, yFactor,
                            xCenter, yCenter, interpolation);
}

IppStatus ippiResizeCenter_8u_C3R(const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                                  Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                  double xFactor, double yFactor, double xCenter, double yCenter,
                                  int interpolation)
{
    return ResizeCenterOnce(3, pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoiSize, xFactor, yFactor,
                            xCenter, yCenter, interpolation);
}

IppStatus ippiResizeCenter_8u_C4R(const Ipp8u* pSrc, IppiSize srcSize, int srcStep, IppiRect srcRoi,
                                  Ipp8u* pDst, int dstStep, IppiSize dstRoiSize,
                                  double xFactor, double yFactor, double xCenter, double yCenter,
                                  int interpolation)
{
    return ResizeCenterOnce(4, pSrc, srcSize, srcStep, srcRoi, pDst, dstStep, dstRoiSize, xFactor, yFactor,
                            xCenter, yCenter, interpolation);
}

}  // extern "C"
