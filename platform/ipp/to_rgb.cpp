// Y'CbCr to RGB: the scalar rows (BT.601 and JFIF) and the five primitives
// built on them, ippiYCbCr422ToRGB_8u_C2C3R / _C2P3R,
// ippiYCbCr420ToBGR_8u_P3C3R, ippiYCbCrToBGR_JPEG_8u_P3C3R and
// ippiYCbCrToRGB_JPEG_8u_P3R.
//
// Rounding: every equation is evaluated exactly in integers, rounded half
// up and saturated, as color_coefficients.h decides for all colour rows.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"
#include "platform/ipp/to_rgb_rows.h"

#include <algorithm>

namespace tulipp {
namespace {

// Where a pixel's components go: byte offsets of R, G and B in a pixel of
// `Bytes` bytes; a fourth byte, if any, is written 0.
template <int R, int G, int B, int Bytes>
inline void Put(Ipp8u* p, Rgb8 c)
{
    p[R] = c.r;
    p[G] = c.g;
    p[B] = c.b;
    if constexpr (Bytes == 4)
        p[3] = 0;
}

// `pairs` whole pairs of a packed 4:2:2 row.
template <int R, int G, int B, int Bytes>
void Yuy2Pairs(const Ipp8u* s, Ipp8u* d, int pairs)
{
    for (int k = 0; k < pairs; ++k, s += 4, d += 2 * Bytes) {
        Put<R, G, B, Bytes>(d, Bt601ToRgb(s[0], s[1], s[3]));
        Put<R, G, B, Bytes>(d + Bytes, Bt601ToRgb(s[2], s[1], s[3]));
    }
}

template <int Bytes>
void Yuy2ToBgrRow(const Ipp8u* yuy2, Ipp8u* dst, int from, int width)
{
    Yuy2Pairs<2, 1, 0, Bytes>(yuy2 + 2 * from, dst + Bytes * from, width / 2 - from / 2);
    if (width % 2 != 0) {
        const Ipp8u* pair = yuy2 + 4 * LastPair(width);
        Put<2, 1, 0, Bytes>(dst + Bytes * (width - 1), Bt601ToRgb(yuy2[2 * (width - 1)], pair[1], pair[3]));
    }
}

template <int Bytes>
void I420ToBgrRow(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int from, int width)
{
    const int last = LastPair(width);
    for (int x = from; x < width; ++x) {
        const int c = std::min(x / 2, last);
        Put<2, 1, 0, Bytes>(dst + Bytes * x, Bt601ToRgb(y[x], u[c], v[c]));
    }
}

// JFIF, then every component lowered by 16, saturating at 0.
template <int Bytes>
void JfifToShiftedBgrRow(const Ipp8u* y, const Ipp8u* cb, const Ipp8u* cr, Ipp8u* dst, int width)
{
    for (int x = 0; x < width; ++x) {
        const Rgb8 c = JfifToRgb(y[x], cb[x], cr[x]);
        const auto lower = [](Ipp8u v) { return static_cast<Ipp8u>(v > 16 ? v - 16 : 0); };
        Put<2, 1, 0, Bytes>(dst + Bytes * x, {lower(c.r), lower(c.g), lower(c.b)});
    }
}

}  // namespace

void Yuy2ToBgr24Tail(const Ipp8u* yuy2, Ipp8u* dst, int from, int width) { Yuy2ToBgrRow<3>(yuy2, dst, from, width); }
void Yuy2ToBgr32Tail(const Ipp8u* yuy2, Ipp8u* dst, int from, int width) { Yuy2ToBgrRow<4>(yuy2, dst, from, width); }
void I420ToBgr24Tail(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int from, int width)
{
    I420ToBgrRow<3>(y, u, v, dst, from, width);
}
void I420ToBgr32Tail(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* dst, int from, int width)
{
    I420ToBgrRow<4>(y, u, v, dst, from, width);
}
void Yuy2ToBgr24RowScalar(const Ipp8u* yuy2, Ipp8u* dst, int width) { Yuy2ToBgrRow<3>(yuy2, dst, 0, width); }
void Yuy2ToBgr32RowScalar(const Ipp8u* yuy2, Ipp8u* dst, int width) { Yuy2ToBgrRow<4>(yuy2, dst, 0, width); }
void I420ToBgr24RowScalar(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0, Ipp8u* d1,
                          int width)
{
    I420ToBgrRow<3>(y0, u, v, d0, 0, width);
    I420ToBgrRow<3>(y1, u, v, d1, 0, width);
}
void I420ToBgr32RowScalar(const Ipp8u* y0, const Ipp8u* y1, const Ipp8u* u, const Ipp8u* v, Ipp8u* d0, Ipp8u* d1,
                          int width)
{
    I420ToBgrRow<4>(y0, u, v, d0, 0, width);
    I420ToBgrRow<4>(y1, u, v, d1, 0, width);
}
void JfifToShiftedBgr24Row(const Ipp8u* y, const Ipp8u* cb, const Ipp8u* cr, Ipp8u* dst, int width)
{
    JfifToShiftedBgrRow<3>(y, cb, cr, dst, width);
}
void JfifToShiftedBgr32Row(const Ipp8u* y, const Ipp8u* cb, const Ipp8u* cr, Ipp8u* dst, int width)
{
    JfifToShiftedBgrRow<4>(y, cb, cr, dst, width);
}

namespace {

// Null pointers are checked by the caller; then size, steps, and written
// rows that would overlap. Rows read twice lose nothing.
IppStatus CheckColour(IppiSize roi, int readRow, std::initializer_list<int> readSteps, int writeStep,
                      int writePixelBytes)
{
    if (RoiRowBytes(roi, readRow) == 0 || RoiRowBytes(roi, writePixelBytes) == 0)
        return ippStsSizeErr;
    for (int s : readSteps)
        if (s <= 0)
            return ippStsStepErr;
    if (writeStep <= 0)
        return ippStsStepErr;
    if (RowsOverlap(writeStep, RoiRowBytes(roi, writePixelBytes), roi.height))
        return ippStsStrideErr;
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

// With an odd width only the whole pairs are converted: the lone last
// pixel has no Cr byte, and its output pixel is left as it was.
IppStatus ippiYCbCr422ToRGB_8u_C2C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    if (AnyNull(pSrc, pDst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckColour(roiSize, 2, {srcStep}, dstStep, 3);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y)
        Yuy2Pairs<0, 1, 2, 3>(RowAt(pSrc, srcStep, y), RowAt(pDst, dstStep, y), roiSize.width / 2);
    return ippStsNoErr;
}

IppStatus ippiYCbCr422ToRGB_8u_C2P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst[3], int dstStep, IppiSize roiSize)
{
    if (pSrc == nullptr || pDst == nullptr || AnyNull(pDst[0], pDst[1], pDst[2]))
        return ippStsNullPtrErr;
    const IppStatus status = CheckColour(roiSize, 2, {srcStep}, dstStep, 1);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y) {
        const Ipp8u* s = RowAt(pSrc, srcStep, y);
        Ipp8u* r = RowAt(pDst[0], dstStep, y);
        Ipp8u* g = RowAt(pDst[1], dstStep, y);
        Ipp8u* b = RowAt(pDst[2], dstStep, y);
        for (int x = 0; x + 1 < roiSize.width; x += 2, s += 4) {
            for (int i = 0; i < 2; ++i) {
                const Rgb8 c = Bt601ToRgb(s[2 * i], s[1], s[3]);
                r[x + i] = c.r;
                g[x + i] = c.g;
                b[x + i] = c.b;
            }
        }
    }
    return ippStsNoErr;
}

// Whole 2x2 blocks only: an odd last column or row is left as it was
// (callers that need it handle it themselves), and no warning is raised.
IppStatus ippiYCbCr420ToBGR_8u_P3C3R(const Ipp8u* const pSrc[3], int srcStep[3], Ipp8u* pDst, int dstStep,
                                     IppiSize roiSize)
{
    if (pSrc == nullptr || srcStep == nullptr || pDst == nullptr || AnyNull(pSrc[0], pSrc[1], pSrc[2]))
        return ippStsNullPtrErr;
    const IppStatus status = CheckColour(roiSize, 1, {srcStep[0], srcStep[1], srcStep[2]}, dstStep, 3);
    if (status != ippStsNoErr)
        return status;
    const I420ToBgrRowFn row = kI420ToBgr24Rows.Active();
    const int width = roiSize.width & ~1;
    for (int y = 0; width > 0 && y < (roiSize.height & ~1); y += 2)
        row(RowAt(pSrc[0], srcStep[0], y), RowAt(pSrc[0], srcStep[0], y + 1), RowAt(pSrc[1], srcStep[1], y / 2),
            RowAt(pSrc[2], srcStep[2], y / 2), RowAt(pDst, dstStep, y), RowAt(pDst, dstStep, y + 1), width);
    return ippStsNoErr;
}

IppStatus ippiYCbCrToBGR_JPEG_8u_P3C3R(const Ipp8u* pSrcYCbCr[3], int srcStep, Ipp8u* pDstBGR, int dstStep,
                                       IppiSize roiSize)
{
    if (pSrcYCbCr == nullptr || pDstBGR == nullptr || AnyNull(pSrcYCbCr[0], pSrcYCbCr[1], pSrcYCbCr[2]))
        return ippStsNullPtrErr;
    const IppStatus status = CheckColour(roiSize, 1, {srcStep}, dstStep, 3);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y) {
        const Ipp8u* s[3] = {RowAt(pSrcYCbCr[0], srcStep, y), RowAt(pSrcYCbCr[1], srcStep, y),
                             RowAt(pSrcYCbCr[2], srcStep, y)};
        Ipp8u* d = RowAt(pDstBGR, dstStep, y);
        for (int x = 0; x < roiSize.width; ++x)
            Put<2, 1, 0, 3>(d + 3 * x, JfifToRgb(s[0][x], s[1][x], s[2][x]));
    }
    return ippStsNoErr;
}

