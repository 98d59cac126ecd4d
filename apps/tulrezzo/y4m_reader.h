// Frames from a YUV4MPEG2 stream with 4:2:2 chroma: planar in the file,
// joined into YUY2 for the filter.
#pragma once

#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/frame_source.h"

#include <vector>

namespace tulrezzo {

class Y4mReader : public FrameSource {
public:
    // Opens path ("-" for standard input) and reads its stream header;
    // throws a Failure naming the file and, for a header it cannot use,
    // the tag.
    explicit Y4mReader(const std::string& path);

    const StreamInfo& Info() const override { return m_info; }
    ReadOutcome ReadFrame(BYTE* dst) override;

private:
    std::string ReadHeaderLine();
    ReadOutcome ReadFrameHeader();
    std::string FrameName() const;

    InputFile m_file;
    StreamInfo m_info;
    std::vector<BYTE> m_planes;  // one frame as it is stored: Y, then U, then V
    ULONG m_framesRead = 0;
};

}  // namespace tulrezzo
