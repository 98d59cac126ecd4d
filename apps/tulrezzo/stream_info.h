// What a frame source tells the rest of the program about its frames:
// size, rate, picture aspect, interlacing and the frames' layout.
#pragma once

#include "apps/tulrezzo/picture_layout.h"

namespace tulrezzo {

struct StreamInfo {
    FrameSize size;
    Ratio rate{30000, 1001};  // frames per second
    // Picture aspect in the filter's terms: 1:1 stands for the frame's own
    // pixel shape (square pixels).
    Ratio pictureAspect{1, 1};
    // The Y4M interlace letter: 'p', 't', 'b', 'm', '?', or 0 when none
    // was given. Only 't', 'b' and 'm' make the filter see interlaced input.
    char interlaceTag = 0;

    // How a frame is stored: its pixel format and signed row step (0: the
    // tight top-down rows of TightStep).
    PixelFormat format = TulImage::COLOR_FORMAT_YUY2;
    int step = 0;

    bool Interlaced() const { return interlaceTag == 't' || interlaceTag == 'b' || interlaceTag == 'm'; }
    int Step() const { return step != 0 ? step : TightStep(format, size.width); }
    ULONG FrameBytes() const { return PictureBytes(format, size, step); }
};

}  // namespace tulrezzo
