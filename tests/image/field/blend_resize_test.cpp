// Resize-blends: a frame equals a simple blend followed by the resize of
// the mix (every format and mode, both orientations, padded steps, equal
// sizes, src == dst); a field
// mixes exactly the displayed field's rows and writes only the selected
// rows of `out`, with the resamplers' field-path bytes for top-down
// pictures and mirrored rows when one picture is bottom-up; refusals
// write nothing.
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_workers.h"
#include "tests/image/field/blend_model.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

using T = TulImage;
using tultest::GuardedBuffer;
constexpr unsigned char kMark = 0xE7;

ULONG ResizeBlend(T::COLOR_FORMAT_TYPE f, const unsigned char* s, unsigned char* d, unsigned char* o, ULONG* size,
                  int sw, int sh, int ss, int dw, int dh, int ds, float wt, T::FIELD_TYPE field,
                  T::INTERPOLATION_MODE mode)
{
    using Fn = ULONG (*)(const unsigned char*, unsigned char*, unsigned char*, ULONG*, ULONG, ULONG, int, ULONG,
                         ULONG, int, float, T::FIELD_TYPE, T::INTERPOLATION_MODE);
    const Fn fn = f == T::COLOR_FORMAT_YUV420 ? Fn(&T::BlendYUV420)
                : f == T::COLOR_FORMAT_YUY2   ? Fn(&T::BlendYUY2)
                : f == T::COLOR_FORMAT_RGB24  ? Fn(&T::BlendRGB24) : Fn(&T::BlendRGB32);
    return fn(s, d, o, size, sw, sh, ss, dw, dh, ds, wt, field, mode);
}

int Bpp(T::COLOR_FORMAT_TYPE f) { return f == T::COLOR_FORMAT_YUY2 ? 2 : f == T::COLOR_FORMAT_RGB24 ? 3 : f == T::COLOR_FORMAT_RGB32 ? 4 : 1; }

struct Pic {
    Pic(T::COLOR_FORMAT_TYPE f, int w, int h, int pad, std::uint32_t seed)
        : pitch(w * Bpp(f) + pad), buf(blendtest::BufferBytes(f, h, pitch) & 0xFFFFFF, kMark)
    {
        if (seed != 0)
            tultest::FillRandom(buf, seed);
    }
    int pitch;
    GuardedBuffer buf;
};

using Case = std::tuple<T::COLOR_FORMAT_TYPE, T::INTERPOLATION_MODE>;
class ResizeBlendFrame : public ::testing::TestWithParam<Case> {};

