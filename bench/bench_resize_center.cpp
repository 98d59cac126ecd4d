// The centre-based resampling primitives on their own, planned once and run
// per frame: the per-frame plane path (720x480 -> 320x240 linear, YUY2
// split into planes and joined again) and HD reduction / SD-to-HD
// enlargement for every interpolation, with the rows of the detected
// instruction-set level and the scalar ones; swscale's bilinear on the same
// sizes when it is installed.
#include "platform/ipp/ippi.h"
#include "platform/ipp/resize_plan.h"
#include "platform/ipp/split_join422.h"
#include "tests/support/simd_levels.h"

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

// One plane or interleaved picture, the whole source as region, centred as
// the picture library calls it, planned once for the level's rows.
bool Prepare(tulipp::ResizeCenterPlan& plan, int channels, int sw, int sh, int dw, int dh, int interp,
             SimdLevel level)
{
    tulipp::ResizeCenterRequest r;
    r.channels = channels;
    r.srcSize = {sw, sh};
    r.srcRoi = {0, 0, sw, sh};
    r.dstRoiSize = {dw, dh};
    r.xFactor = double(dw) / sw;
    r.yFactor = double(dh) / sh;
    r.xCenter = (sw + 1) / 2;
    r.yCenter = (sh + 1) / 2;
    r.interpolation = interp;
    return plan.Prepare(r, level) == ippStsNoErr;
}

void BM_ResizeCenter(benchmark::State& state, Sizes s, int channels, int interp, SimdLevel level)
{
    const auto src = RandomBytes(static_cast<std::size_t>(s.sw) * s.sh * channels);
    std::vector<Ipp8u> dst(static_cast<std::size_t>(s.dw) * s.dh * channels);
    tulipp::ResizeCenterPlan plan;
    if (!Prepare(plan, channels, s.sw, s.sh, s.dw, s.dh, interp, level))
        return state.SkipWithError("prepare failed");
    for (auto _ : state) {
        if (plan.Run(src.data(), s.sw * channels, dst.data(), s.dw * channels) != ippStsNoErr)
            return state.SkipWithError("resize failed");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(s.dw) * s.dh);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(s.sw) * s.sh * channels);
}

// The library's YUY2 path: split into planes, three C1 resizes, join, all
// with the level's rows.
void BM_Yuy2Planes(benchmark::State& state, Sizes s, SimdLevel level)
{
    const auto src = RandomBytes(static_cast<std::size_t>(s.sw) * s.sh * 2);
    std::vector<Ipp8u> dst(static_cast<std::size_t>(s.dw) * s.dh * 2);
    std::vector<Ipp8u> sy(static_cast<std::size_t>(s.sw) * s.sh), su(sy.size() / 2), sv(sy.size() / 2);
    std::vector<Ipp8u> dy(static_cast<std::size_t>(s.dw) * s.dh), du(dy.size() / 2), dv(dy.size() / 2);
    tulipp::ResizeCenterPlan luma, chroma;
    if (!Prepare(luma, 1, s.sw, s.sh, s.dw, s.dh, IPPI_INTER_LINEAR, level) ||
        !Prepare(chroma, 1, s.sw / 2, s.sh, s.dw / 2, s.dh, IPPI_INTER_LINEAR, level))
        return state.SkipWithError("prepare failed");
    const tulipp::Split422RowFn split = tulipp::kSplit422Rows.For(level);
    const tulipp::Join422RowFn join = tulipp::kJoin422Rows.For(level);
    const int sc = s.sw / 2, dc = s.dw / 2;
    for (auto _ : state) {
        for (int y = 0; y < s.sh; ++y)
            split(&src[std::size_t(y) * s.sw * 2], &sy[std::size_t(y) * s.sw], &su[std::size_t(y) * sc],
                  &sv[std::size_t(y) * sc], s.sw);
        IppStatus st = luma.Run(sy.data(), s.sw, dy.data(), s.dw);
        st = st ? st : chroma.Run(su.data(), sc, du.data(), dc);
        st = st ? st : chroma.Run(sv.data(), sc, dv.data(), dc);
        if (st != ippStsNoErr)
            return state.SkipWithError("plane path failed");
        for (int y = 0; y < s.dh; ++y)
            join(&dy[std::size_t(y) * s.dw], &du[std::size_t(y) * dc], &dv[std::size_t(y) * dc],
                 &dst[std::size_t(y) * s.dw * 2], s.dw);
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
    const SimdLevel levels[] = {tulipp::DetectedSimdLevel(), SimdLevel::Scalar};
    for (SimdLevel level : levels) {
        const std::string name = "/" + tultest::SimdLevelName(level);
        benchmark::RegisterBenchmark(("ResizeCenter/C1/" + SizeName(frame) + "/linear" + name).c_str(),
                                     BM_ResizeCenter, frame, 1, IPPI_INTER_LINEAR, level);
        benchmark::RegisterBenchmark(("Yuy2Planes/" + SizeName(frame) + "/linear" + name).c_str(), BM_Yuy2Planes,
                                     frame, level);
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
                for (SimdLevel level : levels) {
                    const std::string name = "ResizeCenter/C" + std::to_string(channels) + "/" + SizeName(s) + "/" +
                                             InterpName(interp) + "/" + tultest::SimdLevelName(level);
                    benchmark::RegisterBenchmark(name.c_str(), BM_ResizeCenter, s, channels, interp, level);
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
