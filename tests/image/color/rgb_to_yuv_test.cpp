// The RGB to Y'CbCr kernels: the shared guarded sweep against the
// primitive chains they fuse (swap, copy, add, mirror, convert,
// downsample, join).
#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

#include <memory>

namespace tultest {
namespace {

constexpr Format kYUY2 = TulImage::COLOR_FORMAT_YUY2, kI420 = TulImage::COLOR_FORMAT_YUV420,
                 kYV12 = TulImage::COLOR_FORMAT_YV12, kRGB32 = TulImage::COLOR_FORMAT_RGB32,
                 kSS24 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24,
                 kSS32 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;

struct Plane {
    explicit Plane(int w, int h, bool three = false)
        : p(three ? ippiMalloc_8u_C3(w, h, &step) : ippiMalloc_8u_C1(w, h, &step), ippiFree)
    {
    }
    Ipp8u* operator+(int bytes) const { return p.get() + bytes; }
    int step = 0;
    std::unique_ptr<Ipp8u, decltype(&ippiFree)> p;
};

#define TUL_OK(call) ASSERT_EQ((call), ippStsNoErr)

// The kernel's primitive chain, whole pictures in memory order with
// absolute steps, the flip applied to the source-side picture; 4:2:0
// chroma rows of a field at twice the chroma pitch.
void PrimitiveChain(const KernelEntry& k, ColorPicture& s, ColorPicture& d, bool progressive)
{
    const int w = s.width, h = s.height, sp = std::abs(s.step), dp = std::abs(d.step), cp = dp / 2;
    const int n = progressive ? 1 : 2;  // fields, and the step multiple
    const IppiSize roi{w, h};
    const bool flip = (s.step < 0) != (d.step < 0), four = k.source == kRGB32 || k.source == kSS32;
    const bool jfif = k.source == kSS24 || k.source == kSS32;
    Ipp8u *const y = d.data(), *const u = PlaneRow(d, d.format == kYV12 ? 2 : 1, 0),
                 *const v = PlaneRow(d, d.format == kYV12 ? 1 : 2, 0);
    if (!jfif && k.destination == kYUY2) {
        Plane r(w, h), g(w, h), b(w, h), x(w, h);
        Ipp8u* const split[4] = {b + 0, g + 0, r + 0, x + 0};
        TUL_OK(four ? ippiCopy_8u_C4P4R(s.data(), sp, split, r.step, roi)
                    : ippiCopy_8u_C3P3R(s.data(), sp, split, r.step, roi));
        for (Ipp8u* p : {r + 0, g + 0, b + 0})
            TUL_OK(flip ? ippiMirror_8u_C1IR(p, r.step, roi, ippAxsHorizontal) : ippStsNoErr);
        const Ipp8u* const rgb[3] = {r + 0, g + 0, b + 0};
        TUL_OK(ippiRGBToYCbCr422_8u_P3C2R(rgb, r.step, y, dp, roi));
        return;
    }
    Plane t(w, h, true);
    const Ipp8u raise[3] = {16, 16, 16};
    const int order[3] = {2, 1, 0};
    TUL_OK(four   ? ippiCopy_8u_AC4C3R(s.data(), sp, t + 0, t.step, roi)
           : jfif ? ippiAddC_8u_C3RSfs(s.data(), sp, raise, t + 0, t.step, roi, 0)
                  : ippiSwapChannels_8u_C3R(s.data(), sp, t + 0, t.step, roi, order));
    TUL_OK(flip ? ippiMirror_8u_C3IR(t + 0, t.step, roi, ippAxsHorizontal) : ippStsNoErr);
    TUL_OK(!four  ? ippStsNoErr
           : jfif ? ippiAddC_8u_C3IRSfs(raise, t + 0, t.step, roi, 0)
                  : ippiSwapChannels_8u_C3IR(t + 0, t.step, roi, order));
    for (int f = 0; f < n && !jfif; ++f) {
        Ipp8u* planes[3] = {y + f * dp, u + f * cp, v + f * cp};
        int steps[3] = {n * dp, n * cp, n * cp};
        TUL_OK(ippiRGBToYCbCr420_8u_C3P3R(t + f * t.step, n * t.step, planes, steps,
                                          {w, progressive ? h & ~1 : h / 2}));
    }
    if (!jfif)
        return;
    Plane ly(w, h), cb(w, h), cr(w, h), hb(w / 2, h), hr(w / 2, h);
    Ipp8u* ycc[3] = {ly + 0, cb + 0, cr + 0};
    TUL_OK(ippiBGRToYCbCr_JPEG_8u_C3P3R(t + 0, t.step, ycc, ly.step, roi));
    if (k.destination == kYUY2) {
        TUL_OK(ippiSampleDownH2V1_JPEG_8u_C1R(cb + 0, ly.step, roi, hb + 0, hb.step, {w / 2, h}));
        TUL_OK(ippiSampleDownH2V1_JPEG_8u_C1R(cr + 0, ly.step, roi, hr + 0, hb.step, {w / 2, h}));
        const Ipp8u* planes[3] = {ly + 0, hb + 0, hr + 0};
        int steps[3] = {ly.step, hb.step, hb.step};
        TUL_OK(ippiJoin422_8u_P3C2R(planes, steps, y, dp, roi));
        return;
    }
    TUL_OK(ippiCopy_8u_C1R(ly + 0, ly.step, y, dp, roi));
    for (int f = 0; f < n; ++f)
        for (auto [from, to] : {std::pair{cb + 0, u}, std::pair{cr + 0, v}})
            TUL_OK(ippiSampleDownH2V2_JPEG_8u_C1R(from + f * ly.step, n * ly.step, {w, h / n}, to + f * cp, n * cp,
                                                  {w / 2, h / 2 / n}));
}

class RgbToYuv : public ::testing::TestWithParam<const KernelEntry*> {};

// The chain is sound for even widths, even heights (a multiple of 4 interlaced).
TEST_P(RgbToYuv, SweepAgainstChain)
{
    const KernelEntry& k = *GetParam();
    ExpectSweep(k, [&](ColorPicture& s, ColorPicture& d, bool progressive) { PrimitiveChain(k, s, d, progressive); }, true);
}

std::vector<const KernelEntry*> RgbToYuvKernels()
{
    std::vector<const KernelEntry*> mine;
    for (const KernelEntry* k : AllKernels())
        if (tul::FormatOf(k->source).family == tul::FormatFamily::PackedRgb && (k->destination == kYUY2 || Planar(k->destination)))
            mine.push_back(k);
    return mine;
}

INSTANTIATE_TEST_SUITE_P(Kernels, RgbToYuv, ::testing::ValuesIn(RgbToYuvKernels()), KernelName);

}  // namespace
}  // namespace tultest
