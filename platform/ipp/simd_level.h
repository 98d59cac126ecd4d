// Which instruction-set path the primitives take. Detected once from the
// processor; tests may lower it to compare every path with the scalar one.
#pragma once

namespace tulipp {

// AVX512 means AVX-512 F and BW (512-bit registers of bytes and words).
enum class SimdLevel : int { Scalar = 0, SSE2 = 1, SSSE3 = 2, AVX2 = 3, AVX512 = 4 };

// The best level this processor supports.
SimdLevel DetectedSimdLevel();
// The level the primitives use now: the detected one unless lowered.
SimdLevel ActiveSimdLevel();
// Sets the level the primitives use, capped at the detected level. For
// tests and benchmarks that compare paths; not meant to change mid-call.
void SetActiveSimdLevel(SimdLevel level);

}  // namespace tulipp
