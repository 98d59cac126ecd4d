// The one-call resize entry points: size queries, capacity, refusals,
// background, orientation, and the dispatcher.
#include "tests/image/resize/resize_internals.h"
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using T = TulImage;
using Mode = T::INTERPOLATION_MODE;
using Format = T::COLOR_FORMAT_TYPE;

// Bytes of one luma-or-packed row and rows of each plane, per format, for
// building buffers and mirroring them plane by plane.
struct Layout {
    Format format;
    int bytesPerPixel;  // packed formats; 1 for the 4:2:0 luma plane
    bool planar;
};

int DefaultStepOf(const Layout& l, int width)
{
    if (l.planar)
        return width;
    return (l.bytesPerPixel * 8 * width + 31) / 32 * 4;
}

std::size_t BytesOf(const Layout& l, int step, int height)
{
    return l.planar ? static_cast<std::size_t>(step + step / 2) * height
                    : static_cast<std::size_t>(step) * height;
}

// Plane p of a picture at `step` with `rows` rows (4:2:0 has three; the
// chroma planes have half the rows at half the pitch): start and pitch.
std::pair<std::size_t, int> PlaneOf(int p, int step, int rows)
{
    if (p == 0)
        return {0, step};
    return {static_cast<std::size_t>(step) * rows + (p - 1) * static_cast<std::size_t>(rows / 2) * (step / 2),
            step / 2};
}

// Row r of plane p of such a picture.
unsigned char* RowOf(unsigned char* picture, int p, int step, int rows, int r)
{
    const auto [start, pitch] = PlaneOf(p, step, rows);
    return picture + start + static_cast<std::size_t>(r) * pitch;
}

// Reverses the rows of every plane; whatever lies past the planes stays.
std::vector<unsigned char> Flipped(const Layout& l, std::vector<unsigned char> in, int step, int height)
{
    std::vector<unsigned char> out = in;
    for (int p = 0; p < (l.planar ? 3 : 1); ++p) {
        const int rows = p ? height / 2 : height;
        for (int r = 0; r < rows; ++r)
            std::memcpy(RowOf(out.data(), p, step, height, r), RowOf(in.data(), p, step, height, rows - 1 - r),
                        PlaneOf(p, step, height).second);
    }
    return out;
}

const Layout kLayouts[] = {
    {T::COLOR_FORMAT_YUY2, 2, false},
    {T::COLOR_FORMAT_YUV420, 1, true},
    {T::COLOR_FORMAT_RGB24, 3, false},
    {T::COLOR_FORMAT_RGB32, 4, false},
};

struct Geometry {
    int sw, sh, dw, dh;
};

struct OrientationCase {
    Layout layout;
    Mode mode;
    Geometry g;
};

std::string CaseName(const ::testing::TestParamInfo<OrientationCase>& info)
{
    const auto& c = info.param;
    std::ostringstream name;
    name << "f" << c.layout.format << "_m" << c.mode << "_" << c.g.sw << "x" << c.g.sh << "_to_" << c.g.dw
         << "x" << c.g.dh;
    return name.str();
}

class EntryOrientation : public ::testing::TestWithParam<OrientationCase> {
protected:
    // Resizes the same source bytes with the given signs of the steps (0:
    // a step of 0, which means the default step).
    std::vector<unsigned char> Run(int srcSign, int dstSign)
    {
        const auto& c = GetParam();
        const int ss = DefaultStepOf(c.layout, c.g.sw);
        const int ds = DefaultStepOf(c.layout, c.g.dw);
        tultest::GuardedBuffer src(BytesOf(c.layout, ss, c.g.sh));
        tultest::FillRandom(src, 1234);
        tultest::GuardedBuffer dst(BytesOf(c.layout, ds, c.g.dh), 0xEE);
        ULONG size = static_cast<ULONG>(dst.size());
        EXPECT_EQ(T::Resize(src.data(), dst.data(), &size, c.g.sw, c.g.sh, srcSign * ss, c.g.dw,
                            c.g.dh, dstSign * ds, c.layout.format, c.mode),
                  0u)
            << "step signs " << srcSign << ", " << dstSign;
        EXPECT_EQ(size, dst.size());
        EXPECT_TRUE(dst.GuardsIntact());
        return dst.Bytes();
    }
};

