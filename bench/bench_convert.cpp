// Whole conversions, one prepared Convert per frame, for the jobs users
// run: an interlaced HD YUY2 frame deinterlaced into 720p RGB24, an SD
// YUY2 frame into 1080p I420 keeping its aspect, an HD RGB32 frame into SD
// YUY2; beside each, the same job in one swscale context (colour and scale
// together) in the same run, and a memcpy of the destination's bytes.
#include "image/TulImage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#if TUL_HAVE_SWSCALE
extern "C" {
#include <libswscale/swscale.h>
}
#endif

namespace {

using T = TulImage;
using F = T::COLOR_FORMAT_TYPE;

std::vector<unsigned char> Frame(std::size_t bytes)
{
    std::vector<unsigned char> v(bytes);
    std::mt19937 rng(7);
    for (auto& b : v)
        b = static_cast<unsigned char>(rng() >> 24);
    return v;
}

struct Job {
    PICTURE_INFO src;
    PICTURE_INFO dst;
    CONVERT_MODE mode;
    int pictureWidth;  // the fitted picture inside the destination (swscale's target)
};

PICTURE_INFO Pic(F f, ULONG w, ULONG h, T::SCAN_TYPE scan, ULONG ax, ULONG ay)
{
    return {0, w, h, T::GetGenericStep(f, w, h), ax, ay, scan, f};
}

const Job kDeinterlace{Pic(F::COLOR_FORMAT_YUY2, 1920, 1080, T::SCAN_TOP_FIELD_FIRST, 16, 9),
                       Pic(F::COLOR_FORMAT_RGB24, 1280, 720, T::SCAN_PROGRESSIVE, 16, 9),
                       {false, true, T::INTERPOLATION_LINEAR, T::DEINTERLACE_INTERPOLATE}, 1280};
const Job kKeepAspect{Pic(F::COLOR_FORMAT_YUY2, 720, 480, T::SCAN_PROGRESSIVE, 4, 3),
                      Pic(F::COLOR_FORMAT_YUV420, 1920, 1080, T::SCAN_PROGRESSIVE, 16, 9),
                      {true, false, T::INTERPOLATION_LINEAR, T::DEINTERLACE_LINE_DOUBLE}, 1440};
const Job kDown{Pic(F::COLOR_FORMAT_RGB32, 1920, 1080, T::SCAN_PROGRESSIVE, 16, 9),
                Pic(F::COLOR_FORMAT_YUY2, 720, 480, T::SCAN_PROGRESSIVE, 16, 9),
                {false, false, T::INTERPOLATION_LINEAR, T::DEINTERLACE_LINE_DOUBLE}, 720};

void SetCounters(benchmark::State& state, const Job& j, std::size_t dstBytes)
{
    state.SetItemsProcessed(state.iterations() * j.dst.width * j.dst.height);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(dstBytes));
}

void BM_TulConvert(benchmark::State& state, Job j)
{
    T image;
    if (image.InitializeConvert(&j.src, &j.dst, &j.mode) != T::TUL_SUCCESS) {
        state.SkipWithError("InitializeConvert failed");
        return;
    }
    auto src = Frame(T::GetPictureSize(j.src.colorFormat, j.src.width, j.src.height, j.src.step));
    std::vector<unsigned char> dst(j.dst.size);
    for (auto _ : state) {
        if (image.Convert(src.data(), dst.data()) != T::TUL_SUCCESS) {
            state.SkipWithError("Convert failed");
            return;
        }
        benchmark::ClobberMemory();
    }
    SetCounters(state, j, dst.size());
}

void BM_Memcpy(benchmark::State& state, Job j)
{
    const std::size_t bytes = T::GetPictureSize(j.dst.colorFormat, j.dst.width, j.dst.height, 0);
    auto src = Frame(bytes);
    std::vector<unsigned char> dst(bytes);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), bytes);
        benchmark::ClobberMemory();
    }
    SetCounters(state, j, bytes);
}

