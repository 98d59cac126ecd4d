// Where the filter's output frames go: a Y4M or raw YUY2 file. Every
// frame is flushed once written, so a later failure loses nothing.
#pragma once

#include "apps/tulrezzo/stream_info.h"

#include <memory>
#include <string>

namespace tulrezzo {

class FrameWriter {
public:
    virtual ~FrameWriter() = default;
    // Writes one YUY2 frame of the output size (lines back to back) and
    // flushes it; false, with ErrorMessage set, when that failed.
    virtual bool WriteFrame(const BYTE* yuy2) = 0;
    // Flushes and closes; false, with ErrorMessage set, on failure.
    virtual bool Finish() = 0;
    virtual const std::string& ErrorMessage() const = 0;
};

enum class OutputKind { Y4m, Raw };

// The output kind a file name asks for: ".y4m" or "-" give Y4M, ".yuv"
// raw YUY2 (case-insensitive); false for anything else.
bool OutputKindOf(const std::string& path, OutputKind* kind);

// Creates the file and, for Y4M, writes its stream header. info
// describes the output frames (size, rate, interlace tag); pixelAspect
// goes into the Y4M header. Throws a Failure when the file cannot be
// created or the header not written.
std::unique_ptr<FrameWriter> CreateFrameWriter(const std::string& path, OutputKind kind, const StreamInfo& info,
                                               Ratio pixelAspect);

}  // namespace tulrezzo
