// The last step of blend and overlay: frames in the layout they were
// worked on go through the library's conversion into the output's format
// and layout, and are written.
#pragma once

#include "apps/tulrezzo/frame_converter.h"
#include "apps/tulrezzo/frame_writer.h"

#include <memory>

namespace tulrezzo {

class OutputStage {
public:
    // working: the frames handed to Write; format: --to, or the output's
    // default for frames stored as `stored`. Creates the output; throws a
    // Failure when it cannot be created or the conversion is not offered.
    OutputStage(const StreamInfo& working, PixelFormat stored, const std::string& output, OutputKind kind,
                const PixelFormat* format);
    // false, with Error() set, when the frame could not be converted or written.
    bool Write(const BYTE* frame);
    bool Finish();
    const std::string& Error() const { return m_error; }

private:
    std::unique_ptr<FrameConverter> m_convert;
    std::unique_ptr<FrameWriter> m_writer;
    std::string m_error;
};

}  // namespace tulrezzo
