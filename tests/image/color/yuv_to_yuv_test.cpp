// The Y'CbCr rearranging kernels: the shared guarded sweep against the split,
// join, copy and mirror chains they fuse, and exact round trips between
// 4:2:0 and YUY2.
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
void Flip(ColorPicture& s, ColorPicture& d, int rowBytes)
{
    if ((s.step < 0) != (d.step < 0)) {
        ASSERT_EQ(ippiMirror_8u_C1IR(d.data(), std::abs(d.step), {rowBytes, d.height}, ippAxsHorizontal), 0);
    }
}

// Split into the luma plane and width / 2 temporaries, flip the luma, then
// chroma row i from picture row 2i + 1, or 4k + 2 and 4k + 3 for 2k, 2k + 1.
void ChainYUY2To420(ColorPicture& s, ColorPicture& d, bool progressive)
{
    const int w = s.width, h = s.height;
    std::vector<Ipp8u> t[2] = {std::vector<Ipp8u>(w / 2 * h), std::vector<Ipp8u>(w / 2 * h)};
    Ipp8u* planes[3] = {d.data(), t[0].data(), t[1].data()};
    int steps[3] = {std::abs(d.step), w / 2, w / 2};
    ASSERT_EQ(ippiSplit422_8u_C2P3R(s.data(), std::abs(s.step), planes, steps, {w, h}), ippStsNoErr);
    Flip(s, d, w);
    for (int i = 0; i < h / 2; ++i)
        for (int c = 0; c < 2; ++c) {
            const int p = progressive ? 2 * i + 1 : 4 * (i / 2) + 2 + i % 2;
            std::memcpy(PlaneRow(d, d.format == kYV12 ? 2 - c : 1 + c, Mem(i, h / 2, d.step)),
                        &t[c][Mem(p, h, s.step) * (w / 2)], w / 2);
        }
}

// Chroma rows repeated into full-height temporaries (frame: each row
// twice; fields: each pair of rows twice), joined, flipped.
void Chain420ToYUY2(ColorPicture& s, ColorPicture& d, bool progressive)
{
    const int w = s.width, h = s.height, cp = std::abs(s.step) / 2, rows = progressive ? 1 : 2;
    std::vector<Ipp8u> t[2] = {std::vector<Ipp8u>(cp * h), std::vector<Ipp8u>(cp * h)};
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < h / 2; i += rows)
            for (int copy = 0; copy < 2; ++copy)
                std::memcpy(&t[c][(2 * i + copy * rows) * cp], PlaneRow(s, 1 + c, i), rows * cp);
    const Ipp8u* planes[3] = {s.data(), t[0].data(), t[1].data()};
    int steps[3] = {std::abs(s.step), cp, cp};
    ASSERT_EQ(ippiJoin422_8u_P3C2R(planes, steps, d.data(), std::abs(d.step), {w, h}), ippStsNoErr);
    Flip(s, d, 2 * w);
}

// Equal steps: the planes as blocks; else each plane's rows top to top,
// min(|s|, |d|) bytes (chroma half that), V into the first plane.
void ChainToYV12(ColorPicture& s, ColorPicture& d, bool)
{
    const int h = s.height, n = std::min(std::abs(s.step), std::abs(d.step));
    const tul::Planes420 pl = tul::PlanesOf420(std::abs(s.step), h);
    if (s.step == d.step) {
        std::memcpy(d.data(), s.data(), pl.offset[1]);
        std::memcpy(d.data() + pl.offset[1], s.data() + pl.offset[2], pl.end - pl.offset[2]);
        std::memcpy(d.data() + pl.offset[2], s.data() + pl.offset[1], pl.end - pl.offset[2]);
        return;
    }
    for (int r = 0; r < h; ++r)
        std::memcpy(d.data() + Mem(r, h, d.step) * std::abs(d.step), s.data() + Mem(r, h, s.step) * std::abs(s.step), n);
    for (int r = 0; r < h / 2; ++r)
        for (int c = 1; c < 3; ++c)
            std::memcpy(PlaneRow(d, 3 - c, Mem(r, h / 2, d.step)), PlaneRow(s, c, Mem(r, h / 2, s.step)), n / 2);
}

