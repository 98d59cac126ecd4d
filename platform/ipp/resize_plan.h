// A centre-based resize planned once and run frame after frame.
//
// Prepare() checks a request exactly as ippiResizeCenter_8u_C1R/C3R/C4R
// check their arguments (same statuses, steps aside) and builds everything
// a frame needs: the written rectangle, taps and weights, shuffle masks, the
// chosen row functions and the row buffers. Run() then resizes one frame
// and allocates nothing. The one-call primitives are "prepare, then run
// once". A plan serves one thread at a time; distinct plans are independent.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_level.h"

#include <memory>

namespace tulipp {

struct ResizeCenterRequest {
    int channels = 1;  // 1, 3 or 4 interleaved 8-bit samples per pixel
    IppiSize srcSize{};
    IppiRect srcRoi{};
    IppiSize dstRoiSize{};
    double xFactor = 1.0;
    double yFactor = 1.0;
    double xCenter = 0.0;
    double yCenter = 0.0;
    int interpolation = IPPI_INTER_LINEAR;
    // The exact scale the factors stand for, when a caller had to round
    // them (the resizer object cuts its factors to five decimals). Only the
    // written rectangle uses it: a destination pixel is written when the
    // picture's exact extent reaches it, so a rounded-down factor cannot
    // leave the outermost column or row unwritten. 0 = the factor itself.
    double xExactFactor = 0.0;
    double yExactFactor = 0.0;
};

class ResizeCenterPlan {
public:
    ResizeCenterPlan();
    ~ResizeCenterPlan();
    ResizeCenterPlan(ResizeCenterPlan&&) noexcept;
    ResizeCenterPlan& operator=(ResizeCenterPlan&&) noexcept;
    ResizeCenterPlan(const ResizeCenterPlan&) = delete;
    ResizeCenterPlan& operator=(const ResizeCenterPlan&) = delete;

    // Builds the plan for the rows of `level` (capped at the detected
    // level). On any status but ippStsNoErr the plan is left empty.
    IppStatus Prepare(const ResizeCenterRequest& request, SimdLevel level = ActiveSimdLevel()) noexcept;
    // Resizes one frame. The steps are checked against the prepared sizes
    // (ippStsStepErr, ippStsStrideErr); an empty plan gives ippStsContextMatchErr.
    IppStatus Run(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep) noexcept;

    bool Ready() const { return m_impl != nullptr; }
    void Reset() noexcept;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tulipp
