// Frames from a YUV4MPEG2 stream: 4:2:2 joined into YUY2, 4:2:0 kept as
// I420 or turned into YUY2 for the filter.
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
    // With toYuy2, 4:2:0 frames come out as YUY2 too.
    explicit Y4mReader(const std::string& path, bool toYuy2 = true);
    // The frames' layout in the file: YUY2 for 4:2:2, YUV420 for 4:2:0.
    PixelFormat StoredFormat() const override { return m_stored; }

    const StreamInfo& Info() const override { return m_info; }
    ReadOutcome ReadFrame(BYTE* dst) override;

private:
    std::string ReadHeaderLine();
    ReadOutcome ReadFrameHeader();
    std::string FrameName() const;

    InputFile m_file;
    StreamInfo m_info;
    PixelFormat m_stored = TulImage::COLOR_FORMAT_YUY2;
    std::vector<BYTE> m_planes;  // one frame as it is stored: Y, then U, then V
    ULONG m_framesRead = 0;
};

}  // namespace tulrezzo