TEST_P(ResizeBlendFrame, EqualsBlendThenResize)
{
    const auto [f, mode] = GetParam();
    const int sw = 20, sh = 12;
    for (auto [dw, dh] : {std::pair{30, 18}, std::pair{12, 8}, std::pair{20, 12}}) {
        for (int signs = 0; signs < 4; ++signs) {
            const int pad = signs * 4, ssign = signs & 1 ? -1 : 1, dsign = signs & 2 ? -1 : 1;
            Pic src(f, sw, sh, pad, 3), dst(f, sw, sh, pad, 5), out(f, dw, dh, pad + 2, 0);
            Pic mix(f, sw, sh, pad, 0), expected(f, dw, dh, pad + 2, 0);
            mix.buf = dst.buf;
            const float wt = 0.4f;
            blendtest::Blend(f, src.buf.data(), mix.buf.data(), sw, sh, ssign * src.pitch, wt);
            ULONG size = ULONG(expected.buf.size());
            ASSERT_EQ(T::Resize(mix.buf.data(), expected.buf.data(), &size, sw, sh, ssign * mix.pitch, dw, dh,
                                dsign * expected.pitch, f, mode), T::TUL_SUCCESS);
            ULONG outSize = 0;
            SCOPED_TRACE(::testing::Message() << dw << "x" << dh << " signs " << signs);
            ASSERT_EQ(ResizeBlend(f, src.buf.data(), dst.buf.data(), out.buf.data(), &outSize, sw, sh,
                                  ssign * src.pitch, dw, dh, dsign * out.pitch, wt, T::FIELD_FRAME, mode), T::TUL_SUCCESS);
            EXPECT_EQ(outSize, size);
            EXPECT_EQ(dst.buf.Bytes(), mix.buf.Bytes());
            std::vector<unsigned char> want(out.buf.size(), kMark);  // padding stays as it was
            for (std::int64_t at : blendtest::PictureBytes(f, dw, dh, out.pitch))
                want[at] = expected.buf[at];
            ASSERT_TRUE(tultest::SameBytes(want, out.buf.Bytes()));
            ASSERT_TRUE(out.buf.GuardsIntact());
            // src == dst: nothing mixed, the picture only resized.
            ASSERT_EQ(ResizeBlend(f, mix.buf.data(), mix.buf.data(), out.buf.data(), &outSize, sw, sh,
                                  ssign * src.pitch, dw, dh, dsign * out.pitch, wt, T::FIELD_FRAME, mode), T::TUL_SUCCESS);
            ASSERT_EQ(dst.buf.Bytes(), mix.buf.Bytes());
            ASSERT_TRUE(tultest::SameBytes(want, out.buf.Bytes()));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FormatsModes, ResizeBlendFrame,
                         ::testing::Combine(::testing::Values(T::COLOR_FORMAT_YUV420, T::COLOR_FORMAT_YUY2,
                                                              T::COLOR_FORMAT_RGB24, T::COLOR_FORMAT_RGB32),
                                            ::testing::Values(T::INTERPOLATION_NEAREST, T::INTERPOLATION_LINEAR,
                                                              T::INTERPOLATION_CUBIC, T::INTERPOLATION_AUTO,
                                                              T::INTERPOLATION_VEXO)));

// Memory parity of a picture's displayed field: FIELD_EVEN the top one.
int Parity(T::FIELD_TYPE field, int sign) { return (field == T::FIELD_EVEN) == (sign < 0) ? 1 : 0; }

// Offsets of the rows of one memory parity (4:2:0: within each plane).
std::vector<std::int64_t> FieldBytes(T::COLOR_FORMAT_TYPE f, int w, int h, int pitch, int parity)
{
    std::vector<std::int64_t> at;
    for (std::int64_t b : blendtest::PictureBytes(f, w, h, pitch)) {
        const std::int64_t luma = std::int64_t(pitch) * h;
        const std::int64_t row = b < luma ? b / pitch : (b - luma) / (pitch / 2) % (h / 2);
        if (row % 2 == parity && row < 2 * (b < luma ? h / 2 : h / 4))
            at.push_back(b);
    }
    return at;
}

// The offset of byte `b` with its row mirrored within its plane.
std::int64_t Mirrored(std::int64_t b, int h, int pitch)
{
    const std::int64_t luma = std::int64_t(pitch) * h, cp = pitch / 2, rows = h / 2;
    if (b < luma)
        return (h - 1 - b / pitch) * pitch + b % pitch;
    const std::int64_t base = luma + (b - luma) / (cp * rows) * cp * rows;
    return base + (rows - 1 - (b - base) / cp) * cp + (b - base) % cp;
}

class ResizeBlendField : public ::testing::TestWithParam<std::tuple<T::COLOR_FORMAT_TYPE, T::INTERPOLATION_MODE>> {};

TEST_P(ResizeBlendField, DisplayedFieldOnly)
{
    const auto [f, mode] = GetParam();
    const int sw = 16, sh = 12, dw = 24, dh = 16;
    for (auto field : {T::FIELD_EVEN, T::FIELD_ODD}) {
        std::vector<unsigned char> topDown;
        for (int signs = 0; signs < 4; ++signs) {
            const int ssign = signs & 1 ? -1 : 1, dsign = signs & 2 ? -1 : 1;
            Pic src(f, sw, sh, 4, 7), dst(f, sw, sh, 4, 9), out(f, dw, dh, 2, 0);
            const std::vector<unsigned char> before = dst.buf.Bytes();
            ULONG size = 0;
            SCOPED_TRACE(::testing::Message() << "field " << field << " signs " << signs);
            ASSERT_EQ(ResizeBlend(f, src.buf.data(), dst.buf.data(), out.buf.data(), &size, sw, sh,
                                  ssign * src.pitch, dw, dh, dsign * out.pitch, 0.5f, field, mode), T::TUL_SUCCESS);
            // Exactly the displayed field's rows are mixed.
            std::vector<unsigned char> mixed = before;
            const blendtest::Pair p = blendtest::AlphasOf(0.5f);
            for (std::int64_t at : FieldBytes(f, sw, sh, src.pitch, Parity(field, ssign)))
                mixed[at] = blendtest::MixByte(p, src.buf[at], before[at]);
            ASSERT_TRUE(tultest::SameBytes(mixed, dst.buf.Bytes()));
            EXPECT_EQ(size, ULONG(f == T::COLOR_FORMAT_YUV420 ? out.pitch * dh + out.pitch / 2 * dh : out.pitch * dh));
            // Only the selected rows of out are written.
            const auto selected = FieldBytes(f, dw, dh, out.pitch, Parity(field, dsign));
            std::vector<unsigned char> untouched = out.buf.Bytes();
            for (std::int64_t at : selected)
                untouched[at] = kMark;
            ASSERT_EQ(untouched, std::vector<unsigned char>(out.buf.size(), kMark));
            if (signs == 0)
                topDown = out.buf.Bytes();
            for (std::size_t i = 0; signs == 2 && i < selected.size(); ++i)  // out bottom-up: mirrored rows
                ASSERT_EQ(out.buf[selected[i]], topDown[Mirrored(selected[i], dh, out.pitch)]) << selected[i];
            if (signs == 0 && f != T::COLOR_FORMAT_RGB24 && f != T::COLOR_FORMAT_RGB32) {
                // Top-down: the bytes of the resamplers' own field path.
                Pic want(f, dw, dh, 2, 0);
                for (std::int64_t at : selected)  // painted black, as the call does first
                    want.buf[at] = (f == T::COLOR_FORMAT_YUY2 ? at % 2 : at >= std::int64_t(want.pitch) * dh) ? 0x7F : 0;
                const IppiSize s{sw, sh}, d{dw, dh};
                double xf = 0, yf = 0;
                int sm = 0, dm = 0;
                tul::GetResizeFactor(s, d, &xf, &yf, &sm, &dm);
                tul::ScratchPlanes scratch;
                ASSERT_TRUE(scratch.Allocate({sw, sh / 2}, {dw, dh / 2}));
                unsigned char *from = dst.buf.data(), *to = want.buf.data();
                const bool yuy2 = f == T::COLOR_FORMAT_YUY2;
                ASSERT_TRUE(mode == T::INTERPOLATION_VEXO
                                ? (yuy2 ? tul::VexoResizeYUY2 : tul::VexoResizeYUV420)(from, to, src.pitch, want.pitch, s, d, sm, dm, 0, field, true)
                            : yuy2 ? tul::IppResizeYUY2(from, to, src.pitch, want.pitch, s, d, {0, 0, sw, sh}, xf, yf, mode, scratch.Get(), field, true)
                                   : tul::IppResizeYUV420(from, to, src.pitch, want.pitch, s, d, {0, 0, sw, sh}, xf, yf, mode, field, true));
                ASSERT_TRUE(tultest::SameBytes(want.buf.Bytes(), out.buf.Bytes()));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FormatsModes, ResizeBlendField,
                         ::testing::Combine(::testing::Values(T::COLOR_FORMAT_YUV420, T::COLOR_FORMAT_YUY2,
                                                              T::COLOR_FORMAT_RGB24, T::COLOR_FORMAT_RGB32),
                                            ::testing::Values(T::INTERPOLATION_LINEAR, T::INTERPOLATION_VEXO)));

// Refusals: 3, nothing written (not even the size).
TEST(ResizeBlendCases, Refusals)
{
    GuardedBuffer src(256, 1), dst(256, 2), out(256, 3);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto f : {T::COLOR_FORMAT_YUV420, T::COLOR_FORMAT_YUY2, T::COLOR_FORMAT_RGB24, T::COLOR_FORMAT_RGB32}) {
        ULONG size = 77;
        const auto call = [&](unsigned char* o, ULONG* sz, int sw, int sh, int ss, int dh, float wt, int field) {
            return ResizeBlend(f, src.data(), dst.data(), o, sz, sw, sh, ss, 4, dh, 16, wt,
                               static_cast<T::FIELD_TYPE>(field), T::INTERPOLATION_LINEAR);
        };
        EXPECT_EQ(call(nullptr, &size, 4, 4, 16, 4, 0.5f, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), nullptr, 4, 4, 16, 4, 0.5f, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 4, 4, 16, 4, nan, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 0, 4, 16, 4, 0.5f, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 4, 4, 16, 0, 0.5f, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 8, 4, Bpp(f) * 8 - 1, 4, 0.5f, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 4, 1, 16, 4, 0.5f, 1), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 4, 4, 16, 1, 0.5f, 2), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 4, 4, 16, 4, 0.5f, 3), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(call(out.data(), &size, 4, 0x40000000, 16, 4, 0.5f, 0), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(size, 77u);
    }
    EXPECT_EQ(dst.Bytes(), std::vector<unsigned char>(256, 2));
    EXPECT_EQ(out.Bytes(), std::vector<unsigned char>(256, 3));
}

}  // namespace

namespace {

// A resample the library cannot make (YUY2 into one pixel has no chroma
// column): 4, the size stored, the row it would have written zeroed and
// its padding untouched.
TEST(ResizeBlendCases, FailureZeroesSelectedRows)
{
    GuardedBuffer src(64, 1), dst(64, 2), out(12, 3);
    ULONG size = 0;
    EXPECT_EQ(T::BlendYUY2(src.data(), dst.data(), out.data(), &size, 4, 4, 16, 1, 2, 6, 0.5f, T::FIELD_FRAME,
                           T::INTERPOLATION_LINEAR), T::TUL_FAILED);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(out.Bytes(), (std::vector<unsigned char>{0, 0, 3, 3, 3, 3, 0, 0, 3, 3, 3, 3}));
}

}  // namespace
