// Windows bitmaps as a one-frame source: 1-, 4- and 8-bit palette
// pictures expanded to RGB24 by the library's PaletteToRGB24, 24-bit as
// RGB24 and 32-bit as RGB32 (the fourth byte kept as alpha), bottom-up or
// top-down as stored (the frame's step carries the orientation).
#pragma once

#include "apps/tulrezzo/frame_source.h"

#include <vector>

namespace tulrezzo {

class BmpReader : public FrameSource {
public:
    // Reads the whole file and checks every header field against it; throws
    // a Failure naming the file and the field that cannot be used.
    explicit BmpReader(const std::string& path);

    const StreamInfo& Info() const override { return m_info; }
    // The picture once, then End.
    ReadOutcome ReadFrame(BYTE* dst) override;

private:
    std::string m_name;
    StreamInfo m_info;
    int m_bits = 0;
    int m_stride = 0;             // bytes of a stored row
    std::vector<BYTE> m_pixels;   // the stored rows, as in the file
    std::vector<BYTE> m_palette;  // BITMAPINFO with a full 256-entry table, unused entries black
    bool m_done = false;
};

}  // namespace tulrezzo
