// The built-in source: colour bars with a white box that moves between
// the two fields of every frame, so deinterlacing has something to show.
#pragma once

#include "apps/tulrezzo/frame_source.h"

#include <vector>

namespace tulrezzo {

class TestPattern : public FrameSource {
public:
    static constexpr FrameSize kDefaultSize{720, 480};
    static constexpr ULONG kDefaultFrames = 300;

    // Interlaced, top field first, 30000/1001 frames per second, picture
    // aspect 4:3. size must have passed FrameSizeProblem.
    explicit TestPattern(ULONG frames = kDefaultFrames, FrameSize size = kDefaultSize);

    const StreamInfo& Info() const override { return m_info; }
    ReadOutcome ReadFrame(BYTE* dst) override;

    // Left edge and side of the box in the given field (0 top, 1 bottom)
    // of the given frame; the box's top row is BoxTop().
    LONG BoxLeft(ULONG frame, int field) const;
    LONG BoxSide() const { return m_boxSide; }
    LONG BoxTop() const { return m_boxTop; }

private:
    StreamInfo m_info;
    ULONG m_frames;
    ULONG m_next = 0;
    LONG m_boxSide;
    LONG m_boxTop;
    std::vector<BYTE> m_barsLine;  // one YUY2 line of the bars
    std::vector<BYTE> m_boxLine;   // one YUY2 line of the box
};

}  // namespace tulrezzo