#if TUL_HAVE_SWSCALE
AVPixelFormat SwsFormat(F f)
{
    switch (f) {
    case F::COLOR_FORMAT_YUY2:
        return AV_PIX_FMT_YUYV422;
    case F::COLOR_FORMAT_RGB24:
        return AV_PIX_FMT_BGR24;
    case F::COLOR_FORMAT_RGB32:
        return AV_PIX_FMT_BGRA;
    default:
        return AV_PIX_FMT_YUV420P;
    }
}

// One context does colour and scale (bilinear). Bottom-up RGB is given as
// its last row with a negative stride; an interlaced source is read as its
// kept field (every other row); a fitted picture goes into its place in the
// frame, the bars not being part of the comparison.
void BM_Swscale(benchmark::State& state, Job j)
{
    const bool field = j.src.scanType != T::SCAN_PROGRESSIVE;
    const int sh = static_cast<int>(field ? j.src.height / 2 : j.src.height);
    const int dw = j.pictureWidth, dh = static_cast<int>(j.dst.height);
    SwsContext* ctx = sws_getContext(static_cast<int>(j.src.width), sh, SwsFormat(j.src.colorFormat), dw, dh,
                                     SwsFormat(j.dst.colorFormat), SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (ctx == nullptr) {
        state.SkipWithError("sws_getContext failed");
        return;
    }
    auto src = Frame(T::GetPictureSize(j.src.colorFormat, j.src.width, j.src.height, j.src.step));
    const std::size_t dstBytes = T::GetPictureSize(j.dst.colorFormat, j.dst.width, j.dst.height, j.dst.step);
    std::vector<unsigned char> dst(dstBytes);
    const int sp = std::abs(j.src.step), dp = std::abs(j.dst.step);
    const uint8_t* srcPlanes[1] = {src.data() + (j.src.step < 0 ? std::size_t(j.src.height - 1) * sp : 0) +
                                   (field ? sp : 0)};
    const int srcStrides[1] = {(j.src.step < 0 ? -sp : sp) * (field ? 2 : 1)};
    uint8_t* dstPlanes[3];
    int dstStrides[3];
    const std::size_t left = (j.dst.width - dw) / 2;
    if (j.dst.colorFormat == F::COLOR_FORMAT_YUV420) {
        const std::size_t luma = std::size_t(dp) * j.dst.height;
        dstPlanes[0] = dst.data() + left;
        dstPlanes[1] = dst.data() + luma + left / 2;
        dstPlanes[2] = dst.data() + luma + luma / 4 + left / 2;
        dstStrides[0] = dp, dstStrides[1] = dstStrides[2] = dp / 2;
    } else {
        const std::size_t bpp = T::GetBitPixel(j.dst.colorFormat) / 8;
        dstPlanes[0] = dst.data() + (j.dst.step < 0 ? std::size_t(j.dst.height - 1) * dp : 0) + left * bpp;
        dstStrides[0] = j.dst.step < 0 ? -dp : dp;
    }
    for (auto _ : state) {
        sws_scale(ctx, srcPlanes, srcStrides, 0, sh, dstPlanes, dstStrides);
        benchmark::ClobberMemory();
    }
    sws_freeContext(ctx);
    SetCounters(state, j, dstBytes);
}
#endif

void Register()
{
    const struct {
        const char* name;
        const Job* job;
    } jobs[] = {{"YUY2_1920x1080i_to_RGB24_1280x720p", &kDeinterlace},
                {"YUY2_720x480_to_I420_1920x1080_keepaspect", &kKeepAspect},
                {"RGB32_1920x1080_to_YUY2_720x480", &kDown}};
    for (const auto& j : jobs) {
        const std::string name = j.name;
        benchmark::RegisterBenchmark((name + "/tul_prepared").c_str(), BM_TulConvert, *j.job);
#if TUL_HAVE_SWSCALE
        benchmark::RegisterBenchmark((name + "/swscale_bilinear").c_str(), BM_Swscale, *j.job);
#endif
        benchmark::RegisterBenchmark((name + "/memcpy_dst").c_str(), BM_Memcpy, *j.job);
    }
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
