// Base image primitives on the per-frame path of the resize filter: the
// split of a packed 4:2:2 frame into Y/U/V planes and the join back, the
// rows of each instruction-set level over a whole frame, beside a memcpy
// of the same frame bytes (the memory limit). Bytes processed are the
// packed frame's 2*W*H.
#include "platform/ipp/ippi.h"
#include "platform/ipp/split_join422.h"
#include "tests/support/simd_levels.h"

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

// The row of the level, through the same RowSet the primitive uses, over
// the frame's rows.
void Split(benchmark::State& state, int w, int h, tulipp::SimdLevel level)
{
    Frame422 f(w, h);
    if (!f.Ok())
        return state.SkipWithError("allocation failed");
    if (level > tulipp::DetectedSimdLevel())
        return state.SkipWithError("level not available on this processor");
    const tulipp::Split422RowFn row = tulipp::kSplit422Rows.For(level);
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            row(f.packed + y * f.packedStep, f.planes[0] + y * f.steps[0], f.planes[1] + y * f.steps[1],
                f.planes[2] + y * f.steps[2], w);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * f.Bytes());
}

void Join(benchmark::State& state, int w, int h, tulipp::SimdLevel level)
{
    Frame422 f(w, h);
    if (!f.Ok())
        return state.SkipWithError("allocation failed");
    if (level > tulipp::DetectedSimdLevel())
        return state.SkipWithError("level not available on this processor");
    const tulipp::Join422RowFn row = tulipp::kJoin422Rows.For(level);
    for (auto _ : state) {
        for (int y = 0; y < h; ++y)
            row(f.planes[0] + y * f.steps[0], f.planes[1] + y * f.steps[1], f.planes[2] + y * f.steps[2],
                f.copy + y * f.packedStep, w);
        benchmark::ClobberMemory();
    }
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
            benchmark::RegisterBenchmark(("Split422/" + size + "/" + tultest::SimdLevelName(level)).c_str(), Split, w, h, level);
        }
        for (int l = 0; l <= static_cast<int>(tulipp::SimdLevel::AVX2); ++l) {
            const auto level = static_cast<tulipp::SimdLevel>(l);
            benchmark::RegisterBenchmark(("Join422/" + size + "/" + tultest::SimdLevelName(level)).c_str(), Join, w, h, level);
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
