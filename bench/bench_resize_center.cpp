// The centre-based resampling primitives on their own: the per-frame plane
// path (720x480 -> 320x240 linear, YUY2 split into planes and joined again)
// and HD reduction / SD-to-HD enlargement for every interpolation, at the
// detected instruction-set level and at scalar; swscale's bilinear on the
// same sizes when it is installed.
#include "platform/ipp/ippi.h"
#include "platform/ipp/simd_level.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#if TUL_HAVE_SWSCALE
extern "C" {
#include <libswscale/swscale.h>
}
#endif

namespace {

using tulipp::SimdLevel;

std::vector<Ipp8u> RandomBytes(std::size_t n)
{
    std::vector<Ipp8u> v(n);
    std::mt19937 rng(11);
    for (auto& b : v)
        b = static_cast<Ipp8u>(rng() >> 24);
    return v;
}

struct Sizes {
    int sw, sh, dw, dh;
};

// Sets the level for one benchmark and puts the detected one back after.
struct LevelScope {
    explicit LevelScope(bool scalar)
    {
        tulipp::SetActiveSimdLevel(scalar ? SimdLevel::Scalar : tulipp::DetectedSimdLevel());
    }
    ~LevelScope() { tulipp::SetActiveSimdLevel(tulipp::DetectedSimdLevel()); }
};

using ResizeFn = IppStatus (*)(const Ipp8u*, IppiSize, int, IppiRect, Ipp8u*, int, IppiSize, double, double, double,
                               double, int);

// One plane or interleaved picture, the whole source as region, centred as
// the picture library calls it.
IppStatus ResizeWhole(ResizeFn fn, int channels, const Ipp8u* src, int sw, int sh, Ipp8u* dst, int dw, int dh,
                      double xf, double yf, int interp)
{
    return fn(src, {sw, sh}, sw * channels, {0, 0, sw, sh}, dst, dw * channels, {dw, dh}, xf, yf, (sw + 1) / 2,
              (sh + 1) / 2, interp);
}

void BM_ResizeCenter(benchmark::State& state, Sizes s, int channels, int interp, bool scalar)
{
    LevelScope level(scalar);
    const ResizeFn fn = channels == 1 ? ippiResizeCenter_8u_C1R : ippiResizeCenter_8u_C3R;
    const auto src = RandomBytes(static_cast<std::size_t>(s.sw) * s.sh * channels);
    std::vector<Ipp8u> dst(static_cast<std::size_t>(s.dw) * s.dh * channels);
    const double xf = double(s.dw) / s.sw, yf = double(s.dh) / s.sh;
    for (auto _ : state) {
        if (ResizeWhole(fn, channels, src.data(), s.sw, s.sh, dst.data(), s.dw, s.dh, xf, yf, interp) != ippStsNoErr) {
            state.SkipWithError("resize failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(s.dw) * s.dh);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.sw) * s.sh * channels);
}

// The library's YUY2 path: split into planes, three C1 resizes, join.
void BM_Yuy2Planes(benchmark::State& state, Sizes s, bool scalar)
{
    LevelScope level(scalar);
    const auto src = RandomBytes(static_cast<std::size_t>(s.sw) * s.sh * 2);
    std::vector<Ipp8u> dst(static_cast<std::size_t>(s.dw) * s.dh * 2);
    std::vector<Ipp8u> sy(static_cast<std::size_t>(s.sw) * s.sh), su(sy.size() / 2), sv(sy.size() / 2);
    std::vector<Ipp8u> dy(static_cast<std::size_t>(s.dw) * s.dh), du(dy.size() / 2), dv(dy.size() / 2);
    Ipp8u* srcPlanes[3] = {sy.data(), su.data(), sv.data()};
    int srcSteps[3] = {s.sw, s.sw / 2, s.sw / 2};
    const Ipp8u* dstPlanes[3] = {dy.data(), du.data(), dv.data()};
    int dstSteps[3] = {s.dw, s.dw / 2, s.dw / 2};
    const double xf = double(s.dw) / s.sw, yf = double(s.dh) / s.sh;
    for (auto _ : state) {
        IppStatus st = ippiSplit422_8u_C2P3R(src.data(), s.sw * 2, srcPlanes, srcSteps, {s.sw, s.sh});
        st = st ? st
                : ResizeWhole(ippiResizeCenter_8u_C1R, 1, sy.data(), s.sw, s.sh, dy.data(), s.dw, s.dh, xf, yf,
                              IPPI_INTER_LINEAR);
        st = st ? st
                : ResizeWhole(ippiResizeCenter_8u_C1R, 1, su.data(), s.sw / 2, s.sh, du.data(), s.dw / 2, s.dh, xf,
                              yf, IPPI_INTER_LINEAR);
        st = st ? st
                : ResizeWhole(ippiResizeCenter_8u_C1R, 1, sv.data(), s.sw / 2, s.sh, dv.data(), s.dw / 2, s.dh, xf,
                              yf, IPPI_INTER_LINEAR);
        st = st ? st : ippiJoin422_8u_P3C2R(dstPlanes, dstSteps, dst.data(), s.dw * 2, {s.dw, s.dh});
        if (st != ippStsNoErr) {
            state.SkipWithError("plane path failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(s.dw) * s.dh);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.sw) * s.sh * 2);
}

#if TUL_HAVE_SWSCALE
void BM_Swscale(benchmark::State& state, Sizes s, AVPixelFormat format, int bytesPerPixel)
{
    SwsContext* ctx = sws_getContext(s.sw, s.sh, format, s.dw, s.dh, format, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (ctx == nullptr) {
        state.SkipWithError("sws_getContext failed");
        return;
    }
    const auto src = RandomBytes(static_cast<std::size_t>(s.sw) * s.sh * bytesPerPixel);
    std::vector<Ipp8u> dst(static_cast<std::size_t>(s.dw) * s.dh * bytesPerPixel);
    const uint8_t* srcPlanes[1] = {src.data()};
    const int srcStrides[1] = {s.sw * bytesPerPixel};
    uint8_t* dstPlanes[1] = {dst.data()};
    const int dstStrides[1] = {s.dw * bytesPerPixel};
    for (auto _ : state) {
        sws_scale(ctx, srcPlanes, srcStrides, 0, s.sh, dstPlanes, dstStrides);
        benchmark::ClobberMemory();
    }
    sws_freeContext(ctx);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(s.dw) * s.dh);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.sw) * s.sh * bytesPerPixel);
}
#endif

std::string SizeName(Sizes s)
{
    return std::to_string(s.sw) + "x" + std::to_string(s.sh) + "_to_" + std::to_string(s.dw) + "x" +
           std::to_string(s.dh);
}

const char* InterpName(int interp)
{
    switch (interp) {
    case IPPI_INTER_NN:
        return "nearest";
    case IPPI_INTER_LINEAR:
        return "linear";
    case IPPI_INTER_CUBIC:
        return "cubic";
    default:
        return "super";
    }
}

const int kRegistered = [] {
    const Sizes frame{720, 480, 320, 240};
    for (bool scalar : {false, true}) {
        const char* level = scalar ? "/scalar" : "/simd";
        benchmark::RegisterBenchmark(("ResizeCenter/C1/" + SizeName(frame) + "/linear" + level).c_str(),
                                     BM_ResizeCenter, frame, 1, IPPI_INTER_LINEAR, scalar);
        benchmark::RegisterBenchmark(("Yuy2Planes/" + SizeName(frame) + "/linear" + level).c_str(), BM_Yuy2Planes,
                                     frame, scalar);
    }
#if TUL_HAVE_SWSCALE
    benchmark::RegisterBenchmark(("Swscale/gray8/" + SizeName(frame) + "/bilinear").c_str(), BM_Swscale, frame,
                                 AV_PIX_FMT_GRAY8, 1);
    benchmark::RegisterBenchmark(("Swscale/yuyv422/" + SizeName(frame) + "/bilinear").c_str(), BM_Swscale, frame,
                                 AV_PIX_FMT_YUYV422, 2);
#endif
    for (const Sizes s : {Sizes{1920, 1080, 1280, 720}, Sizes{720, 480, 1920, 1080}}) {
        for (int channels : {1, 3}) {
            for (int interp : {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER}) {
                if (interp == IPPI_INTER_SUPER && s.dw > s.sw)
                    continue;
                for (bool scalar : {false, true}) {
                    const std::string name = "ResizeCenter/C" + std::to_string(channels) + "/" + SizeName(s) + "/" +
                                             InterpName(interp) + (scalar ? "/scalar" : "/simd");
                    benchmark::RegisterBenchmark(name.c_str(), BM_ResizeCenter, s, channels, interp, scalar);
                }
            }
        }
#if TUL_HAVE_SWSCALE
        benchmark::RegisterBenchmark(("Swscale/gray8/" + SizeName(s) + "/bilinear").c_str(), BM_Swscale, s,
                                     AV_PIX_FMT_GRAY8, 1);
        benchmark::RegisterBenchmark(("Swscale/bgr24/" + SizeName(s) + "/bilinear").c_str(), BM_Swscale, s,
                                     AV_PIX_FMT_BGR24, 3);
#endif
    }
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
