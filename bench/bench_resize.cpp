// Resizing: the filter's per-frame path, every interpolation at HD sizes,
// our own resampler at broadcast sizes, RGB24; with swscale's and libyuv's
// resizes of the same frames in the same run when they are installed.
#include "image/TulImage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <utility>
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

std::vector<unsigned char> Frame(std::size_t bytes)
{
    std::vector<unsigned char> v(bytes);
    std::mt19937 rng(7);
    for (auto& b : v)
        b = static_cast<unsigned char>(rng() >> 24);
    return v;
}

struct Case {
    int sw, sh, dw, dh;
    int pw, ph;  // picture inside the destination frame (the fitted size)
};

const Case kStretch{720, 480, 320, 240, 320, 240};
// A 4:3 picture fitted into a 320x240 frame shown at 16:9: 240x240.
const Case kFit{720, 480, 320, 240, 240, 240};
const Case kHdDown{1920, 1080, 1280, 720, 1280, 720};
const Case kUp{720, 480, 1920, 1080, 1920, 1080};
const Case kBroadcast704{720, 480, 704, 480, 704, 480};
const Case kBroadcast352{720, 480, 352, 240, 352, 240};

void SetCounters(benchmark::State& state, const Case& c, int bytesPerPixel)
{
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(c.sw) * c.sh * bytesPerPixel);
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

