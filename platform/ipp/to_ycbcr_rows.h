// Rows that turn RGB pixels into Y'CbCr: the per-pixel equations of
// color_coefficients.h, the scalar rows of the primitives and of the
// colour kernels, and the row sets of the kernels' vector paths.
//
// Chroma of a 4:2:0 block or a 4:2:2 pair is the equation of the exact
// sum of its n pixels divided by n x the scale (4000 or 2000), i.e. of
// the exact average, rounded half up once (color_coefficients.h).
//
// Pixel layouts are named by byte order: Bgr3 (RGB24 and its shifted
// form), Bgr4 (RGB32; the fourth byte is never read into a result), Rgb3
// (the R, G, B order the primitives take).
#pragma once

#include "platform/ipp/color_coefficients.h"
#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

namespace tulipp {

namespace ycc {

using namespace tulipp::color;

inline Ipp8u Bt601Y(int r, int g, int b)
{
    using namespace bt601;
    return Saturate(RoundHalfUp(std::int64_t{kYr} * r + kYg * g + kYb * b + kYOffset * kScale, kScale));
}
// Chroma of the sums sr, sg, sb of n pixels.
inline Ipp8u Bt601Cb(int sr, int sg, int sb, int n)
{
    using namespace bt601;
    return Saturate(
        RoundHalfUp(std::int64_t{kCbR} * sr + kCbG * sg + kCbB * sb + kChromaOffset * kScale * n, kScale * n));
}
inline Ipp8u Bt601Cr(int sr, int sg, int sb, int n)
{
    using namespace bt601;
    return Saturate(
        RoundHalfUp(std::int64_t{kCrR} * sr + kCrG * sg + kCrB * sb + kChromaOffset * kScale * n, kScale * n));
}

inline Ipp8u JfifY(int r, int g, int b)
{
    using namespace jfif;
    return Saturate(RoundHalfUp(std::int64_t{kYr} * r + kYg * g + kYb * b, kScale));
}
inline Ipp8u JfifCb(int r, int g, int b)
{
    using namespace jfif;
    return Saturate(RoundHalfUp(std::int64_t{kCbR} * r + kCbG * g + kCbB * b + kChromaOffset * kScale, kScale));
}
inline Ipp8u JfifCr(int r, int g, int b)
{
    using namespace jfif;
    return Saturate(RoundHalfUp(std::int64_t{kCrR} * r + kCrG * g + kCrB * b + kChromaOffset * kScale, kScale));
}

// Byte positions of one pixel's components.
template <int Bytes, int RAt, int BAt>
struct Layout {
    static constexpr int kBytes = Bytes;
    static int R(const Ipp8u* p, int x) { return p[Bytes * x + RAt]; }
    static int G(const Ipp8u* p, int x) { return p[Bytes * x + 1]; }
    static int B(const Ipp8u* p, int x) { return p[Bytes * x + BAt]; }
};
using Bgr3 = Layout<3, 2, 0>;
using Bgr4 = Layout<4, 2, 0>;
using Rgb3 = Layout<3, 0, 2>;

}  // namespace ycc

// Two source rows of `width` pixels to their two luma rows and the
// width / 2 chroma samples of the 2x2 blocks they form. Either pair of
// rows may be one row given twice (a block of one row counts it twice).
using Rows420Fn = void (*)(const Ipp8u* row0, const Ipp8u* row1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v,
                           int width);
// One source row to one luma row.
using LumaRowFn = void (*)(const Ipp8u* row, Ipp8u* y, int width);
// One source row to a packed Y0 U Y1 V row. With an odd width the lone
// last pixel still fills its four-byte group: its Y twice, and the chroma
// of the nearest complete pair (of the pixel itself when it is alone).
using Yuy2RowFn = void (*)(const Ipp8u* row, Ipp8u* yuy2, int width);

template <class L>
void Rows420Scalar(const Ipp8u* row0, const Ipp8u* row1, Ipp8u* y0, Ipp8u* y1, Ipp8u* u, Ipp8u* v, int width)
{
    for (int x = 0; x < width; ++x) {
        y0[x] = ycc::Bt601Y(L::R(row0, x), L::G(row0, x), L::B(row0, x));
        y1[x] = ycc::Bt601Y(L::R(row1, x), L::G(row1, x), L::B(row1, x));
    }
    for (int i = 0; i < width / 2; ++i) {
        const int a = 2 * i, b = 2 * i + 1;
        const int r = L::R(row0, a) + L::R(row0, b) + L::R(row1, a) + L::R(row1, b);
        const int g = L::G(row0, a) + L::G(row0, b) + L::G(row1, a) + L::G(row1, b);
        const int bl = L::B(row0, a) + L::B(row0, b) + L::B(row1, a) + L::B(row1, b);
        u[i] = ycc::Bt601Cb(r, g, bl, 4);
        v[i] = ycc::Bt601Cr(r, g, bl, 4);
    }
}

template <class L>
void LumaRowScalar(const Ipp8u* row, Ipp8u* y, int width)
{
    for (int x = 0; x < width; ++x)
        y[x] = ycc::Bt601Y(L::R(row, x), L::G(row, x), L::B(row, x));
}

// Complete pairs from pair `first` on; the vector rows finish with it.
template <class L>
void Yuy2PairsScalar(const Ipp8u* row, Ipp8u* yuy2, int first, int pairs)
{
    for (int k = first; k < pairs; ++k) {
        const int a = 2 * k, b = 2 * k + 1;
        const int r = L::R(row, a) + L::R(row, b), g = L::G(row, a) + L::G(row, b), bl = L::B(row, a) + L::B(row, b);
        yuy2[4 * k] = ycc::Bt601Y(L::R(row, a), L::G(row, a), L::B(row, a));
        yuy2[4 * k + 1] = ycc::Bt601Cb(r, g, bl, 2);
        yuy2[4 * k + 2] = ycc::Bt601Y(L::R(row, b), L::G(row, b), L::B(row, b));
        yuy2[4 * k + 3] = ycc::Bt601Cr(r, g, bl, 2);
    }
}

// The lone last pixel's group of an odd width (the pairs before it done).
template <class L>
void Yuy2LoneScalar(const Ipp8u* row, Ipp8u* yuy2, int width)
{
    if (width % 2 == 0)
        return;
    const int x = width - 1;
    Ipp8u* group = yuy2 + 2 * x;
    const int r = L::R(row, x), g = L::G(row, x), b = L::B(row, x);
    group[0] = group[2] = ycc::Bt601Y(r, g, b);
    group[1] = x > 0 ? group[-3] : ycc::Bt601Cb(r, g, b, 1);
    group[3] = x > 0 ? group[-1] : ycc::Bt601Cr(r, g, b, 1);
}

template <class L>
void Yuy2RowScalar(const Ipp8u* row, Ipp8u* yuy2, int width)
{
    Yuy2PairsScalar<L>(row, yuy2, 0, width / 2);
    Yuy2LoneScalar<L>(row, yuy2, width);
}

void Rows420Bgr3Sse2(const Ipp8u*, const Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, int);
void Rows420Bgr4Sse2(const Ipp8u*, const Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, int);
void Rows420Bgr3Avx2(const Ipp8u*, const Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, int);
void Rows420Bgr4Avx2(const Ipp8u*, const Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, int);
void Rows420Bgr3Avx512(const Ipp8u*, const Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, int);
void Rows420Bgr4Avx512(const Ipp8u*, const Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, Ipp8u*, int);
void Yuy2RowBgr3Sse2(const Ipp8u*, Ipp8u*, int);
void Yuy2RowBgr4Sse2(const Ipp8u*, Ipp8u*, int);
void Yuy2RowBgr3Avx2(const Ipp8u*, Ipp8u*, int);
void Yuy2RowBgr4Avx2(const Ipp8u*, Ipp8u*, int);

// The kernels' rows for RGB24 (Bgr3) and RGB32 (Bgr4) sources.
inline constexpr RowSet<Rows420Fn> kRows420Bgr3{Rows420Scalar<ycc::Bgr3>, Rows420Bgr3Sse2, nullptr, Rows420Bgr3Avx2,
                                                  Rows420Bgr3Avx512};
inline constexpr RowSet<Rows420Fn> kRows420Bgr4{Rows420Scalar<ycc::Bgr4>, Rows420Bgr4Sse2, nullptr, Rows420Bgr4Avx2,
                                                  Rows420Bgr4Avx512};
inline constexpr RowSet<Yuy2RowFn> kYuy2RowsBgr3{Yuy2RowScalar<ycc::Bgr3>, Yuy2RowBgr3Sse2, nullptr, Yuy2RowBgr3Avx2};
inline constexpr RowSet<Yuy2RowFn> kYuy2RowsBgr4{Yuy2RowScalar<ycc::Bgr4>, Yuy2RowBgr4Sse2, nullptr, Yuy2RowBgr4Avx2};

// ippiBGRToYCbCr_JPEG_8u_C3P3R's row: B, G, R pixels to Y, Cb, Cr planes.
void BgrToYCbCrJpegRow(const Ipp8u* bgr, Ipp8u* y, Ipp8u* cb, Ipp8u* cr, int width);

}  // namespace tulipp
