// Library-backed resizes of YUY2 and 4:2:0 frames, planned once for a
// geometry and field choice: one centre-resample plan for the luma plane
// and one serving both chroma planes, and for YUY2 a packed plan that gives
// the same bytes without the planes where it can (cubic, super-sampling,
// linear blending rows first).
// Run then only finds the planes of the frames it is given and resamples;
// it allocates nothing.
#pragma once

#include "image/TulImage.h"
#include "platform/ipp/resize_center_422.h"
#include "platform/ipp/resize_plan.h"

namespace tul {

// A library resize as its caller states it, before the field rule.
struct LibraryResize {
    IppiSize srcSize;        // the source frame
    IppiSize dstSize;        // the destination frame
    IppiRect srcRegion;      // of the source frame
    double xFactor;
    double yFactor;
    // The exact scale the factors stand for when they were rounded (the
    // resizer object cuts them to five decimals); 0 = the factor itself.
    // Decides only which destination pixels are written.
    double xExactFactor;
    double yExactFactor;
    TulImage::INTERPOLATION_MODE mode;
    TulImage::FIELD_TYPE field;
    bool fieldToField;
};

enum class PlanarLayout { Yuy2, Yuv420 };

class LibraryPlan {
public:
    // Checks and builds the plans as ippiResizeCenter_8u_C1R checks its
    // arguments; any status but ippStsNoErr leaves the plan empty.
    IppStatus Prepare(PlanarLayout layout, const LibraryResize& r);
    // One frame at non-negative steps. YUY2 goes through `temp`, scratch
    // planes sized for the two frames. False at the first primitive that
    // fails (or on an empty plan).
    bool Run(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep,
             TEMP_PLANAR_FORMAT* temp);
    bool Ready() const { return m_luma.Ready(); }
    void Reset();

private:
    bool RunYuy2(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep,
                 TEMP_PLANAR_FORMAT* temp);
    bool RunYuv420(const unsigned char* src, int srcStep, unsigned char* dst, int dstStep);

    PlanarLayout m_layout = PlanarLayout::Yuy2;
    LibraryResize m_request{};
    int m_srcRows = 0;  // rows resized once the field is taken
    int m_dstRows = 0;
    // Whether a plane's resize leaves pixels unwritten, which must then be
    // painted black first (luma, chroma).
    bool m_paint[2] = {true, true};
    tulipp::ResizeCenterPlan m_luma;
    tulipp::ResizeCenterPlan m_chroma;
    // YUY2 straight from packed rows to packed rows (split, plane resizes
    // and join in one pass) where the packed plan takes the request;
    // empty otherwise.
    tulipp::ResizeCenter422Plan m_packed;
};

}  // namespace tul
