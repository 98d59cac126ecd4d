// Colour conversion at 1920x1080, single thread: our kernels beside
// libyuv's and swscale's conversions of the same pair, and a memcpy of the
// same traffic (half the bytes read plus written), the memory limit.
// Pictures are top-down on both sides, tightly packed; I420 is YUV420.
#include "image/TulImage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#if TUL_HAVE_SWSCALE
extern "C" {
#include <libswscale/swscale.h>
}
#endif
#if TUL_HAVE_LIBYUV
#include <libyuv.h>
#endif

namespace {

using T = TulImage;
constexpr int kW = 1920, kH = 1080;

enum class Pix { YUY2, I420, RGB24, RGB32 };

std::size_t BytesOf(Pix p)
{
    const std::size_t px = static_cast<std::size_t>(kW) * kH;
    switch (p) {
    case Pix::YUY2: return px * 2;
    case Pix::I420: return px * 3 / 2;
    case Pix::RGB24: return px * 3;
    case Pix::RGB32: return px * 4;
    }
    return 0;
}

int StepOf(Pix p)
{
    switch (p) {
    case Pix::YUY2: return kW * 2;
    case Pix::I420: return kW;
    case Pix::RGB24: return kW * 3;
    case Pix::RGB32: return kW * 4;
    }
    return 0;
}

std::vector<unsigned char> Frame(Pix p)
{
    std::vector<unsigned char> f(BytesOf(p));
    std::mt19937 rng(7);
    for (auto& b : f)
        b = static_cast<unsigned char>(rng() >> 24);
    return f;
}

void SetCounters(benchmark::State& state, Pix from, Pix to)
{
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kW) * kH);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(BytesOf(from) + BytesOf(to)));
}

struct Pair {
    const char* name;
    Pix from, to;
    ULONG (*ours)(unsigned char*, unsigned char*, ULONG*, int, int);
};

#define TUL_PLAIN(kernel) \
    [](unsigned char* s, unsigned char* d, ULONG* n, int ss, int ds) { return T::kernel(s, d, n, kW, kH, ss, ds); }
#define TUL_PROGRESSIVE(kernel)                                      \
    [](unsigned char* s, unsigned char* d, ULONG* n, int ss, int ds) { \
        return T::kernel(s, d, n, kW, kH, ss, ds, true);               \
    }

const Pair kPairs[] = {
    {"YUY2_to_RGB24", Pix::YUY2, Pix::RGB24, TUL_PLAIN(CCIR601YUY2ToRGB24)},
    {"I420_to_RGB24", Pix::I420, Pix::RGB24, TUL_PROGRESSIVE(YUV420ToRGB24)},
    {"RGB24_to_I420", Pix::RGB24, Pix::I420, TUL_PROGRESSIVE(RGB24ToYUV420)},
    {"YUY2_to_I420", Pix::YUY2, Pix::I420, TUL_PROGRESSIVE(CCIR601YUY2ToYUV420)},
    {"I420_to_YUY2", Pix::I420, Pix::YUY2, TUL_PROGRESSIVE(YUV420ToCCIR601YUY2)},
    {"RGB32_to_YUY2", Pix::RGB32, Pix::YUY2, TUL_PLAIN(RGB32ToCCIR601YUY2)},
};

void BM_Ours(benchmark::State& state, const Pair& p)
{
    auto src = Frame(p.from);
    std::vector<unsigned char> dst(BytesOf(p.to));
    ULONG size = static_cast<ULONG>(dst.size());
    if (p.ours(src.data(), dst.data(), &size, StepOf(p.from), StepOf(p.to)) != T::TUL_SUCCESS) {
        state.SkipWithError("the kernel refused the picture");
        return;
    }
    for (auto _ : state) {
        size = static_cast<ULONG>(dst.size());
        p.ours(src.data(), dst.data(), &size, StepOf(p.from), StepOf(p.to));
        benchmark::ClobberMemory();
    }
    SetCounters(state, p.from, p.to);
}

void BM_Memcpy(benchmark::State& state, const Pair& p)
{
    const std::size_t bytes = (BytesOf(p.from) + BytesOf(p.to)) / 2;
    std::vector<unsigned char> src(bytes, 1), dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::ClobberMemory();
    }
    SetCounters(state, p.from, p.to);
}

