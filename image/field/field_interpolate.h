// Deinterlacing by interpolation: the kept field resampled to the frame's
// height by the library's resizers.
#pragma once

#include "image/field/field_picture.h"

namespace tul::field {

// Resamples the even- or odd-row field of an admitted frame of at least
// two rows into `dst`, which is `src` or apart from it. A resample that
// cannot be made (a picture too small for the resampler, an odd YUY2 width
// for our own) returns TUL_FAILED with nothing written.
ULONG InterpolateField(TulImage::COLOR_FORMAT_TYPE format, const unsigned char* src,
                       unsigned char* dst, ULONG width, int step, const Geometry& g, bool keepOdd,
                       TulImage::INTERPOLATION_MODE mode);

}  // namespace tul::field