// Frame after frame through a prepared object; `resize` is the instance
// operation for the format (ResizeYUY2, ResizeRGB24).
template <typename Resize>
void RunPrepared(benchmark::State& state, T& image, ULONG prepared, const Case& c, int bytesPerPixel,
                 Resize resize)
{
    if (prepared != 0) {
        state.SkipWithError("prepare failed");
        return;
    }
    auto src = Frame(static_cast<std::size_t>(c.sw) * c.sh * bytesPerPixel);
    std::vector<unsigned char> dst(static_cast<std::size_t>(c.dw) * c.dh * bytesPerPixel);
    for (auto _ : state) {
        ULONG size = static_cast<ULONG>(dst.size());
        if ((image.*resize)(src.data(), dst.data(), &size) != 0) {
            state.SkipWithError("resize failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    SetCounters(state, c, bytesPerPixel);
}

using InstanceResize = ULONG (T::*)(unsigned char* const, unsigned char*, ULONG*);
const InstanceResize kResizeYUY2 = &T::ResizeYUY2;
const InstanceResize kResizeRGB24 = &T::ResizeRGB24;

// The filter's path: prepared once with rectangles, then frame after frame.
void BM_TulFilterPathYUY2(benchmark::State& state, Case c, T::INTERPOLATION_MODE mode)
{
    T image;
    const ULONG prepared = image.InitializeEx(c.sw, c.sh, tagRECT{0, 0, c.sw, c.sh}, c.dw, c.dh,
                                              tagRECT{0, 0, c.pw, c.ph}, mode);
    RunPrepared(state, image, prepared, c, 2, kResizeYUY2);
}

// Prepared with sizes only (the broadcast table applies).
void BM_TulResizeYUY2(benchmark::State& state, Case c, T::INTERPOLATION_MODE mode)
{
    T image;
    RunPrepared(state, image, image.Initialize(c.sw, c.sh, c.dw, c.dh, mode), c, 2, kResizeYUY2);
}

void BM_TulResizeRGB24(benchmark::State& state, Case c, T::INTERPOLATION_MODE mode)
{
    T image;
    RunPrepared(state, image, image.Initialize(c.sw, c.sh, c.dw, c.dh, mode), c, 3, kResizeRGB24);
}

// The memory limit: one copy of the source frame.
void BM_MemcpyFrameYUY2(benchmark::State& state, Case c)
{
    auto src = Frame(static_cast<std::size_t>(c.sw) * c.sh * 2);
    std::vector<unsigned char> dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::ClobberMemory();
    }
    SetCounters(state, c, 2);
}

#if TUL_HAVE_SWSCALE
// swscale, YUYV in and out, with the kernel of `flags` (bilinear unless
// given); a fitted picture is scaled to its own size into the frame (the
// black bars are not part of the comparison).
void BM_SwscaleYUY2(benchmark::State& state, Case c, int flags)
{
    SwsContext* ctx = sws_getContext(c.sw, c.sh, AV_PIX_FMT_YUYV422, c.pw, c.ph, AV_PIX_FMT_YUYV422,
                                     flags, nullptr, nullptr, nullptr);
    if (ctx == nullptr) {
        state.SkipWithError("sws_getContext failed");
        return;
    }
    auto src = Frame(static_cast<std::size_t>(c.sw) * c.sh * 2);
    std::vector<unsigned char> dst(static_cast<std::size_t>(c.dw) * c.dh * 2);
    const uint8_t* srcPlanes[1] = {src.data()};
    const int srcStrides[1] = {c.sw * 2};
    uint8_t* dstPlanes[1] = {dst.data() + ((c.dw - c.pw) / 2) * 2};
    const int dstStrides[1] = {c.dw * 2};
    for (auto _ : state) {
        sws_scale(ctx, srcPlanes, srcStrides, 0, c.sh, dstPlanes, dstStrides);
        benchmark::ClobberMemory();
    }
    sws_freeContext(ctx);
    SetCounters(state, c, 2);
}

void BM_SwscaleBilinearYUY2(benchmark::State& state, Case c) { BM_SwscaleYUY2(state, c, SWS_BILINEAR); }
#endif

#if TUL_HAVE_LIBYUV
// libyuv has no packed 4:2:2 scaler: unpack to I422, scale, pack again.
void BM_LibyuvBilinearYUY2(benchmark::State& state, Case c)
{
    auto src = Frame(static_cast<std::size_t>(c.sw) * c.sh * 2);
    std::vector<unsigned char> y(static_cast<std::size_t>(c.sw) * c.sh), u(y.size() / 2), v(y.size() / 2);
    std::vector<unsigned char> dy(static_cast<std::size_t>(c.pw) * c.ph), du(dy.size() / 2), dv(dy.size() / 2);
    std::vector<unsigned char> dst(static_cast<std::size_t>(c.dw) * c.dh * 2);
    uint8_t* out = dst.data() + ((c.dw - c.pw) / 2) * 2;
    for (auto _ : state) {
        libyuv::YUY2ToI422(src.data(), c.sw * 2, y.data(), c.sw, u.data(), c.sw / 2, v.data(), c.sw / 2,
                           c.sw, c.sh);
        libyuv::I422Scale(y.data(), c.sw, u.data(), c.sw / 2, v.data(), c.sw / 2, c.sw, c.sh, dy.data(),
                          c.pw, du.data(), c.pw / 2, dv.data(), c.pw / 2, c.pw, c.ph,
                          libyuv::kFilterBilinear);
        libyuv::I422ToYUY2(dy.data(), c.pw, du.data(), c.pw / 2, dv.data(), c.pw / 2, out, c.dw * 2,
                           c.pw, c.ph);
        benchmark::ClobberMemory();
    }
    SetCounters(state, c, 2);
}

void BM_LibyuvBilinearRGB24(benchmark::State& state, Case c)
{
    auto src = Frame(static_cast<std::size_t>(c.sw) * c.sh * 3);
    std::vector<unsigned char> argb(static_cast<std::size_t>(c.sw) * c.sh * 4);
    std::vector<unsigned char> scaled(static_cast<std::size_t>(c.dw) * c.dh * 4);
    std::vector<unsigned char> dst(static_cast<std::size_t>(c.dw) * c.dh * 3);
    for (auto _ : state) {
        libyuv::RGB24ToARGB(src.data(), c.sw * 3, argb.data(), c.sw * 4, c.sw, c.sh);
        libyuv::ARGBScale(argb.data(), c.sw * 4, c.sw, c.sh, scaled.data(), c.dw * 4, c.dw, c.dh,
                          libyuv::kFilterBilinear);
        libyuv::ARGBToRGB24(scaled.data(), c.dw * 4, dst.data(), c.dw * 3, c.dw, c.dh);
        benchmark::ClobberMemory();
    }
    SetCounters(state, c, 3);
}
#endif

void Register()
{
    using benchmark::RegisterBenchmark;
    struct Named {
        const char* name;
        T::INTERPOLATION_MODE mode;
    };
    const Named modes[] = {{"nearest", T::INTERPOLATION_NEAREST},
                           {"linear", T::INTERPOLATION_LINEAR},
                           {"cubic", T::INTERPOLATION_CUBIC},
                           {"auto", T::INTERPOLATION_AUTO},
                           {"vexo", T::INTERPOLATION_VEXO}};

    // The filter's per-frame path and its peers.
    RegisterBenchmark("FilterPath/720x480_to_320x240/stretch/tul_linear", BM_TulFilterPathYUY2, kStretch,
                      T::INTERPOLATION_LINEAR);
    RegisterBenchmark("FilterPath/720x480_to_320x240/fit4:3in16:9/tul_linear", BM_TulFilterPathYUY2, kFit,
                      T::INTERPOLATION_LINEAR);
#if TUL_HAVE_SWSCALE
    RegisterBenchmark("FilterPath/720x480_to_320x240/stretch/swscale_bilinear", BM_SwscaleBilinearYUY2, kStretch);
    RegisterBenchmark("FilterPath/720x480_to_320x240/fit4:3in16:9/swscale_bilinear", BM_SwscaleBilinearYUY2, kFit);
#endif
#if TUL_HAVE_LIBYUV
    RegisterBenchmark("FilterPath/720x480_to_320x240/stretch/libyuv_bilinear", BM_LibyuvBilinearYUY2, kStretch);
    RegisterBenchmark("FilterPath/720x480_to_320x240/fit4:3in16:9/libyuv_bilinear", BM_LibyuvBilinearYUY2, kFit);
#endif
    RegisterBenchmark("FilterPath/720x480/memcpy", BM_MemcpyFrameYUY2, kStretch);

    for (const Case* c : {&kHdDown, &kUp}) {
        const std::string size = std::to_string(c->sw) + "x" + std::to_string(c->sh) + "_to_" +
                                 std::to_string(c->dw) + "x" + std::to_string(c->dh);
        for (const Named& m : modes)
            RegisterBenchmark(("YUY2/" + size + "/tul_" + m.name).c_str(), BM_TulResizeYUY2, *c, m.mode);
#if TUL_HAVE_SWSCALE
        // One swscale kernel beside each of ours: point, bilinear, bicubic, area.
        const std::pair<const char*, int> peers[] = {
            {"point", SWS_POINT}, {"bilinear", SWS_BILINEAR}, {"bicubic", SWS_BICUBIC}, {"area", SWS_AREA}};
        for (const auto& [name, flags] : peers)
            RegisterBenchmark(("YUY2/" + size + "/swscale_" + name).c_str(), BM_SwscaleYUY2, *c, flags);
#endif
#if TUL_HAVE_LIBYUV
        RegisterBenchmark(("YUY2/" + size + "/libyuv_bilinear").c_str(), BM_LibyuvBilinearYUY2, *c);
#endif
    }

    RegisterBenchmark("YUY2/720x480_to_704x480/tul_vexo", BM_TulResizeYUY2, kBroadcast704, T::INTERPOLATION_VEXO);
    RegisterBenchmark("YUY2/720x480_to_352x240/tul_vexo", BM_TulResizeYUY2, kBroadcast352, T::INTERPOLATION_VEXO);
#if TUL_HAVE_SWSCALE
    RegisterBenchmark("YUY2/720x480_to_704x480/swscale_bilinear", BM_SwscaleBilinearYUY2, kBroadcast704);
    RegisterBenchmark("YUY2/720x480_to_352x240/swscale_bilinear", BM_SwscaleBilinearYUY2, kBroadcast352);
#endif

    RegisterBenchmark("RGB24/1920x1080_to_1280x720/tul_linear", BM_TulResizeRGB24, kHdDown, T::INTERPOLATION_LINEAR);
#if TUL_HAVE_LIBYUV
    RegisterBenchmark("RGB24/1920x1080_to_1280x720/libyuv_bilinear", BM_LibyuvBilinearRGB24, kHdDown);
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
