// Base image primitives on the per-frame path of the resize filter: the
// split of a packed 4:2:2 frame into Y/U/V planes and the join back, at
// each instruction-set level, beside a memcpy of the same frame bytes
// (the memory limit). Bytes processed are the packed frame's 2*W*H.
#include "platform/ipp/ippi.h"
#include "platform/ipp/simd_level.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

struct Frame422 {
    Frame422(int w, int h) : width(w), height(h)
    {
        packed = ippiMalloc_8u_C1(2 * w, h, &packedStep);
        planes[0] = ippiMalloc_8u_C1(w, h, &steps[0]);
        planes[1] = ippiMalloc_8u_C1(w / 2, h, &steps[1]);
        planes[2] = ippiMalloc_8u_C1(w / 2, h, &steps[2]);
        copy = ippiMalloc_8u_C1(2 * w, h, &packedStep);
        for (int i = 0; i < packedStep * h; ++i)
            packed[i] = static_cast<Ipp8u>(i * 7);
    }
    ~Frame422()
    {
        ippiFree(packed);
        ippiFree(copy);
        for (Ipp8u* p : planes)
            ippiFree(p);
    }
    bool Ok() const { return packed && copy && planes[0] && planes[1] && planes[2]; }
    std::int64_t Bytes() const { return 2LL * width * height; }

    int width, height;
    Ipp8u* packed;
    Ipp8u* copy;
    Ipp8u* planes[3];
    int packedStep = 0;
    int steps[3] = {0, 0, 0};
};

const char* LevelName(tulipp::SimdLevel level)
{
    switch (level) {
    case tulipp::SimdLevel::Scalar: return "Scalar";
    case tulipp::SimdLevel::SSE2: return "SSE2";
    case tulipp::SimdLevel::SSSE3: return "SSSE3";
    case tulipp::SimdLevel::AVX2: return "AVX2";
    }
    return "?";
}

void Memcpy(benchmark::State& state, int w, int h)
{
    Frame422 f(w, h);
    if (!f.Ok())
        return state.SkipWithError("allocation failed");
    for (auto _ : state) {
        std::memcpy(f.copy, f.packed, static_cast<std::size_t>(f.Bytes()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes());
}

void Split(benchmark::State& state, int w, int h, tulipp::SimdLevel level)
{
    Frame422 f(w, h);
    if (!f.Ok())
        return state.SkipWithError("allocation failed");
    tulipp::SetActiveSimdLevel(level);
    if (tulipp::ActiveSimdLevel() != level)
        return state.SkipWithError("level not available on this processor");
    for (auto _ : state) {
        if (ippiSplit422_8u_C2P3R(f.packed, f.packedStep, f.planes, f.steps, {w, h}) != ippStsNoErr)
            return state.SkipWithError("split failed");
        benchmark::ClobberMemory();
    }
    tulipp::SetActiveSimdLevel(tulipp::DetectedSimdLevel());
    state.SetBytesProcessed(state.iterations() * f.Bytes());
}

void Join(benchmark::State& state, int w, int h, tulipp::SimdLevel level)
{
    Frame422 f(w, h);
    if (!f.Ok())
        return state.SkipWithError("allocation failed");
    tulipp::SetActiveSimdLevel(level);
    if (tulipp::ActiveSimdLevel() != level)
        return state.SkipWithError("level not available on this processor");
    const Ipp8u* planes[3] = {f.planes[0], f.planes[1], f.planes[2]};
    for (auto _ : state) {
        if (ippiJoin422_8u_P3C2R(planes, f.steps, f.copy, f.packedStep, {w, h}) != ippStsNoErr)
            return state.SkipWithError("join failed");
        benchmark::ClobberMemory();
    }
    tulipp::SetActiveSimdLevel(tulipp::DetectedSimdLevel());
    state.SetBytesProcessed(state.iterations() * f.Bytes());
}

// Full HD and SD input frames, and the filter's default 320x240 output.
const int kSizes[][2] = {{1920, 1080}, {720, 480}, {320, 240}};

[[maybe_unused]] const bool kRegistered = [] {
    for (const auto& s : kSizes) {
        const int w = s[0], h = s[1];
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        benchmark::RegisterBenchmark(("Memcpy422Frame/" + size).c_str(), Memcpy, w, h);
        for (int l = 0; l <= static_cast<int>(tulipp::SimdLevel::AVX2); ++l) {
            const auto level = static_cast<tulipp::SimdLevel>(l);
            benchmark::RegisterBenchmark(("Split422/" + size + "/" + LevelName(level)).c_str(), Split, w, h, level);
        }
        for (int l = 0; l <= static_cast<int>(tulipp::SimdLevel::AVX2); ++l) {
            const auto level = static_cast<tulipp::SimdLevel>(l);
            benchmark::RegisterBenchmark(("Join422/" + size + "/" + LevelName(level)).c_str(), Join, w, h, level);
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
