// Progress and summary text.
#include "apps/tulrezzo/progress.h"

#include <cstdio>
#include <ostream>

namespace tulrezzo {

namespace {

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

double Rate(ULONG frames, double seconds) { return seconds > 0 ? frames / seconds : 0.0; }

}  // namespace

std::string FormatSummary(const RunSummary& s)
{
    return std::to_string(s.framesIn) + " frames in, " + std::to_string(s.framesOut) + " out, " +
           FormatSize(s.inputSize) + " -> " + FormatSize(s.outputSize) + ", " + Fixed(s.seconds, 2) + " s, " +
           Fixed(Rate(s.framesOut, s.seconds), 1) + " fps";
}

void ProgressLine::Update(ULONG frames, double seconds)
{
    if (!m_enabled)
        return;
    std::string line = "tulrezzo: " + std::to_string(frames) + " frames, " + Fixed(Rate(frames, seconds), 1) + " fps";
    const std::size_t width = line.size();
    if (width < m_drawn)
        line.append(m_drawn - width, ' ');
    m_err << '\r' << line << std::flush;
    m_drawn = line.size();  // padding included: all of it is on screen
}

void ProgressLine::Tick(ULONG frames)
{
    const double now = Elapsed();
    if (now - m_lastTick < 0.25)
        return;
    m_lastTick = now;
    Update(frames, now);
}

void ProgressLine::Clear()
{
    if (!m_enabled || m_drawn == 0)
        return;
    m_err << '\r' << std::string(m_drawn, ' ') << '\r' << std::flush;
    m_drawn = 0;
}

}  // namespace tulrezzo
