// Blending, alpha compositing and the frame difference on 1920x1080 frames:
// BlendRGB32 and AlphaCompRGB32 beside libyuv's ARGBBlend, BlendYUY2 beside
// libyuv's BlendPlane over the same bytes, AlphaCompRGB24 (libyuv has no
// blend onto RGB24) on its own, GetDeltaFromYUY2 beside a memcpy of the
// rows it reads. Bytes processed count every byte read or written.
#include "image/TulImage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#if defined(TUL_HAVE_LIBYUV)
#include <libyuv.h>
#endif

namespace {

constexpr int kW = 1920, kH = 1080;

std::vector<unsigned char> Random(std::size_t n, std::uint32_t seed)
{
    std::vector<unsigned char> v(n);
    std::mt19937 rng(seed);
    for (auto& b : v)
        b = static_cast<unsigned char>(rng() >> 24);
    return v;
}

void BM_BlendRGB32(benchmark::State& state)
{
    auto src = Random(std::size_t(kW) * kH * 4, 1), dst = Random(src.size(), 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(TulImage::BlendRGB32(src.data(), dst.data(), kW, kH, 4 * kW, 0.3f));
    state.SetBytesProcessed(int64_t(state.iterations()) * 3 * int64_t(src.size()));
}
BENCHMARK(BM_BlendRGB32)->Unit(benchmark::kMillisecond);

void BM_BlendYUY2(benchmark::State& state)
{
    auto src = Random(std::size_t(kW) * kH * 2, 1), dst = Random(src.size(), 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(TulImage::BlendYUY2(src.data(), dst.data(), kW, kH, 2 * kW, 0.3f));
    state.SetBytesProcessed(int64_t(state.iterations()) * 3 * int64_t(src.size()));
}
BENCHMARK(BM_BlendYUY2)->Unit(benchmark::kMillisecond);

void BM_AlphaCompRGB32(benchmark::State& state)
{
    auto fg = Random(std::size_t(kW) * kH * 4, 1), bg = Random(fg.size(), 2);
    std::vector<unsigned char> out(fg.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(TulImage::AlphaCompRGB32(fg.data(), bg.data(), out.data(), kW, kH));
    state.SetBytesProcessed(int64_t(state.iterations()) * 3 * int64_t(fg.size()));
}
BENCHMARK(BM_AlphaCompRGB32)->Unit(benchmark::kMillisecond);

// RGB32 foreground over an RGB24 background into RGB24.
void BM_AlphaCompRGB24(benchmark::State& state)
{
    auto fg = Random(std::size_t(kW) * kH * 4, 1), bg = Random(std::size_t(kW) * kH * 3, 2);
    std::vector<unsigned char> out(bg.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(TulImage::AlphaCompRGB24(fg.data(), bg.data(), out.data(), kW, kH));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fg.size() + 2 * bg.size()));
}
BENCHMARK(BM_AlphaCompRGB24)->Unit(benchmark::kMillisecond);

void BM_GetDeltaFromYUY2(benchmark::State& state)
{
    auto a = Random(std::size_t(kW) * kH * 2, 1), b = Random(a.size(), 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(TulImage::GetDeltaFromYUY2(a.data(), b.data(), kW, kH));
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * ((kH + 7) / 8) * 2 * kW);
}
BENCHMARK(BM_GetDeltaFromYUY2)->Unit(benchmark::kMicrosecond);

// The rows GetDeltaFromYUY2 reads (every 8th of both frames), copied.
void BM_MemcpyDeltaRows(benchmark::State& state)
{
    auto a = Random(std::size_t(kW) * kH * 2, 1), b = Random(a.size(), 2);
    std::vector<unsigned char> row(2 * kW);
    for (auto _ : state) {
        for (int y = 0; y < kH; y += 8) {
            std::memcpy(row.data(), a.data() + std::size_t(y) * 2 * kW, row.size());
            std::memcpy(row.data(), b.data() + std::size_t(y) * 2 * kW, row.size());
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 2 * ((kH + 7) / 8) * 2 * kW);
}
BENCHMARK(BM_MemcpyDeltaRows)->Unit(benchmark::kMicrosecond);

#if defined(TUL_HAVE_LIBYUV)
void BM_LibyuvARGBBlend(benchmark::State& state)
{
    auto fg = Random(std::size_t(kW) * kH * 4, 1), bg = Random(fg.size(), 2);
    std::vector<unsigned char> out(fg.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            libyuv::ARGBBlend(fg.data(), 4 * kW, bg.data(), 4 * kW, out.data(), 4 * kW, kW, kH));
    state.SetBytesProcessed(int64_t(state.iterations()) * 3 * int64_t(fg.size()));
}
BENCHMARK(BM_LibyuvARGBBlend)->Unit(benchmark::kMillisecond);

// A YUY2 frame's bytes as one plane with a constant alpha plane.
void BM_LibyuvBlendPlane(benchmark::State& state)
{
    auto src = Random(std::size_t(kW) * kH * 2, 1), dst = Random(src.size(), 2);
    std::vector<unsigned char> alpha(src.size(), 77);
    for (auto _ : state)
        benchmark::DoNotOptimize(libyuv::BlendPlane(src.data(), 2 * kW, dst.data(), 2 * kW, alpha.data(), 2 * kW,
                                                    dst.data(), 2 * kW, 2 * kW, kH));
    state.SetBytesProcessed(int64_t(state.iterations()) * 3 * int64_t(src.size()));
}
BENCHMARK(BM_LibyuvBlendPlane)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
