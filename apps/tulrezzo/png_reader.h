// PNG pictures as a one-frame source, decoded by libpng: grey, palette
// and RGB pictures come out as RGB24, those with an alpha channel (or a
// transparency chunk) as RGB32 with the alpha in the fourth byte; rows
// top-down, 16-bit samples taken to 8.
#pragma once

#include "apps/tulrezzo/frame_source.h"

#include <vector>

namespace tulrezzo {

class PngReader : public FrameSource {
public:
    // Decodes the whole picture; throws a Failure naming the file when
    // libpng refuses it or its size is past the program's frame limit.
    explicit PngReader(const std::string& path);

    const StreamInfo& Info() const override { return m_info; }
    // The picture once, then End.
    ReadOutcome ReadFrame(BYTE* dst) override;

private:
    StreamInfo m_info;
    std::vector<BYTE> m_pixels;
    bool m_done = false;
};

}  // namespace tulrezzo
