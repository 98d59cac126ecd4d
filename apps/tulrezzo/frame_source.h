// A source of frames: a file reader or the built-in test picture. The
// resize graph takes YUY2 sources, read on its streaming thread one frame
// at a time; the picture commands take any format.
#pragma once

#include "apps/tulrezzo/stream_info.h"

#include <string>

namespace tulrezzo {

enum class ReadStatus {
    Frame,      // a whole frame was stored
    End,        // the input ended cleanly between frames
    Truncated,  // the input ended inside a frame
    Failed,     // a read error or a malformed frame header
};

struct ReadOutcome {
    ReadStatus status = ReadStatus::Frame;
    std::string message;  // for Truncated and Failed
};

class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual const StreamInfo& Info() const = 0;
    // Stores the next frame, Info().FrameBytes() bytes in Info().format
    // with rows Info().Step() apart, at dst.
    virtual ReadOutcome ReadFrame(BYTE* dst) = 0;
    // How frames are stored in the input, when ReadFrame gives them in
    // another format (4:2:0 Y4M read as YUY2).
    virtual PixelFormat StoredFormat() const { return Info().format; }
};

}  // namespace tulrezzo
