// Y'CbCr to RGB: the per-pixel equations as exact integers, the scalar rows
// the primitives and the colour kernels share, and the row sets of the
// BT.601 rows that have vector paths.
//
// Every row evaluates its equation exactly and rounds once, half up, then
// saturates (platform/ipp/color_coefficients.h); the vector rows give the
// same bytes for every input.
//
// Chroma of an incomplete pixel pair: a row of odd width has a lone last
// pixel whose pair lacks its second half. The kernel rows give it the
// chroma of the nearest complete pair (pair width/2 - 1), so no pixel is
// left unwritten and no chroma sample outside whole pairs is read; a row
// one pixel wide has only its own group (pair 0).
#pragma once

#include "platform/ipp/color_coefficients.h"
#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

namespace tulipp {

// BT.601 studio range to full-range RGB, one pixel.
struct Rgb8 {
    Ipp8u r, g, b;
};

inline Rgb8 Bt601ToRgb(int y, int cb, int cr)
{
    using namespace color::bt601;
    const int ys = kY * (y - kYOffset), u = cb - kChromaOffset, v = cr - kChromaOffset;
    return {color::Saturate(color::RoundHalfUp(ys + kRCr * v, kScale)),
            color::Saturate(color::RoundHalfUp(ys + kGCb * u + kGCr * v, kScale)),
            color::Saturate(color::RoundHalfUp(ys + kBCb * u, kScale))};
}

// JFIF full range, one pixel.
inline Rgb8 JfifToRgb(int y, int cb, int cr)
{
    using namespace color::jfif;
    const int ys = kScale * y, u = cb - kChromaOffset, v = cr - kChromaOffset;
    return {color::Saturate(color::RoundHalfUp(ys + kRCr * v, kScale)),
            color::Saturate(color::RoundHalfUp(ys + kGCb * u + kGCr * v, kScale)),
            color::Saturate(color::RoundHalfUp(ys + kBCb * u, kScale))};
}

// The chroma pair a kernel row gives its last pixel (see above).
inline int LastPair(int width) { return width >= 2 ? width / 2 - 1 : 0; }

// Packed 4:2:2 row (Y0 U Y1 V per pair) to B, G, R (and a zero fourth
// byte for 32-bit pixels), `width` pixels, the odd-width rule above.
using Yuy2ToBgrRowFn = void (*)(const Ipp8u* yuy2, Ipp8u* dst, int width);
// Two rows of 4:2:0 luma that share one row of each chroma plane (width /
// 2 samples used) to B, G, R (and a zero fourth byte), the odd-width rule
// above: the chroma terms are computed once for both. A lone luma row
// passes itself (and its destination) twice.
using I420ToBgrRowFn = void (*)(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                                Ipp8u* d1, int width);

void Yuy2ToBgr24RowScalar(const Ipp8u* yuy2, Ipp8u* dst, int width);
void Yuy2ToBgr32RowScalar(const Ipp8u* yuy2, Ipp8u* dst, int width);
void I420ToBgr24RowScalar(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                        Ipp8u* d1, int width);
void I420ToBgr32RowScalar(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                        Ipp8u* d1, int width);

// The scalar rows from pixel `from` (even) on, for the vector rows' tails;
// the odd-width rule still looks at the whole row.
void Yuy2ToBgr24Tail(const Ipp8u* yuy2, Ipp8u* dst, int from, int width);
void Yuy2ToBgr32Tail(const Ipp8u* yuy2, Ipp8u* dst, int from, int width);
void I420ToBgr24Tail(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int from, int width);
void I420ToBgr32Tail(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int from, int width);

void Yuy2ToBgr24RowSse2(const Ipp8u* yuy2, Ipp8u* dst, int width);
void Yuy2ToBgr32RowSse2(const Ipp8u* yuy2, Ipp8u* dst, int width);
void I420ToBgr24RowSse2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                        Ipp8u* d1, int width);
void I420ToBgr32RowSse2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                        Ipp8u* d1, int width);

void Yuy2ToBgr24RowAvx2(const Ipp8u* yuy2, Ipp8u* dst, int width);
void Yuy2ToBgr32RowAvx2(const Ipp8u* yuy2, Ipp8u* dst, int width);
void I420ToBgr24RowAvx2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                        Ipp8u* d1, int width);
void I420ToBgr32RowAvx2(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                        Ipp8u* d1, int width);
void Yuy2ToBgr24RowAvx512(const Ipp8u* yuy2, Ipp8u* dst, int width);
void I420ToBgr24RowAvx512(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0,
                          Ipp8u* d1, int width);

inline constexpr RowSet<Yuy2ToBgrRowFn> kYuy2ToBgr24Rows{Yuy2ToBgr24RowScalar, Yuy2ToBgr24RowSse2, nullptr,
                                                         Yuy2ToBgr24RowAvx2, Yuy2ToBgr24RowAvx512};
inline constexpr RowSet<Yuy2ToBgrRowFn> kYuy2ToBgr32Rows{Yuy2ToBgr32RowScalar, Yuy2ToBgr32RowSse2, nullptr,
                                                         Yuy2ToBgr32RowAvx2};
inline constexpr RowSet<I420ToBgrRowFn> kI420ToBgr24Rows{I420ToBgr24RowScalar, I420ToBgr24RowSse2, nullptr,
                                                         I420ToBgr24RowAvx2, I420ToBgr24RowAvx512};
inline constexpr RowSet<I420ToBgrRowFn> kI420ToBgr32Rows{I420ToBgr32RowScalar, I420ToBgr32RowSse2, nullptr,
                                                         I420ToBgr32RowAvx2};

// JFIF Y'CbCr planes of one full-width row to B, G, R (and a zero fourth
// byte), each component then lowered by 16 with saturation at 0: the
// shifted-straight form. Scalar only: the x100000 equation leaves no
// margin for single-precision arithmetic.
void JfifToShiftedBgr24Row(const Ipp8u* y, const Ipp8u* cb, const Ipp8u* cr, Ipp8u* dst, int width);
void JfifToShiftedBgr32Row(const Ipp8u* y, const Ipp8u* cb, const Ipp8u* cr, Ipp8u* dst, int width);

}  // namespace tulipp
