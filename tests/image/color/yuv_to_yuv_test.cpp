// The Y'CbCr rearranging kernels against the primitive chains they fuse
// (split/join, row copies, mirror), exact round trips between 4:2:0 and
// YUY2, and the guarded odd-size sweep over every rearranging and RGB to
// RGB kernel: no picture byte left to the destination's old contents,
// nothing touched outside the buffers.
#include "platform/ipp/ippi.h"
#include "tests/image/color/color_harness.h"

#include <algorithm>
#include <cstring>

namespace tultest {
namespace {

using tul::color::FindKernel;
constexpr Format kYUY2 = TulImage::COLOR_FORMAT_YUY2, kI420 = TulImage::COLOR_FORMAT_YUV420,
                 kYV12 = TulImage::COLOR_FORMAT_YV12;

int Mem(int p, int rows, int step) { return step < 0 ? rows - 1 - p : p; }
unsigned char* ChromaRow(ColorPicture& pic, int plane, int m)
{
    const tul::Planes420 pl = tul::PlanesOf420(std::abs(pic.step), pic.height);
    return pic.data() + pl.offset[plane] + m * pl.chromaPitch;
}

// The chains, in memory order with absolute steps, then a mirror.
void ChainYUY2To420(ColorPicture& s, ColorPicture& d, bool progressive)
{
    const int w = s.width, h = s.height, sp = std::abs(s.step), dp = std::abs(d.step);
    std::vector<Ipp8u> tu(w / 2 * h), tv(w / 2 * h);
    Ipp8u* planes[3] = {d.data(), tu.data(), tv.data()};
    int steps[3] = {dp, w / 2, w / 2};
    ASSERT_EQ(ippiSplit422_8u_C2P3R(s.data(), sp, planes, steps, {w, h}), ippStsNoErr);
    if ((s.step < 0) != (d.step < 0)) {
        ASSERT_EQ(ippiMirror_8u_C1IR(d.data(), dp, {w, h}, ippAxsHorizontal), ippStsNoErr);
    }
    const bool yv12 = d.format == kYV12;
    for (int i = 0; i < h / 2; ++i) {
        const int p = progressive ? 2 * i + 1 : 4 * (i / 2) + 2 + i % 2, m = Mem(p, h, s.step);
        std::memcpy(ChromaRow(d, yv12 ? 2 : 1, Mem(i, h / 2, d.step)), &tu[m * (w / 2)], w / 2);
        std::memcpy(ChromaRow(d, yv12 ? 1 : 2, Mem(i, h / 2, d.step)), &tv[m * (w / 2)], w / 2);
    }
}

void Chain420ToYUY2(ColorPicture& s, ColorPicture& d, bool progressive)
{
    const int w = s.width, h = s.height, sp = std::abs(s.step), cp = sp / 2;
    std::vector<Ipp8u> t[2] = {std::vector<Ipp8u>(cp * h), std::vector<Ipp8u>(cp * h)};
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < h / 2; i += progressive ? 1 : 2) {
            const int rows = progressive ? 1 : 2;
            for (int copy = 0; copy < 2; ++copy)
                std::memcpy(&t[c][(2 * i + copy * rows) * cp], ChromaRow(s, 1 + c, i), rows * cp);
        }
    const Ipp8u* planes[3] = {s.data(), t[0].data(), t[1].data()};
    int steps[3] = {sp, cp, cp};
    ASSERT_EQ(ippiJoin422_8u_P3C2R(planes, steps, d.data(), std::abs(d.step), {w, h}), ippStsNoErr);
    if ((s.step < 0) != (d.step < 0)) {
        ASSERT_EQ(ippiMirror_8u_C1IR(d.data(), std::abs(d.step), {2 * w, h}, ippAxsHorizontal), ippStsNoErr);
    }
}

// Equal steps: the planes as blocks; else each plane's rows top to top,
// min(|s|, |d|) bytes (chroma half that), V into the first plane.
void ChainToYV12(ColorPicture& s, ColorPicture& d, bool)
{
    const int h = s.height, n = std::min(std::abs(s.step), std::abs(d.step));
    if (s.step == d.step) {
        const tul::Planes420 pl = tul::PlanesOf420(std::abs(s.step), h);
        std::memcpy(d.data(), s.data(), pl.offset[1]);
        std::memcpy(d.data() + pl.offset[1], s.data() + pl.offset[2], pl.offset[2] - pl.offset[1]);
        std::memcpy(d.data() + pl.offset[2], s.data() + pl.offset[1], pl.offset[2] - pl.offset[1]);
        return;
    }
    for (int r = 0; r < h; ++r)
        std::memcpy(d.data() + Mem(r, h, d.step) * std::abs(d.step), s.data() + Mem(r, h, s.step) * std::abs(s.step),
                    n);
    for (int r = 0; r < h / 2; ++r)
        for (int c = 1; c < 3; ++c)
            std::memcpy(ChromaRow(d, 3 - c, Mem(r, h / 2, d.step)), ChromaRow(s, c, Mem(r, h / 2, s.step)), n / 2);
}

struct Chained {
    Format from, to;
    void (*chain)(ColorPicture&, ColorPicture&, bool);
};

class YuvRearrange : public ::testing::TestWithParam<Chained> {};

// Random pictures where the chain is sound: even widths, even heights (a
// multiple of 4 interlaced; the plane copy takes odd heights too), tight
// and odd-padded steps, all four orientations, both flag values.
TEST_P(YuvRearrange, EqualsThePrimitiveChain)
{
    const Chained c = GetParam();
    const KernelEntry& k = *FindKernel(c.from, c.to);
    for (int w : {2, 6, 70})
        for (int h : {2, 3, 4, 6, 8})
            for (int pad : {0, 3})
                for (int signs = 0; signs < 4; ++signs)
                    for (bool progressive : {true, false}) {
                        const bool sound = c.to == kYV12 && c.from == kI420 ? progressive
                                                                            : h % (progressive ? 2 : 4) == 0;
                        if (!sound)
                            continue;
                        const int ss = std::abs(StepOf(c.from, w, pad)) * (signs & 1 ? -1 : 1);
                        const int ds = std::abs(StepOf(c.to, w, pad + (signs == 3))) * (signs & 2 ? -1 : 1);
                        ColorPicture src(c.from, w, h, ss), dst(c.to, w, h, ds, 0x33), model(c.to, w, h, ds, 0x33);
                        FillRandom(src.buffer, static_cast<std::uint32_t>(w * 131 + h * 7 + signs));
                        ASSERT_EQ(RunKernel(k, src, dst, progressive), TulImage::TUL_SUCCESS);
                        c.chain(src, model, progressive);
                        ASSERT_TRUE(SameBytes(model.Bytes(), dst.Bytes()))
                            << k.name << " " << w << "x" << h << " steps " << ss << ", " << ds << " progressive "
                            << progressive;
                    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, YuvRearrange,
                         ::testing::Values(Chained{kI420, kYV12, ChainToYV12}, Chained{kI420, kYUY2, Chain420ToYUY2},
                                           Chained{kYUY2, kI420, ChainYUY2To420},
                                           Chained{kYUY2, kYV12, ChainYUY2To420}),
                         [](const auto& info) {
                             return std::string(FindKernel(info.param.from, info.param.to)->name);
                         });

// 4:2:0 -> YUY2 -> 4:2:0 gives every byte back at any size; YUY2 -> 4:2:0
// -> YUY2 gives back the luma, and whole the rows whose chroma was kept
// (odd rows of a frame, the second row of each field pair).
TEST(YuvRoundTrip, IsExact)
{
    const KernelEntry &down = *FindKernel(kYUY2, kI420), &up = *FindKernel(kI420, kYUY2);
    for (int w : {2, 5, 8})
        for (int h : {2, 3, 5, 6, 7, 8, 12})
            for (bool progressive : {true, false}) {
                ColorPicture i420(kI420, w, h, -w - 1), yuy2(kYUY2, w, h, StepOf(kYUY2, w)), back(kI420, w, h, w);
                FillRandom(i420.buffer, static_cast<std::uint32_t>(w * h));
                ASSERT_EQ(RunKernel(up, i420, yuy2, progressive), TulImage::TUL_SUCCESS);
                ASSERT_EQ(RunKernel(down, yuy2, back, progressive), TulImage::TUL_SUCCESS);
                for (int r = 0; r < h; ++r)
                    ASSERT_EQ(0, std::memcmp(i420.data() + Mem(r, h, -1) * (w + 1), back.data() + r * w, w));
                for (int r = 0; r < h / 2; ++r)
                    for (int c = 1; c < 3; ++c)
                        ASSERT_EQ(0, std::memcmp(ChromaRow(i420, c, Mem(r, h / 2, -1)), ChromaRow(back, c, r), w / 2))
                            << w << "x" << h << " chroma row " << r << " progressive " << progressive;
                if (w % 2 != 0 || h % 4 != 0)
                    continue;
                ColorPicture again(kYUY2, w, h, -2 * w);
                ASSERT_EQ(RunKernel(up, back, again, progressive), TulImage::TUL_SUCCESS);
                for (int r = 0; r < h; ++r)
                    for (int x = 0; x < 2 * w; ++x)
                        if (x % 2 == 0 || (progressive ? r % 2 == 1 : r % 4 >= 2)) {
                            ASSERT_EQ(yuy2.data()[r * 2 * w + x], again.data()[Mem(r, h, -1) * 2 * w + x]);
                        }
            }
}

// The bytes of a picture's pixels: each row's pixel bytes, and for 4:2:0
// the chroma rows' width / 2 samples.
std::vector<unsigned char> PixelBytes(ColorPicture& p)
{
    std::vector<unsigned char> out;
    const auto row = static_cast<int>(tul::PixelRow(tul::FormatOf(p.format), static_cast<std::uint64_t>(p.width)));
    for (int r = 0; r < p.height; ++r)
        out.insert(out.end(), p.data() + r * std::abs(p.step), p.data() + r * std::abs(p.step) + row);
    if (tul::FormatOf(p.format).family == tul::FormatFamily::Planar420)
        for (int c = 1; c < 3; ++c)
            for (int r = 0; r < p.height / 2; ++r)
                out.insert(out.end(), ChromaRow(p, c, r), ChromaRow(p, c, r) + p.width / 2);
    return out;
}

class RearrangeSweep : public ::testing::TestWithParam<const KernelEntry*> {};

// Odd and small sizes, tight, padded and odd steps in every orientation:
// a destination filled with 0x00 and one filled with 0xFF come out the
// same, guards intact (reads past the source show under AddressSanitizer).
TEST_P(RearrangeSweep, DefinesEveryPictureByte)
{
    const KernelEntry& k = *GetParam();
    for (int w : {2, 3, 5, 7, 64, 65, 129})
        for (int h : {2, 3, 5, 6, 7, 8, 10})
            for (int signs = 0; signs < 4; ++signs)
                for (bool progressive : {true, false}) {
                    const int pad = signs == 0 ? 0 : 2 * signs - 1;
                    const int ss = std::abs(StepOf(k.source, w, pad)) * (signs & 1 ? -1 : 1);
                    const int ds = std::abs(StepOf(k.destination, w, 3 - signs)) * (signs & 2 ? -1 : 1);
                    ColorPicture src(k.source, w, h, ss), zeros(k.destination, w, h, ds, 0x00),
                        ones(k.destination, w, h, ds, 0xFF);
                    FillRandom(src.buffer, static_cast<std::uint32_t>(w + h));
                    ASSERT_EQ(RunKernel(k, src, zeros, progressive), TulImage::TUL_SUCCESS);
                    ASSERT_EQ(RunKernel(k, src, ones, progressive), TulImage::TUL_SUCCESS);
                    ASSERT_TRUE(SameBytes(PixelBytes(zeros), PixelBytes(ones)))
                        << w << "x" << h << " steps " << ss << ", " << ds << " progressive " << progressive;
                    ASSERT_TRUE(zeros.buffer.GuardsIntact() && ones.buffer.GuardsIntact() &&
                                src.buffer.GuardsIntact());
                }
}

std::vector<const KernelEntry*> Rearranging()
{
    std::vector<const KernelEntry*> mine;
    for (const KernelEntry* k : AllKernels()) {
        const bool yuvOnly = (k->source == kYUY2 || k->source == kI420) &&
                             (k->destination == kYUY2 || k->destination == kI420 || k->destination == kYV12);
        const auto rgb = [](Format f) {
            return f >= TulImage::COLOR_FORMAT_RGB24 && f <= TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;
        };
        if (yuvOnly || (rgb(k->source) && rgb(k->destination)))
            mine.push_back(k);
    }
    return mine;
}

INSTANTIATE_TEST_SUITE_P(RearrangingKernels, RearrangeSweep, ::testing::ValuesIn(Rearranging()), KernelName);

}  // namespace
}  // namespace tultest
