// Where output frames go: a Y4M stream, a raw file or numbered pictures.
// Every frame is flushed once written, so a later failure loses nothing.
#pragma once

#include "apps/tulrezzo/stream_info.h"

#include <memory>
#include <string>

namespace tulrezzo {

class FrameWriter {
public:
    virtual ~FrameWriter() = default;
    // Writes one frame of the output size and layout (format and step as
    // the writer was created with) and flushes it; false, with
    // ErrorMessage set, when that failed.
    virtual bool WriteFrame(const BYTE* frame) = 0;
    // Flushes and closes; false, with ErrorMessage set, on failure.
    virtual bool Finish() = 0;
    virtual const std::string& ErrorMessage() const = 0;
};

enum class OutputKind { Y4m, Raw, Bmp, Png };

// The output kind a file name asks for: ".y4m" or "-" give Y4M, ".yuv"
// raw frames, and with pictures ".bmp" and ".png" (case-insensitive);
// false for anything else.
bool OutputKindOf(const std::string& path, OutputKind* kind, bool pictures = false);

// Creates the file and, for Y4M, writes its stream header (picture files
// are created frame by frame). info describes the output frames (size,
// rate, interlace tag, format: YUY2, I420, YV12 or VUYA for Y4M, RGB24 or
// RGB32 for pictures, any for raw) laid out with OutputStep; pixelAspect
// goes into the Y4M header. Throws a Failure when the file cannot be
// created or the header not written.
std::unique_ptr<FrameWriter> CreateFrameWriter(const std::string& path, OutputKind kind, const StreamInfo& info,
                                               Ratio pixelAspect);

// The format an output of `kind` takes from input frames of `input` when
// none is asked for.
PixelFormat DefaultOutputFormat(OutputKind kind, PixelFormat input);

// The row step the writer of `kind` takes frames in: the bitmap's
// bottom-up padded rows for BMP, tight top-down rows for the rest.
int OutputStep(OutputKind kind, PixelFormat format, LONG width);

}  // namespace tulrezzo
