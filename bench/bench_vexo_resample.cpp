// Throughput of the own resampler's prepared picture passes (a plane, and
// packed YUY2) on broadcast and HD sizes, with a memcpy of the destination
// bytes as the memory-speed reference.
#include "image/resize/vexo_resampler.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

enum Engine { kPlane = 0, kPacked = 1 };

// Arguments: engine, source width, source height, destination width, height.
void BM_Resample(benchmark::State& state)
{
    const auto engine = static_cast<Engine>(state.range(0));
    const int sw = static_cast<int>(state.range(1)), sh = static_cast<int>(state.range(2));
    const int dw = static_cast<int>(state.range(3)), dh = static_cast<int>(state.range(4));
    const int bpp = engine == kPacked ? 2 : 1;
    std::vector<unsigned char> src(static_cast<std::size_t>(sw) * bpp * sh, 0);
    std::vector<unsigned char> dst(static_cast<std::size_t>(dw) * bpp * dh, 0);
    for (std::size_t i = 0; i < src.size(); ++i)
        src[i] = static_cast<unsigned char>(i * 2654435761u >> 24);
    // Planned once, as a prepared picture's frames run.
    tul::TwoPassPlan plan;
    if (!plan.Prepare(engine == kPacked, sw, sh, dw, dh)) {
        state.SkipWithError("plan refused");
        return;
    }
    for (auto _ : state) {
        const bool ok = plan.Run(src.data(), sw * bpp, dst.data(), dw * bpp);
        benchmark::DoNotOptimize(ok);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dw) * dh);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(dst.size()));
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (int engine : {kPlane, kPacked}) {
        b->Args({engine, 720, 480, 704, 480});     // broadcast crop width, area shrink
        b->Args({engine, 1920, 1080, 1280, 720});  // area shrink both ways
        b->Args({engine, 1408, 960, 704, 480});    // exact halves
        b->Args({engine, 704, 480, 1408, 960});    // exact doubles
        b->Args({engine, 720, 480, 1920, 1080});   // cubic stretch both ways
    }
}
BENCHMARK(BM_Resample)->Apply(Sizes)->ArgNames({"packed", "sw", "sh", "dw", "dh"});

void BM_MemcpyReference(benchmark::State& state)
{
    const auto bytes = static_cast<std::size_t>(state.range(0));
    std::vector<unsigned char> a(bytes, 1), b(bytes, 0);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_MemcpyReference)->Arg(1280 * 720)->Arg(1920 * 1080 * 2);

}  // namespace

BENCHMARK_MAIN();