IppStatus ippiYCbCrToRGB_JPEG_8u_P3R(const Ipp8u* pSrcYCbCr[3], int srcStep, Ipp8u* pDstRGB[3], int dstStep,
                                     IppiSize roiSize)
{
    if (pSrcYCbCr == nullptr || pDstRGB == nullptr || AnyNull(pSrcYCbCr[0], pSrcYCbCr[1], pSrcYCbCr[2]) ||
        AnyNull(pDstRGB[0], pDstRGB[1], pDstRGB[2]))
        return ippStsNullPtrErr;
    const IppStatus status = CheckColour(roiSize, 1, {srcStep}, dstStep, 1);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y) {
        const Ipp8u* s[3] = {RowAt(pSrcYCbCr[0], srcStep, y), RowAt(pSrcYCbCr[1], srcStep, y),
                             RowAt(pSrcYCbCr[2], srcStep, y)};
        for (int x = 0; x < roiSize.width; ++x) {
            const Rgb8 c = JfifToRgb(s[0][x], s[1][x], s[2][x]);
            RowAt(pDstRGB[0], dstStep, y)[x] = c.r;
            RowAt(pDstRGB[1], dstStep, y)[x] = c.g;
            RowAt(pDstRGB[2], dstStep, y)[x] = c.b;
        }
    }
    return ippStsNoErr;
}

}  // extern "C"
