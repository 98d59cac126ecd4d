// The RGB to Y'CbCr kernels against the primitive chains they fuse (swap,
// copy, add, mirror, convert, downsample, join), and the guarded odd-size
// sweep: every picture byte defined, each field's chroma from its own
// rows, incomplete blocks repeating their field's nearest complete
// chroma, every YV12 kernel its I420 twin with the planes exchanged.
#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

#include <cstring>
#include <memory>

namespace tultest {
namespace {

using tul::color::FindKernel;
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

unsigned char* ChromaPlane(ColorPicture& pic, int plane)
{
    return pic.data() + tul::PlanesOf420(std::abs(pic.step), pic.height).offset[plane];
}

#define TUL_OK(call) ASSERT_EQ((call), ippStsNoErr)

// The kernel's primitive chain, whole pictures in memory order with
// absolute steps, the flip applied to the source-side picture; 4:2:0
// chroma rows of a field at twice the chroma pitch.
void Chain(const KernelEntry& k, ColorPicture& s, ColorPicture& d, bool progressive)
{
    const int w = s.width, h = s.height, sp = std::abs(s.step), dp = std::abs(d.step), cp = dp / 2;
    const int n = progressive ? 1 : 2;  // fields, and the step multiple
    const IppiSize roi{w, h};
    const bool flip = (s.step < 0) != (d.step < 0), four = k.source == kRGB32 || k.source == kSS32;
    const bool jfif = k.source == kSS24 || k.source == kSS32;
    Ipp8u *const y = d.data(), *const u = ChromaPlane(d, d.format == kYV12 ? 2 : 1),
                 *const v = ChromaPlane(d, d.format == kYV12 ? 1 : 2);
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

// Random pictures where the chain is sound: even widths, even heights (a
// multiple of 4 interlaced), tight and padded steps, all four
// orientations, both flag values.
TEST_P(RgbToYuv, EqualsThePrimitiveChain)
{
    const KernelEntry& k = *GetParam();
    for (int w : {2, 6, 38})
        for (int h : {2, 4, 6, 8})
            for (int signs = 0; signs < 4; ++signs)
                for (bool progressive : {true, false}) {
                    if (h % (progressive || k.destination == kYUY2 ? 2 : 4) != 0)
                        continue;
                    const int ss = std::abs(StepOf(k.source, w, 3 * (signs == 1))) * (signs & 1 ? -1 : 1);
                    const int ds = std::abs(StepOf(k.destination, w, 3 * (signs == 2))) * (signs & 2 ? -1 : 1);
                    ColorPicture src(k.source, w, h, ss), dst(k.destination, w, h, ds, 0x33),
                        model(k.destination, w, h, ds, 0x33);
                    FillRandom(src.buffer, static_cast<std::uint32_t>(w * 131 + h * 7 + signs));
                    ASSERT_EQ(RunKernel(k, src, dst, progressive), TulImage::TUL_SUCCESS);
                    Chain(k, src, model, progressive);
                    ASSERT_TRUE(SameBytes(model.Bytes(), dst.Bytes()))
                        << w << "x" << h << " steps " << ss << ", " << ds << " progressive " << progressive;
                }
}

// The picture's bytes of memory row m (YUY2: whole groups), then for
// 4:2:0 the width / 2 samples of each chroma row.
std::vector<unsigned char> PixelBytes(ColorPicture& p, int plane, int m)
{
    const int row = plane == 0 ? static_cast<int>(tul::PixelRow(tul::FormatOf(p.format), p.width)) : p.width / 2;
    const unsigned char* at = plane == 0 ? p.data() + m * std::abs(p.step)
                                         : ChromaPlane(p, plane) + m * (std::abs(p.step) / 2);
    return {at, at + row};
}

// Odd and small sizes, tight, padded and odd steps in every orientation.
// Destinations filled with 0x00 and 0xFF come out the same, guards intact
// (reads past the source show under AddressSanitizer). Interlaced,
// changing the source rows of the odd field changes no row of the even
// one; a field's incomplete last block repeats its previous chroma row;
// an odd YUY2 width's lone pixel repeats the chroma of the pair before.
TEST_P(RgbToYuv, OddSizesDefineEveryByteAndKeepFieldsApart)
{
    const KernelEntry& k = *GetParam();
    const bool planar = k.destination != kYUY2;
    const KernelEntry* twin = k.destination == kYV12 ? FindKernel(k.source, kI420) : nullptr;
    for (int w : {2, 3, 5, 7, 64, 65, 129})
        for (int h : {2, 3, 5, 6, 7, 8, 10})
            for (int signs = 0; signs < 4; ++signs)
                for (bool progressive : {true, false}) {
                    const int pad = signs == 0 ? 0 : 2 * signs - 1;
                    const int ss = std::abs(StepOf(k.source, w, pad)) * (signs & 1 ? -1 : 1);
                    const int ds = std::abs(StepOf(k.destination, w, 3 - signs)) * (signs & 2 ? -1 : 1);
                    ColorPicture src(k.source, w, h, ss), zeros(k.destination, w, h, ds, 0x00),
                        ones(k.destination, w, h, ds, 0xFF), other(k.destination, w, h, ds);
                    FillRandom(src.buffer, static_cast<std::uint32_t>(w + h));
                    ASSERT_EQ(RunKernel(k, src, zeros, progressive), TulImage::TUL_SUCCESS);
                    ASSERT_EQ(RunKernel(k, src, ones, progressive), TulImage::TUL_SUCCESS);
                    const std::string where = std::to_string(w) + "x" + std::to_string(h) + " steps " +
                                              std::to_string(ss) + ", " + std::to_string(ds) +
                                              (progressive ? " progressive" : " interlaced");
                    if (twin != nullptr) {
                        ColorPicture i420(kI420, w, h, ds);
                        ASSERT_EQ(RunKernel(*twin, src, i420, progressive), TulImage::TUL_SUCCESS);
                        for (int plane = 0; plane < 3; ++plane)
                            for (int m = 0; m < (plane == 0 ? h : h / 2); ++m)
                                ASSERT_EQ(PixelBytes(zeros, plane, m), PixelBytes(i420, plane ? 3 - plane : 0, m))
                                    << where << " twin plane " << plane << " row " << m;
                    }
                    // The source rows landing on odd destination rows, inverted.
                    for (int m = 1; m < h; m += 2) {
                        const int sm = (ss < 0) != (ds < 0) ? h - 1 - m : m;
                        for (int i = 0; i < std::abs(ss); ++i)
                            src.data()[sm * std::abs(ss) + i] ^= 0xFF;
                    }
                    ASSERT_EQ(RunKernel(k, src, other, progressive), TulImage::TUL_SUCCESS);
                    for (int plane = 0; plane < (planar ? 3 : 1); ++plane)
                        for (int m = 0; m < (plane == 0 ? h : h / 2); ++m) {
                            const auto row = PixelBytes(zeros, plane, m);
                            ASSERT_EQ(row, PixelBytes(ones, plane, m)) << where << " plane " << plane << " row " << m;
                            if (m % 2 == 0 && (!planar || !progressive)) {
                                ASSERT_EQ(row, PixelBytes(other, plane, m)) << where << " field " << plane << "/" << m;
                            }
                            if (plane > 0 && !progressive && m >= 2 && 4 * (m / 2) + m % 2 + 2 >= h) {
                                ASSERT_EQ(row, PixelBytes(zeros, plane, m - 2)) << where << " incomplete " << m;
                            }
                        }
                    if (!planar && w % 2 != 0 && w > 1)
                        for (int m = 0; m < h; ++m) {
                            const unsigned char* g = zeros.data() + m * std::abs(ds) + 2 * w - 2;
                            ASSERT_TRUE(g[0] == g[2] && g[1] == g[-3] && g[3] == g[-1]) << where << " row " << m;
                        }
                    ASSERT_TRUE(zeros.buffer.GuardsIntact() && ones.buffer.GuardsIntact() &&
                                src.buffer.GuardsIntact() && other.buffer.GuardsIntact());
                }
}

std::vector<const KernelEntry*> RgbToYuvKernels()
{
    std::vector<const KernelEntry*> mine;
    for (const KernelEntry* k : AllKernels())
        if (k->source != kYUY2 && k->source != kI420 && tul::FormatOf(k->source).family == tul::FormatFamily::PackedRgb &&
            (k->destination == kYUY2 || k->destination == kI420 || k->destination == kYV12))
            mine.push_back(k);
    return mine;
}

INSTANTIATE_TEST_SUITE_P(Kernels, RgbToYuv, ::testing::ValuesIn(RgbToYuvKernels()), KernelName);

}  // namespace
}  // namespace tultest