TEST_P(EntryOrientation, NegativeStepMirrorsAndZeroStepIsTheDefault)
{
    const auto& c = GetParam();
    const auto topDown = Run(1, 1);
    const auto srcBottomUp = Run(-1, 1);
    const auto dstBottomUp = Run(1, -1);
    const auto both = Run(-1, -1);
    const int ds = DefaultStepOf(c.layout, c.g.dw);
    const auto mirrored = Flipped(c.layout, topDown, ds, c.g.dh);
    EXPECT_TRUE(tultest::SameBytes(mirrored, srcBottomUp));
    EXPECT_TRUE(tultest::SameBytes(mirrored, dstBottomUp));
    EXPECT_TRUE(tultest::SameBytes(topDown, both));
    EXPECT_TRUE(tultest::SameBytes(topDown, Run(0, 0)));
}

std::vector<OrientationCase> OrientationCases()
{
    std::vector<OrientationCase> cases;
    const Geometry geometries[] = {{64, 48, 32, 24}, {36, 20, 70, 42}, {30, 18, 30, 18}};
    // 4:2:0 default steps are the widths: odd widths give odd steps, odd
    // heights leave a luma row without chroma.
    const Geometry planarOdd[] = {{9, 16, 9, 16}, {4, 5, 4, 5}, {7, 9, 5, 11}};
    for (const Layout& l : kLayouts) {
        for (Mode m : {T::INTERPOLATION_NEAREST, T::INTERPOLATION_LINEAR, T::INTERPOLATION_CUBIC,
                       T::INTERPOLATION_AUTO, T::INTERPOLATION_VEXO}) {
            for (const Geometry& g : geometries)
                cases.push_back({l, m, g});
            for (const Geometry& g : planarOdd) {
                if (l.planar)
                    cases.push_back({l, m, g});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllFormatsAndModes, EntryOrientation,
                         ::testing::ValuesIn(OrientationCases()), CaseName);

// Each 4:2:0 plane is resized on its own, at the addresses of a frame of
// its height and pitch: luma |S| x H, then two chroma planes of H / 2 rows
// of |S| / 2 bytes. The model resizes each plane with the primitive.
class EntryPlanes : public ::testing::TestWithParam<Mode> {};

TEST_P(EntryPlanes, OddStepsAndHeightsStayInTheirPlanes)
{
    struct Frame {
        int w, h, step;
    };
    const std::pair<Frame, Frame> pairs[] = {{{9, 16, 9}, {9, 16, 9}}, {{4, 4, 5}, {4, 4, 5}},
                                             {{6, 7, 7}, {11, 9, 13}}};
    for (const auto& [s, d] : pairs) {
        tultest::GuardedBuffer src(BytesOf(kLayouts[1], s.step, s.h));
        tultest::FillRandom(src, 41);
        tultest::GuardedBuffer dst(BytesOf(kLayouts[1], d.step, d.h));
        ULONG size = static_cast<ULONG>(dst.size());
        ASSERT_EQ(T::ResizeYUV420(src.data(), dst.data(), &size, s.w, s.h, s.step, d.w, d.h, d.step,
                                  GetParam()),
                  0u);
        EXPECT_TRUE(src.GuardsIntact());
        EXPECT_TRUE(dst.GuardsIntact());
        const int interp = tul::GetInterpolation(GetParam(), double(d.w) / s.w, double(d.h) / s.h);
        for (int p = 0; p < 3; ++p) {
            const int div = p == 0 ? 1 : 2;
            const IppiSize ss{s.w / div, s.h / div}, ds{d.w / div, d.h / div};
            std::vector<unsigned char> expected(static_cast<std::size_t>(ds.width) * ds.height,
                                                p == 0 ? 0 : 127);
            ASSERT_EQ(ippiResizeCenter_8u_C1R(RowOf(src.data(), p, s.step, s.h, 0), ss, s.step / div,
                                              {0, 0, ss.width, ss.height}, expected.data(),
                                              ds.width, ds, double(d.w) / s.w, double(d.h) / s.h,
                                              (ss.width + 1) / 2, (ss.height + 1) / 2, interp),
                      ippStsNoErr);
            EXPECT_TRUE(tultest::SameRows(expected.data(), ds.width, RowOf(dst.data(), p, d.step, d.h, 0),
                                          d.step / div, ds.width, ds.height))
                << "plane " << p << " of " << d.w << "x" << d.h << " step " << d.step;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(LibraryModes, EntryPlanes,
                         ::testing::Values(T::INTERPOLATION_NEAREST, T::INTERPOLATION_LINEAR,
                                           T::INTERPOLATION_CUBIC, T::INTERPOLATION_AUTO));

// Refusals write nothing: null pointers only report the size the
// destination needs (also bottom-up), one byte too little is too small,
// and sizes no picture can have are invalid.
class EntryArguments : public ::testing::TestWithParam<Layout> {};

TEST_P(EntryArguments, RefusalsWriteNothing)
{
    const Layout& l = GetParam();
    const int ds = DefaultStepOf(l, 10);
    const ULONG need = static_cast<ULONG>(BytesOf(l, ds, 6));
    std::vector<unsigned char> src(4096, 9);
    tultest::GuardedBuffer dst(4096, 0xEE);
    const auto resize = [&](unsigned char* from, unsigned char* to, ULONG* size, int dstStep, Mode mode) {
        return T::Resize(from, to, size, 8, 8, 0, 10, 6, dstStep, l.format, mode);
    };
    for (int step : {ds, -ds}) {
        ULONG size = 7;
        EXPECT_EQ(resize(nullptr, dst.data(), &size, step, T::INTERPOLATION_LINEAR), 3u);
        EXPECT_EQ(size, need);
        size = 7;
        EXPECT_EQ(resize(src.data(), nullptr, &size, step, T::INTERPOLATION_VEXO), 3u);
        EXPECT_EQ(size, need);
    }
    ULONG size = need - 1;
    EXPECT_EQ(resize(src.data(), dst.data(), &size, ds, T::INTERPOLATION_LINEAR), 2u);
    EXPECT_EQ(size, need - 1);
    EXPECT_EQ(resize(src.data(), dst.data(), nullptr, ds, T::INTERPOLATION_LINEAR), 3u);
    struct Bad {
        ULONG sw, sh;
        int ss;
        ULONG dw, dh;
        int ds;
    };
    const Bad bad[] = {
        {0, 8, 64, 8, 8, 64},           // empty source
        {8, 8, 64, 8, 0, 64},           // empty destination
        {8, 8, 64, 16, 8, 8},           // destination step shorter than a row
        {16, 8, 4, 8, 8, 64},           // source step shorter than a row
        {8, 8, 64, 8, 0x20000000u, 64}, // byte count beyond 32 bits
        {8, 8, 64, 0x80000000u, 1, 64}, // width beyond what a step can hold
    };
    for (const Bad& b : bad) {
        size = 4096;
        EXPECT_EQ(T::Resize(src.data(), dst.data(), &size, b.sw, b.sh, b.ss, b.dw, b.dh, b.ds, l.format,
                            T::INTERPOLATION_LINEAR),
                  3u)
            << b.sw << "x" << b.sh << " step " << b.ss << " -> " << b.dw << "x" << b.dh << " step " << b.ds;
    }
    EXPECT_EQ(std::count(dst.data(), dst.data() + dst.size(), 0xEE), 4096);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, EntryArguments, ::testing::ValuesIn(kLayouts));

// VUYA resizes as RGB32, RGB's own-resampler mode acts as AUTO (it has
// none), and unknown formats are refused untouched.
TEST(EntryDispatch, FormatsReachTheirResize)
{
    const auto resize = [](Format format, Mode mode, const Geometry& g, int srcStep, int dstStep) {
        std::vector<unsigned char> src(static_cast<std::size_t>(std::abs(srcStep)) * g.sh);
        tultest::FillRandom(src.data(), src.size(), 5);
        std::vector<unsigned char> dst(static_cast<std::size_t>(std::abs(dstStep)) * g.dh, 3);
        ULONG size = static_cast<ULONG>(dst.size());
        EXPECT_EQ(T::Resize(src.data(), dst.data(), &size, g.sw, g.sh, srcStep, g.dw, g.dh, dstStep, format, mode),
                  format == 8 ? 3u : 0u);
        EXPECT_EQ(size, dst.size());
        return dst;
    };
    const Geometry g{16, 8, 24, 6};
    EXPECT_EQ(resize(T::COLOR_FORMAT_VUYA, T::INTERPOLATION_LINEAR, g, -64, -96),
              resize(T::COLOR_FORMAT_RGB32, T::INTERPOLATION_LINEAR, g, -64, -96));
    EXPECT_EQ(resize(static_cast<Format>(8), T::INTERPOLATION_LINEAR, g, 64, 96), std::vector<unsigned char>(576, 3));
    for (auto r : {Geometry{40, 30, 20, 14}, Geometry{20, 14, 41, 30}}) {
        const int ss = DefaultStepOf(kLayouts[2], r.sw), ds = DefaultStepOf(kLayouts[2], r.dw);
        EXPECT_EQ(resize(T::COLOR_FORMAT_RGB24, T::INTERPOLATION_VEXO, r, ss, ds),
                  resize(T::COLOR_FORMAT_RGB24, T::INTERPOLATION_AUTO, r, ss, ds));
    }
}

// 352 wide doubles into 704 of a 720-wide frame: 8 columns of black each
// side; the padding past each row of the step (either sign) is left alone.
class BroadcastBackground : public ::testing::TestWithParam<Mode> {};

TEST_P(BroadcastBackground, PictureIsCentredOnBlack)
{
    const int sw = 352, sh = 240, dw = 720, dh = 480, pitch = dw * 2 + 6;
    std::vector<unsigned char> src(static_cast<std::size_t>(sw) * 2 * sh);
    for (std::size_t i = 0; i < src.size(); i += 2) {
        src[i] = 180;     // luma
        src[i + 1] = 60;  // chroma
    }
    for (int sign : {1, -1}) {
        tultest::GuardedBuffer dst(static_cast<std::size_t>(pitch) * dh, 0x33);
        ULONG size = static_cast<ULONG>(dst.size());
        ASSERT_EQ(T::ResizeYUY2(src.data(), dst.data(), &size, sw, sh, sw * 2, dw, dh, sign * pitch, GetParam()), 0u);
        for (int r = 0; r < dh; ++r) {
            const unsigned char* row = dst.data() + static_cast<std::size_t>(r) * pitch;
            ASSERT_TRUE(tultest::IsYuy2Black(row, 8) && tultest::IsYuy2Black(row + 712 * 2, 8)) << "row " << r;
            ASSERT_TRUE(std::equal(row + 16, row + 712 * 2, src.begin())) << "row " << r;
            ASSERT_TRUE(std::all_of(row + dw * 2, row + pitch, [](unsigned char b) { return b == 0x33; }))
                << "padding of row " << r;
        }
        EXPECT_TRUE(dst.GuardsIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(LibraryAndOwn, BroadcastBackground,
                         ::testing::Values(T::INTERPOLATION_NEAREST, T::INTERPOLATION_LINEAR,
                                           T::INTERPOLATION_CUBIC, T::INTERPOLATION_VEXO));

// One field of a frame resized on its own equals the field's rows resized
// as a frame of half the height: into a field, only that field's rows are
// written; into a frame, all of it. For 4:2:0 (at odd steps) each plane is
// found from the frame's own height and pitch and the field takes every
// other row of each plane, the odd one starting a row in.
class IppFields : public ::testing::TestWithParam<std::tuple<T::FIELD_TYPE, bool>> {
protected:
    static constexpr int sw = 40, sh = 30, dw = 24, dh = 20;

    static void Resize(bool planar, unsigned char* src, int ss, int srcRows, unsigned char* dst, int ds,
                       int dstRows, double yFactor, Mode mode, T::FIELD_TYPE field, bool fieldToField)
    {
        const IppiSize from{sw, srcRows}, to{dw, dstRows};
        if (planar) {
            ASSERT_TRUE(tul::IppResizeYUV420(src, dst, ss, ds, from, to, {0, 0, sw, srcRows}, double(dw) / sw,
                                             yFactor, mode, field, fieldToField));
            return;
        }
        tul::ScratchPlanes scratch;
        ASSERT_TRUE(scratch.Allocate(from, to));
        ASSERT_TRUE(tul::IppResizeYUY2(src, dst, ss, ds, from, to, {0, 0, sw, srcRows}, double(dw) / sw,
                                       yFactor, mode, scratch.Get(), field, fieldToField));
    }
};

TEST_P(IppFields, FieldResizesLikeItsRowsAsAFrame)
{
    const auto [field, planar] = GetParam();
    const Layout& l = kLayouts[planar ? 1 : 0];
    const int ss = planar ? 41 : 2 * sw, ds = planar ? 27 : 2 * dw, first = field == T::FIELD_ODD ? 1 : 0;
    const int planes = planar ? 3 : 1, rowBytes = planar ? dw : 2 * dw;
    std::vector<unsigned char> src(BytesOf(l, ss, sh)), rows(BytesOf(l, ss, sh / 2));
    tultest::FillRandom(src.data(), src.size(), 23);
    for (int p = 0; p < planes; ++p) {
        for (int r = 0; r < (p ? sh / 4 : sh / 2); ++r)
            std::memcpy(RowOf(rows.data(), p, ss, sh / 2, r), RowOf(src.data(), p, ss, sh, 2 * r + first),
                        PlaneOf(p, ss, sh).second);
    }
    for (bool intoField : {true, false}) {
        const Mode mode = intoField ? T::INTERPOLATION_LINEAR : T::INTERPOLATION_CUBIC;
        const int outRows = intoField ? dh / 2 : dh;
        std::vector<unsigned char> dst(BytesOf(l, ds, dh), 0xEE), expected(BytesOf(l, ds, outRows), 0xEE);
        Resize(planar, src.data(), ss, sh, dst.data(), ds, dh, double(dh) / sh, mode, field, intoField);
        Resize(planar, rows.data(), ss, sh / 2, expected.data(), ds, outRows, double(outRows) / (sh / 2), mode,
               T::FIELD_FRAME, true);
        for (int p = 0; p < planes; ++p) {
            const int k = p ? 2 : 1;
            for (int r = 0; r < dh / k; ++r) {
                const unsigned char* got = RowOf(dst.data(), p, ds, dh, r);
                if (!intoField || r % 2 == first) {
                    const int from = intoField ? r / 2 : r;
                    ASSERT_EQ(std::memcmp(got, RowOf(expected.data(), p, ds, outRows, from), rowBytes / k), 0)
                        << "plane " << p << " row " << r << (intoField ? " into a field" : " into a frame");
                } else {
                    ASSERT_EQ(std::count(got, got + rowBytes / k, 0xEE), rowBytes / k) << "plane " << p << " row " << r;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothFields, IppFields,
                         ::testing::Combine(::testing::Values(T::FIELD_EVEN, T::FIELD_ODD), ::testing::Bool()));

}  // namespace