#if TUL_HAVE_LIBYUV
// The same pair through libyuv; YUY2 to RGB24 has no direct libyuv call,
// so it goes through ARGB as libyuv's users do.
int Libyuv(const Pair& p, const unsigned char* s, unsigned char* d, std::vector<unsigned char>& scratch)
{
    const int w = kW, h = kH;
    const unsigned char* su = s + w * h;
    const unsigned char* sv = su + (w / 2) * (h / 2);
    unsigned char* du = d + w * h;
    unsigned char* dv = du + (w / 2) * (h / 2);
    switch (p.from) {
    case Pix::YUY2:
        if (p.to == Pix::I420)
            return libyuv::YUY2ToI420(s, w * 2, d, w, du, w / 2, dv, w / 2, w, h);
        if (libyuv::YUY2ToARGB(s, w * 2, scratch.data(), w * 4, w, h) != 0)
            return -1;
        return libyuv::ARGBToRGB24(scratch.data(), w * 4, d, w * 3, w, h);
    case Pix::I420:
        if (p.to == Pix::YUY2)
            return libyuv::I420ToYUY2(s, w, su, w / 2, sv, w / 2, d, w * 2, w, h);
        return libyuv::I420ToRGB24(s, w, su, w / 2, sv, w / 2, d, w * 3, w, h);
    case Pix::RGB24:
        return libyuv::RGB24ToI420(s, w * 3, d, w, du, w / 2, dv, w / 2, w, h);
    case Pix::RGB32:
        return libyuv::ARGBToYUY2(s, w * 4, d, w * 2, w, h);
    }
    return -1;
}

void BM_Libyuv(benchmark::State& state, const Pair& p)
{
    auto src = Frame(p.from);
    std::vector<unsigned char> dst(BytesOf(p.to)), scratch(BytesOf(Pix::RGB32));
    for (auto _ : state) {
        Libyuv(p, src.data(), dst.data(), scratch);
        benchmark::ClobberMemory();
    }
    SetCounters(state, p.from, p.to);
}
#endif

#if TUL_HAVE_SWSCALE
AVPixelFormat AvOf(Pix p)
{
    switch (p) {
    case Pix::YUY2: return AV_PIX_FMT_YUYV422;
    case Pix::I420: return AV_PIX_FMT_YUV420P;
    case Pix::RGB24: return AV_PIX_FMT_BGR24;
    case Pix::RGB32: return AV_PIX_FMT_BGRA;
    }
    return AV_PIX_FMT_NONE;
}

void Planes(Pix p, unsigned char* base, uint8_t* planes[4], int strides[4])
{
    planes[0] = base;
    strides[0] = StepOf(p);
    planes[1] = planes[2] = planes[3] = nullptr;
    strides[1] = strides[2] = strides[3] = 0;
    if (p == Pix::I420) {
        planes[1] = base + kW * kH;
        planes[2] = planes[1] + (kW / 2) * (kH / 2);
        strides[1] = strides[2] = kW / 2;
    }
}

void BM_Swscale(benchmark::State& state, const Pair& p)
{
    SwsContext* ctx =
        sws_getContext(kW, kH, AvOf(p.from), kW, kH, AvOf(p.to), SWS_POINT, nullptr, nullptr, nullptr);
    if (ctx == nullptr) {
        state.SkipWithError("sws_getContext failed");
        return;
    }
    auto src = Frame(p.from);
    std::vector<unsigned char> dst(BytesOf(p.to));
    uint8_t *sp[4], *dp[4];
    int ss[4], ds[4];
    Planes(p.from, src.data(), sp, ss);
    Planes(p.to, dst.data(), dp, ds);
    for (auto _ : state) {
        sws_scale(ctx, sp, ss, 0, kH, dp, ds);
        benchmark::ClobberMemory();
    }
    sws_freeContext(ctx);
    SetCounters(state, p.from, p.to);
}
#endif

const bool kRegistered = [] {
    for (const Pair& p : kPairs) {
        const std::string base = std::string("Color/1920x1080/") + p.name + "/";
        benchmark::RegisterBenchmark((base + "ours").c_str(), BM_Ours, p)->Unit(benchmark::kMicrosecond);
#if TUL_HAVE_LIBYUV
        benchmark::RegisterBenchmark((base + "libyuv").c_str(), BM_Libyuv, p)->Unit(benchmark::kMicrosecond);
#endif
#if TUL_HAVE_SWSCALE
        benchmark::RegisterBenchmark((base + "swscale").c_str(), BM_Swscale, p)->Unit(benchmark::kMicrosecond);
#endif
        benchmark::RegisterBenchmark((base + "memcpy").c_str(), BM_Memcpy, p)->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
