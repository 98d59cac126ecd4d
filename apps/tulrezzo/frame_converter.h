// One prepared conversion of the picture library from one frame layout
// (format, size, signed step, field order) to another, for the commands
// that need their inputs in a layout of the library's own operations.
#pragma once

#include "apps/tulrezzo/stream_info.h"

#include <vector>

namespace tulrezzo {

// The layout the blend, compositing and difference operations take:
// top-down rows of the format's default length (RGB24 rows rounded up to
// 4 bytes).
StreamInfo PackedLayout(const StreamInfo& info, PixelFormat format, FrameSize size);

class FrameConverter {
public:
    // Prepares the conversion from `from` to `to`, resizing when the sizes
    // differ; throws a Failure naming both when the library does not offer
    // it. `what` names the input in that message.
    FrameConverter(const StreamInfo& from, const StreamInfo& to, const std::string& what,
                   TulImage::INTERPOLATION_MODE mode = TulImage::INTERPOLATION_AUTO);

    // Converts one frame; null when the library fails.
    const BYTE* Run(const BYTE* frame);

private:
    TulImage m_image;
    std::vector<BYTE> m_out;
};

}  // namespace tulrezzo
