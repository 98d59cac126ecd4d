// Run-time choice of instruction-set paths.
#include "platform/ipp/simd_level.h"

#include <atomic>

namespace tulipp {
namespace {

SimdLevel Detect()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    // The compiler's check includes the system's saving of the 512-bit state.
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw"))
        return SimdLevel::AVX512;
    if (__builtin_cpu_supports("avx2"))
        return SimdLevel::AVX2;
    if (__builtin_cpu_supports("ssse3"))
        return SimdLevel::SSSE3;
    if (__builtin_cpu_supports("sse2"))
        return SimdLevel::SSE2;
#endif
    return SimdLevel::Scalar;
}

// Relaxed atomics: the level is a configuration knob, read on every call
// from any thread; no other data is published through it.
std::atomic<int>& ActiveSlot()
{
    static std::atomic<int> slot{static_cast<int>(DetectedSimdLevel())};
    return slot;
}

}  // namespace

SimdLevel DetectedSimdLevel()
{
    static const SimdLevel detected = Detect();
    return detected;
}

SimdLevel ActiveSimdLevel()
{
    return static_cast<SimdLevel>(ActiveSlot().load(std::memory_order_relaxed));
}

void SetActiveSimdLevel(SimdLevel level)
{
    int wanted = static_cast<int>(level);
    const int best = static_cast<int>(DetectedSimdLevel());
    if (wanted > best)
        wanted = best;
    if (wanted < 0)
        wanted = 0;
    ActiveSlot().store(wanted, std::memory_order_relaxed);
}

}  // namespace tulipp
