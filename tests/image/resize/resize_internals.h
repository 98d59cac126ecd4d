// The resize tests' way to the plan a prepared TulImage holds (through
// tul::ResizePlan), with the tests' shared YUY2 helpers.
#pragma once

#include "image/TulImage.h"
#include "image/resize/resize_plan.h"
#include "image/resize/resize_workers.h"

struct TulImageInternals {
    static const RESIZE_INFO& Plan(const TulImage& image) { return tul::ResizePlan::Info(image); }
    static bool Ready(const TulImage& image) { return tul::ResizePlan::Ready(image); }
};

#include "image/resize/resize_geometry.h"

#include <gtest/gtest.h>

namespace tultest {

// The broadcast black of a YUY2 row: luma 0, chroma 0x7F.
inline bool IsYuy2Black(const unsigned char* p, int pixels)
{
    for (int i = 0; i < pixels; ++i) {
        if (p[2 * i] != 0x00 || p[2 * i + 1] != 0x7F)
            return false;
    }
    return true;
}

}  // namespace tultest