class YuvRearrange : public ::testing::TestWithParam<const KernelEntry*> {};

// The chains hold for even widths and even heights (a multiple of 4
// interlaced); the plane copy for every size.
TEST_P(YuvRearrange, SweepAgainstChain)
{
    const KernelEntry& k = *GetParam();
    const bool copy = k.destination == kYV12 && k.source == kI420;
    ExpectSweep(k, copy ? ChainToYV12 : k.source == kI420 ? Chain420ToYUY2 : ChainYUY2To420, !copy);
}

INSTANTIATE_TEST_SUITE_P(Kernels, YuvRearrange,
                         ::testing::Values(FindKernel(kI420, kYV12), FindKernel(kI420, kYUY2),
                                           FindKernel(kYUY2, kI420), FindKernel(kYUY2, kYV12)),
                         KernelName);

// 4:2:0 -> YUY2 -> 4:2:0 gives every byte back at any size; YUY2 -> 4:2:0
// -> YUY2 gives back the luma, and whole the rows whose chroma was kept
// (odd rows of a frame, the second row of each field pair).
TEST(YuvRoundTrip, IsExact)
{
    const KernelEntry &down = *FindKernel(kYUY2, kI420), &up = *FindKernel(kI420, kYUY2);
    for (int w : {2, 5, 8})
        for (int h : {2, 3, 5, 6, 7, 8, 12})
            for (bool progressive : {true, false}) {
                ColorPicture i420(kI420, w, h, -w - 1), yuy2(kYUY2, w, h, StepOf(kYUY2, w)), back(kI420, w, h, -w - 1),
                    again(kYUY2, w, h, StepOf(kYUY2, w));
                FillRandom(i420.buffer, static_cast<std::uint32_t>(w * h));
                ASSERT_EQ(RunKernel(up, i420, yuy2, progressive), TulImage::TUL_SUCCESS);
                ASSERT_EQ(RunKernel(down, yuy2, back, progressive), TulImage::TUL_SUCCESS);
                ASSERT_EQ(RunKernel(up, back, again, progressive), TulImage::TUL_SUCCESS);
                ASSERT_EQ(PixelBytes(i420), PixelBytes(back)) << w << "x" << h << " progressive " << progressive;
                for (int r = 0; r < h && w % 2 == 0 && h % 4 == 0; ++r)
                    for (int x = 0; x < 2 * w; ++x)
                        if (x % 2 == 0 || (progressive ? r % 2 == 1 : r % 4 >= 2)) {
                            ASSERT_EQ(yuy2.data()[r * 2 * w + x], again.data()[r * 2 * w + x]) << r << ", " << x;
                        }
            }
}

// Rows without a chroma row of their own take the nearest one of their own
// field (of the other field when theirs has none): the U of each YUY2 row
// from a 4:2:0 picture whose chroma row i holds i.
TEST(YuvRoundTrip, NearestChromaOfTheOwnField)
{
    const struct {
        int h;
        bool progressive;
        std::vector<int> u;
    } cases[] = {{5, true, {0, 0, 1, 1, 1}}, {6, false, {0, 1, 0, 1, 2, 1}}, {3, false, {0, 0, 0}},
                 {10, false, {0, 1, 0, 1, 2, 3, 2, 3, 4, 3}}, {7, false, {0, 1, 0, 1, 2, 1, 2}}};
    for (const auto& c : cases) {
        ColorPicture i420(kI420, 2, c.h, 2), yuy2(kYUY2, 2, c.h, 4);
        for (int i = 0; i < c.h / 2; ++i)
            *PlaneRow(i420, 1, i) = static_cast<unsigned char>(i);
        ASSERT_EQ(RunKernel(*FindKernel(kI420, kYUY2), i420, yuy2, c.progressive), TulImage::TUL_SUCCESS);
        for (int r = 0; r < c.h; ++r)
            EXPECT_EQ(yuy2.data()[4 * r + 1], c.u[r]) << "height " << c.h << " row " << r;
    }
}

}  // namespace
}  // namespace tultest
