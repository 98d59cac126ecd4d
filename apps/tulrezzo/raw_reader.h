// Frames from a headerless YUY2 file whose size, rate, aspect and
// interlacing come from the command line.
#pragma once

#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/frame_source.h"

namespace tulrezzo {

class RawReader : public FrameSource {
public:
    // info.size must have passed FrameSizeProblem. Throws a Failure when
    // the file cannot be opened.
    RawReader(const std::string& path, const StreamInfo& info);

    const StreamInfo& Info() const override { return m_info; }
    ReadOutcome ReadFrame(BYTE* dst) override;

private:
    InputFile m_file;
    StreamInfo m_info;
    ULONG m_framesRead = 0;
};

}  // namespace tulrezzo
