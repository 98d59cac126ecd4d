// The rectangle a picture occupies inside the output frame: the whole
// frame when stretched, or the largest picture of the source's display
// aspect that fits when the aspect is kept.
#pragma once

#include "platform/win32/wintypes.h"

namespace tulfilter {

struct PictureSize {
    LONG width;
    LONG height;
};

// Computes the picture size for `mode` (RESIZE_MODE_KEEP_ASPECT fits, any
// other value stretches). An aspect of exactly 1:1 stands for the size's
// own shape. Returns false, leaving *picture alone, for non-positive sizes,
// for non-positive aspect terms when they are read, and when the fit would
// leave an empty picture.
bool FitPicture(LONG srcWidth, LONG srcHeight, LONG srcAspectX, LONG srcAspectY, LONG outWidth,
                LONG outHeight, LONG outAspectX, LONG outAspectY, LONG mode,
                PictureSize* picture);

}  // namespace tulfilter
