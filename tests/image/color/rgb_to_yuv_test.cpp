// The RGB to Y'CbCr kernels: the shared guarded sweep against the
// primitive chains they fuse (swap, copy, add, mirror, convert,
// downsample, join).
#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

namespace tultest {
namespace {

constexpr Format kYUY2 = TulImage::COLOR_FORMAT_YUY2, kI420 = TulImage::COLOR_FORMAT_YUV420,
                 kYV12 = TulImage::COLOR_FORMAT_YV12, kRGB32 = TulImage::COLOR_FORMAT_RGB32,
                 kSS24 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24,
                 kSS32 = TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;

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
        PlaneSet p(w, h, 4);  // R, G, B, the fourth byte
        Ipp8u* const split[4] = {p[2], p[1], p[0], p[3]};
        Check(four ? ippiCopy_8u_C4P4R(s.data(), sp, split, p.step, roi) : ippiCopy_8u_C3P3R(s.data(), sp, split, p.step, roi));
        for (int c = 0; c < 3 && flip; ++c)
            Check(ippiMirror_8u_C1IR(p[c], p.step, roi, ippAxsHorizontal));
        const Ipp8u* const rgb[3] = {p[0], p[1], p[2]};
        Check(ippiRGBToYCbCr422_8u_P3C2R(rgb, p.step, y, dp, roi));
        return;
    }
    const PlaneSet three(3 * w, h, 1);
    Ipp8u* const t = three[0];
    const Ipp8u raise[3] = {16, 16, 16};
    const int order[3] = {2, 1, 0};
    Check(four   ? ippiCopy_8u_AC4C3R(s.data(), sp, t, three.step, roi)
           : jfif ? ippiAddC_8u_C3RSfs(s.data(), sp, raise, t, three.step, roi, 0)
                  : ippiSwapChannels_8u_C3R(s.data(), sp, t, three.step, roi, order));
    Check(flip ? ippiMirror_8u_C3IR(t, three.step, roi, ippAxsHorizontal) : ippStsNoErr);
    Check(!four  ? ippStsNoErr
           : jfif ? ippiAddC_8u_C3IRSfs(raise, t, three.step, roi, 0)
                  : ippiSwapChannels_8u_C3IR(t, three.step, roi, order));
    for (int f = 0; f < n && !jfif; ++f) {
        Ipp8u* planes[3] = {y + f * dp, u + f * cp, v + f * cp};
        int steps[3] = {n * dp, n * cp, n * cp};
        Check(ippiRGBToYCbCr420_8u_C3P3R(t + f * three.step, n * three.step, planes, steps,
                                          {w, progressive ? h & ~1 : h / 2}));
    }
    if (!jfif)
        return;
    const PlaneSet ycc(w, h, 3), half(w / 2, h, 2);
    Ipp8u* planes[3] = {ycc[0], ycc[1], ycc[2]};
    Check(ippiBGRToYCbCr_JPEG_8u_C3P3R(t, three.step, planes, ycc.step, roi));
    if (k.destination == kYUY2) {
        for (int c = 1; c <= 2; ++c)
            Check(ippiSampleDownH2V1_JPEG_8u_C1R(ycc[c], ycc.step, roi, half[c - 1], half.step, {w / 2, h}));
        const Ipp8u* joined[3] = {ycc[0], half[0], half[1]};
        int steps[3] = {ycc.step, half.step, half.step};
        Check(ippiJoin422_8u_P3C2R(joined, steps, y, dp, roi));
        return;
    }
    Check(ippiCopy_8u_C1R(ycc[0], ycc.step, y, dp, roi));
    for (int f = 0; f < n; ++f)
        for (auto [c, to] : {std::pair{1, u}, std::pair{2, v}})
            Check(ippiSampleDownH2V2_JPEG_8u_C1R(ycc[c] + f * ycc.step, n * ycc.step, {w, h / n}, to + f * cp, n * cp,
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
