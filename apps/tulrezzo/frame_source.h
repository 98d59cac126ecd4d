// A source of YUY2 frames for the graph: a file reader or the built-in
// test picture. Sources are read on the graph's streaming thread, one
// frame at a time.
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
    // Stores the next frame, Info().FrameBytes() bytes of YUY2 with lines
    // back to back, at dst.
    virtual ReadOutcome ReadFrame(BYTE* dst) = 0;
};

}  // namespace tulrezzo
