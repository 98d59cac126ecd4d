// What the user sees on standard error while and after a run: one
// progress line rewritten in place on a terminal, and a one-line summary.
#pragma once

#include "apps/tulrezzo/numbers.h"

#include <chrono>
#include <iosfwd>
#include <string>

namespace tulrezzo {

struct RunSummary {
    ULONG framesIn = 0;
    ULONG framesOut = 0;
    FrameSize inputSize;
    FrameSize outputSize;
    double seconds = 0;
};

// "300 frames in, 300 out, 720x480 -> 320x240, 1.25 s, 240.0 fps"
std::string FormatSummary(const RunSummary& summary);

class ProgressLine {
public:
    // Draws only when enabled (standard error is a terminal, not --quiet).
    ProgressLine(std::ostream& err, bool enabled) : m_err(err), m_enabled(enabled) {}
    ~ProgressLine() { Clear(); }

    void Update(ULONG frames, double seconds);
    // Redraws with the frames done so far, at most every quarter second,
    // so a fast job does not spend its time on the terminal.
    void Tick(ULONG frames);
    // Seconds since the line was made: the run's wall time.
    double Elapsed() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    }
    // Removes the line so the next message starts on a clean one.
    void Clear();

private:
    std::ostream& m_err;
    bool m_enabled;
    std::size_t m_drawn = 0;
    std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
    double m_lastTick = 0;
};

}  // namespace tulrezzo
