// The prepared resamplers a TulImage owns once it is initialised: the
// library plans of a YUY2 frame (luma and chroma) and of both RGB forms,
// built from the RESIZE_INFO so that a frame only runs them.
#pragma once

#include "image/TulImage.h"
#include "image/resize/ipp_resize.h"
#include "platform/ipp/resize_plan.h"

namespace tul {

struct ResizePlan {
    LibraryPlan yuy2;                // library modes; runs through the scratch planes
    tulipp::ResizeCenterPlan rgb24;  // every mode (RGB has no own resampler)
    tulipp::ResizeCenterPlan rgb32;
    // The exact scales of a plan whose factors were cut to five decimals
    // (0 = the factors themselves), kept so a copy builds the same plans.
    double xExactFactor = 0.0;
    double yExactFactor = 0.0;
};

}  // namespace tul
