// SIMD level helpers for tests and benchmarks: the levels this processor
// offers, their names, and a guard that restores the active level when a
// test ends. The one place a level is given a name.
#pragma once

#include "platform/ipp/simd_level.h"

#include <string>
#include <vector>

namespace tultest {

inline std::vector<tulipp::SimdLevel> AvailableSimdLevels()
{
    std::vector<tulipp::SimdLevel> levels;
    for (int l = 0; l <= static_cast<int>(tulipp::DetectedSimdLevel()); ++l)
        levels.push_back(static_cast<tulipp::SimdLevel>(l));
    return levels;
}

inline std::string SimdLevelName(tulipp::SimdLevel level)
{
    switch (level) {
    case tulipp::SimdLevel::Scalar: return "Scalar";
    case tulipp::SimdLevel::SSE2: return "SSE2";
    case tulipp::SimdLevel::SSSE3: return "SSSE3";
    case tulipp::SimdLevel::AVX2: return "AVX2";
    case tulipp::SimdLevel::AVX512: return "AVX512";
    }
    return "?";
}

class ScopedSimdLevel {
public:
    explicit ScopedSimdLevel(tulipp::SimdLevel level) : m_saved(tulipp::ActiveSimdLevel())
    {
        tulipp::SetActiveSimdLevel(level);
    }
    ~ScopedSimdLevel() { tulipp::SetActiveSimdLevel(m_saved); }
    ScopedSimdLevel(const ScopedSimdLevel&) = delete;
    ScopedSimdLevel& operator=(const ScopedSimdLevel&) = delete;

private:
    tulipp::SimdLevel m_saved;
};

}  // namespace tultest
