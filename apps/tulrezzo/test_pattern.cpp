// Seven 75% colour bars in BT.601 studio range, and a box moving right by
// a fixed step per field; each frame is whole-line copies.
#include "apps/tulrezzo/test_pattern.h"

#include <cstring>

namespace tulrezzo {

namespace {

struct Yuv {
    BYTE y, u, v;
};

// White, yellow, cyan, green, magenta, red, blue at 75%.
constexpr Yuv kBars[] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                         {84, 184, 198},  {65, 100, 212}, {35, 212, 114}};
constexpr Yuv kBox{235, 128, 128};
// Pixels the box moves per field; even so it starts on a YUY2 pair.
constexpr LONG kStep = 8;

void FillPairs(BYTE* line, LONG pairs, Yuv c)
{
    for (LONG k = 0; k < pairs; ++k) {
        line[4 * k] = c.y;
        line[4 * k + 1] = c.u;
        line[4 * k + 2] = c.y;
        line[4 * k + 3] = c.v;
    }
}

}  // namespace

TestPattern::TestPattern(ULONG frames, FrameSize size) : m_frames(frames)
{
    m_info.size = size;
    m_info.rate = {30000, 1001};
    m_info.pictureAspect = {4, 3};
    m_info.interlaceTag = 't';
    m_boxSide = (size.height / 6) & ~1;
    if (m_boxSide < 2)
        m_boxSide = 2;
    if (m_boxSide > size.width)
        m_boxSide = size.width;
    m_boxTop = ((size.height - m_boxSide) / 2) & ~1;
    if (m_boxTop < 0)
        m_boxTop = 0;

    const LONG pairs = size.width / 2;
    m_barsLine.resize(static_cast<std::size_t>(size.width) * 2);
    constexpr LONG bars = static_cast<LONG>(sizeof(kBars) / sizeof(kBars[0]));
    for (LONG b = 0; b < bars; ++b) {
        const LONG first = pairs * b / bars;
        const LONG last = pairs * (b + 1) / bars;
        FillPairs(m_barsLine.data() + 4 * first, last - first, kBars[b]);
    }
    m_boxLine.resize(static_cast<std::size_t>(m_boxSide) * 2);
    FillPairs(m_boxLine.data(), m_boxSide / 2, kBox);
}

LONG TestPattern::BoxLeft(ULONG frame, int field) const
{
    const LONG travel = m_info.size.width - m_boxSide;
    if (travel <= 0)
        return 0;
    const ULONG steps = travel / kStep + 1;
    return static_cast<LONG>(((2 * static_cast<unsigned long long>(frame) + field) % steps) * kStep);
}

ReadOutcome TestPattern::ReadFrame(BYTE* dst)
{
    if (m_next >= m_frames)
        return {ReadStatus::End, {}};
    const std::size_t lineBytes = m_barsLine.size();
    const LONG left[2] = {BoxLeft(m_next, 0), BoxLeft(m_next, 1)};
    for (LONG row = 0; row < m_info.size.height; ++row) {
        BYTE* line = dst + lineBytes * row;
        std::memcpy(line, m_barsLine.data(), lineBytes);
        if (row >= m_boxTop && row < m_boxTop + m_boxSide)
            std::memcpy(line + 2 * left[row & 1], m_boxLine.data(), m_boxLine.size());
    }
    ++m_next;
    return {ReadStatus::Frame, {}};
}

}  // namespace tulrezzo
