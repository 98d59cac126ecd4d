// The prepared resamplers a TulImage owns once it is initialised: the own
// resampler's plan or the library plans of a YUY2 frame (luma and chroma),
// and the plans of both RGB forms, built from the RESIZE_INFO so that a
// frame only runs them.
#pragma once

#include "image/TulImage.h"
#include "image/resize/ipp_resize.h"
#include "image/resize/vexo_resampler.h"
#include "platform/ipp/resize_plan.h"

namespace tul {

struct ResizePlan {
    // Takes `next` as the object's plan (keeping or replacing the scratch
    // planes by the scratch-plane rule) and builds its resamplers; a status.
    // `x/yExactFactor` are the exact scales of factors cut to five decimals.
    static ULONG Prepare(TulImage& image, const RESIZE_INFO& next, double xExactFactor,
                         double yExactFactor);
    // Releases the object's plan, scratch planes included; not ready after.
    static void Reset(TulImage& image);

    // What a prepared object holds, for the library's own checks.
    static const RESIZE_INFO& Info(const TulImage& image) { return image.m_resizeInfo; }
    static bool Ready(const TulImage& image) { return image.m_resizeReady; }

    LibraryPlan yuy2;                // library modes; runs through the scratch planes
    VexoPlan vexo;                   // INTERPOLATION_VEXO
    tulipp::ResizeCenterPlan rgb24;  // every mode (RGB has no own resampler)
    tulipp::ResizeCenterPlan rgb32;
    // The exact scales of a plan whose factors were cut to five decimals
    // (0 = the factors themselves), kept so a copy builds the same plans.
    double xExactFactor = 0.0;
    double yExactFactor = 0.0;
};

}  // namespace tul
