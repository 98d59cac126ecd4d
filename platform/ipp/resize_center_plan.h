// What every centre-based resampling kernel works from: the clipped source
// region, the destination rectangle that is written, and the mapping from
// destination pixels to source positions on each axis. Internal to the
// ippiResizeCenter_8u_* family.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_level.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace tulipp::resize_center {

// One axis of the centre-to-centre mapping
//     s = (d - dstLen/2) / factor + center,
// with the centre in image coordinates (not relative to the region).
struct Axis {
    double factor = 1.0;
    double center = 0.0;
    double half = 0.0;  // dstLen / 2, real division (703 -> 351.5)
    int roiStart = 0;   // clipped region, image coordinates
    int roiLen = 0;
    int begin = 0;      // written destination range [begin, end)
    int end = 0;

    int Count() const { return end - begin; }
    int Last() const { return roiStart + roiLen - 1; }

    // Source position of destination index d. Positions of written pixels
    // lie in [roiStart, roiStart + roiLen); the clamp only keeps rounding
    // noise and extreme arguments from reaching the integer conversions.
    double Source(int d) const;

    // Sample index replicated into the region (edge pixels repeat).
    int Clamp(std::int64_t i) const
    {
        if (i < roiStart)
            return roiStart;
        if (i > Last())
            return Last();
        return static_cast<int>(i);
    }
};

// Builds an axis: the written range is
//   begin = max(0, ceil(dstLen/2 - (center - roiStart)*factor))
//   end   = min(dstLen, trunc((roiStart + roiLen - center)*factor + dstLen/2))
// so exactly the destination pixels whose source position falls inside the
// region are written. Arguments must be finite with factor > 0.
// `boundFactor` (0 = `factor`) is the exact scale a rounded factor stands
// for; only the written range uses it.
Axis MakeAxis(int dstLen, double factor, double center, int roiStart, int roiLen, double boundFactor = 0.0);

}  // namespace tulipp::resize_center

namespace tulipp {
struct ResizeCenterRequest;
}

namespace tulipp::resize_center {

// Checks a request as ippiResizeCenter_8u_* check their arguments (steps
// aside) and, when it passes, builds both axes from the clipped region.
IppStatus PlanAxes(const ResizeCenterRequest& r, Axis& x, Axis& y);

// The picture side of a call. All row addressing is 64-bit.
struct Frame {
    const Ipp8u* src = nullptr;  // pixel (0,0) of the source image
    std::int64_t srcStep = 0;
    Ipp8u* dst = nullptr;        // pixel (0,0) of the destination ROI
    std::int64_t dstStep = 0;
    int channels = 1;
    Axis x;
    Axis y;

    const Ipp8u* SrcPixel(int row, int col) const
    {
        return src + static_cast<std::int64_t>(row) * srcStep + static_cast<std::int64_t>(col) * channels;
    }
    // First written byte of destination row yd.
    Ipp8u* DstWritten(int yd) const
    {
        return dst + static_cast<std::int64_t>(yd) * dstStep + static_cast<std::int64_t>(x.begin) * channels;
    }
};

// A kernel prepared for one geometry (channels and the two axes): taps,
// weights, masks, chosen rows and row buffers are built when the plan is
// made; Run writes exactly rows [y.begin, y.end) x columns [x.begin, x.end)
// of the destination, reads only the clipped region and allocates nothing.
// Making a plan may throw std::bad_alloc.
class KernelPlan {
public:
    virtual ~KernelPlan() = default;
    virtual void Run(const Frame& f) = 0;
};

std::unique_ptr<KernelPlan> PlanNearest(int channels, const Axis& x, const Axis& y, SimdLevel level);
std::unique_ptr<KernelPlan> PlanLinear(int channels, const Axis& x, const Axis& y, SimdLevel level);
std::unique_ptr<KernelPlan> PlanCubic(int channels, const Axis& x, const Axis& y, SimdLevel level);
std::unique_ptr<KernelPlan> PlanSuper(int channels, const Axis& x, const Axis& y, SimdLevel level);

}  // namespace tulipp::resize_center
