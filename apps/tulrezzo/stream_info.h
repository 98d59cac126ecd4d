// What a frame source tells the rest of the program about its frames:
// size, rate, picture aspect and interlacing.
#pragma once

#include "apps/tulrezzo/numbers.h"

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

    bool Interlaced() const { return interlaceTag == 't' || interlaceTag == 'b' || interlaceTag == 'm'; }
    ULONG FrameBytes() const { return Yuy2FrameBytes(size); }
};

}  // namespace tulrezzo
