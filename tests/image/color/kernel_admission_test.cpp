// What every kernel shares before it converts a byte: the size query, the
// capacity check and the refusal of geometry it cannot address, run over
// the whole kernel list through the exported names; and the dispatcher.
#include "tests/image/color/color_harness.h"

#include <climits>

namespace tultest {
namespace {

class KernelAdmission : public ::testing::TestWithParam<const KernelEntry*> {};

TEST_P(KernelAdmission, SizeQueryCapacityAndRefusals)
{
    const KernelEntry& k = *GetParam();
    const int w = 6, h = 4;
    const int ss = StepOf(k.source, w), ds = StepOf(k.destination, w);
    ColorPicture src(k.source, w, h, ss, 0x40), dst(k.destination, w, h, ds, 0x5A);
    const ULONG required = dst.Bytes32();
    const auto call = [&](unsigned char* s, unsigned char* d, ULONG* size, ULONG width, ULONG height, int sstep,
                          int dstep) { return k.call({s, d, size, width, height, sstep, dstep, true}); };

    // A null pointer reports the required size and converts nothing.
    ULONG size = 0;
    EXPECT_EQ(call(nullptr, dst.data(), &size, w, h, ss, ds), TulImage::TUL_INVALID_REQUEST);
    EXPECT_EQ(size, required);
    size = 0;
    EXPECT_EQ(call(src.data(), nullptr, &size, w, h, ss, ds), TulImage::TUL_INVALID_REQUEST);
    EXPECT_EQ(size, required);

    // Refusals leave *size and the destination alone.
    const int pixelRow = std::abs(StepOf(k.destination, w));
    struct Bad {
        ULONG* size;
        ULONG width, height;
        int sstep, dstep;
    };
    ULONG kept = 12345;
    const Bad bad[] = {
        {nullptr, ULONG(w), ULONG(h), ss, ds},
        {&kept, ULONG(w), ULONG(h), 0, ds},
        {&kept, ULONG(w), ULONG(h), ss, 0},
        {&kept, ULONG(w), ULONG(h), INT_MIN, ds},
        {&kept, ULONG(w), ULONG(h), ss, INT_MIN},
        {&kept, ULONG(w), ULONG(h), ss, (pixelRow - 1) * (ds < 0 ? -1 : 1)},  // short destination row
        {&kept, ULONG(w) + 1, ULONG(h), ss, ds},                               // rows one pixel too wide
        {&kept, ULONG(w), 65537, ss, 65536},                                   // beyond 32 bits
        {&kept, ULONG(w), 65537, 65536, ds},
    };
    for (const Bad& b : bad) {
        EXPECT_EQ(call(src.data(), dst.data(), b.size, b.width, b.height, b.sstep, b.dstep),
                  TulImage::TUL_INVALID_REQUEST)
            << "width " << b.width << " height " << b.height << " steps " << b.sstep << ", " << b.dstep;
        EXPECT_EQ(kept, 12345u);
    }

    // A short capacity writes nothing; an empty picture converts nothing.
    size = required - 1;
    EXPECT_EQ(call(src.data(), dst.data(), &size, w, h, ss, ds), TulImage::TUL_BUFFER_TOO_SMALL);
    size = required;
    EXPECT_EQ(call(src.data(), dst.data(), &size, w, 0, ss, ds), TulImage::TUL_SUCCESS);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(dst.Bytes(), std::vector<unsigned char>(required, 0x5A));
    EXPECT_TRUE(dst.buffer.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(EveryKernel, KernelAdmission, ::testing::ValuesIn(AllKernels()), KernelName);

// The dispatcher over every pair of format values, known or not: a listed
// pair gives its kernel's bytes and status, the same format a copy, and
// any other pair TUL_INVALID_REQUEST with nothing written.
TEST(ColorDispatch, EveryPairOfFormats)
{
    const int w = 6, h = 4;
    for (int s = -1; s <= 8; ++s) {
        for (int d = -1; d <= 8; ++d) {
            const auto sf = static_cast<Format>(s), df = static_cast<Format>(d);
            const KernelEntry* k = tul::color::FindKernel(sf, df);
            const bool known = s >= 0 && s < 8 && d >= 0 && d < 8;
            const int ss = known ? StepOf(sf, w) : 24, ds = known ? StepOf(df, w) : 24;
            ColorPicture src(known ? sf : TulImage::COLOR_FORMAT_RGB32, w, h, ss);
            FillRandom(src.buffer, 97u * s + d);
            ColorPicture out(known ? df : TulImage::COLOR_FORMAT_RGB32, w, h, ds, 0x11);
            ULONG size = out.Bytes32();
            const ULONG status = tul::color::Dispatch(
                {src.data(), out.data(), &size, ULONG(w), ULONG(h), ss, ds, false}, sf, df);
            SCOPED_TRACE(::testing::Message() << "formats " << s << " -> " << d);
            if (known && s == d) {
                EXPECT_EQ(status, TulImage::TUL_SUCCESS);
                EXPECT_EQ(out.Bytes(), src.Bytes());
            } else if (k != nullptr) {
                ColorPicture direct(df, w, h, ds, 0x11);
                EXPECT_EQ(status, RunKernel(*k, src, direct, false));
                EXPECT_EQ(out.Bytes(), direct.Bytes());
            } else {
                EXPECT_EQ(status, TulImage::TUL_INVALID_REQUEST);
                EXPECT_EQ(size, out.Bytes32());
                EXPECT_EQ(out.Bytes(), std::vector<unsigned char>(out.buffer.size(), 0x11));
            }
        }
    }
}

// The same-format copy between different steps walks both pictures from
// their top rows, so opposite signs turn the rows over in memory, and a
// 4:2:0 picture's two chroma planes are copied each in its own place.
TEST(ColorDispatch, CopyBetweenStepsKeepsThePictureUpright)
{
    for (Format f : {TulImage::COLOR_FORMAT_RGB24, TulImage::COLOR_FORMAT_YV12}) {
        const bool planar = f == TulImage::COLOR_FORMAT_YV12;
        const int w = 6, h = 6, ss = planar ? 8 : 20, ds = planar ? -6 : -18;
        ColorPicture src(f, w, h, ss), out(f, w, h, ds, 0x11);
        FillRandom(src.buffer, 5);
        ULONG size = out.Bytes32();
        ASSERT_EQ(tul::color::Dispatch({src.data(), out.data(), &size, ULONG(w), ULONG(h), ss, ds, true}, f, f),
                  TulImage::TUL_SUCCESS);
        const tul::Planes420 sp = tul::PlanesOf420(ss, h), dp = tul::PlanesOf420(-ds, h);
        const int planes = planar ? 3 : 1;
        for (int p = 0; p < planes; ++p) {
            const int rows = p == 0 ? h : h / 2, bytes = p == 0 ? -ds : -ds / 2;
            const int spitch = p == 0 ? ss : ss / 2, dpitch = p == 0 ? -ds : -ds / 2;
            for (int r = 0; r < rows; ++r)
                EXPECT_TRUE(SameRows(src.data() + sp.offset[p] + r * spitch, 0,
                                     out.data() + dp.offset[p] + (rows - 1 - r) * dpitch, 0, bytes, 1))
                    << "format " << f << " plane " << p << " row " << r;
        }
        EXPECT_TRUE(out.buffer.GuardsIntact());
    }
}

}  // namespace
}  // namespace tultest
