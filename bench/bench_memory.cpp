// TulMemory's fill and copy beside the C library's memset and memcpy, and
// the non-temporal store method forced at every size, which shows where it
// starts to pay (TulMemory uses it only above the last-level cache).
#include "image/TulImage.h"
#include "image/foundation/memory_stores.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// 64-byte aligned blocks, so the streaming path's middle is all of it but
// for a deliberate offset.
struct Blocks {
    explicit Blocks(std::size_t bytes) : size(bytes)
    {
        src = static_cast<unsigned char*>(std::aligned_alloc(64, bytes + 64));
        dst = static_cast<unsigned char*>(std::aligned_alloc(64, bytes + 64));
        std::memset(src, 1, bytes + 64);
        std::memset(dst, 2, bytes + 64);
    }
    ~Blocks()
    {
        std::free(src);
        std::free(dst);
    }
    std::size_t size;
    unsigned char* src;
    unsigned char* dst;
};

void BM_TulMemorySet(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TulMemory::Set(b.dst, 0x7F, static_cast<unsigned int>(b.size));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_memset(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::memset(b.dst, 0x7F, b.size);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_TulMemoryCopy(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TulMemory::Copy(b.dst, b.src, static_cast<unsigned int>(b.size));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Source and destination 8 bytes apart modulo 16: the word path.
void BM_TulMemoryCopyMisaligned(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TulMemory::Copy(b.dst + 8, b.src, static_cast<unsigned int>(b.size));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Streaming stores from 128 bytes up, whatever the size.
constexpr tul::memory::StoreChoice kAlwaysStream{true, 0u};

void BM_StreamingSet(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tul::memory::SetWith(kAlwaysStream, b.dst, 0x7F, static_cast<unsigned int>(b.size));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_StreamingCopy(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tul::memory::CopyWith(kAlwaysStream, b.dst, b.src, static_cast<unsigned int>(b.size));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_memcpy(benchmark::State& state)
{
    Blocks b(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::memcpy(b.dst, b.src, b.size);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// What TulMemory no longer pays per call: CTulCpuJudgment asks the
// processor every time.
void BM_IsSupportSSE2(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CTulCpuJudgment::IsSupportSSE2());
}

#define SIZES Arg(64)->Arg(4 << 10)->Arg(1 << 20)->Arg(16 << 20)
BENCHMARK(BM_TulMemorySet)->SIZES;
BENCHMARK(BM_memset)->SIZES;
BENCHMARK(BM_TulMemoryCopy)->SIZES;
BENCHMARK(BM_TulMemoryCopyMisaligned)->SIZES;
BENCHMARK(BM_memcpy)->SIZES;
BENCHMARK(BM_StreamingSet)->SIZES;
BENCHMARK(BM_StreamingCopy)->SIZES;
BENCHMARK(BM_IsSupportSSE2);

}  // namespace

BENCHMARK_MAIN();
