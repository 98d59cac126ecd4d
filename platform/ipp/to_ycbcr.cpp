// RGB to Y'CbCr primitives: ippiRGBToYCbCr420_8u_C3P3R,
// ippiRGBToYCbCr422_8u_P3C2R (BT.601 studio range) and
// ippiBGRToYCbCr_JPEG_8u_C3P3R (JFIF full range). Every value is the
// exact integer equation of color_coefficients.h rounded half up and
// saturated; block and pair chroma is that of the exact average.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"
#include "platform/ipp/to_ycbcr_rows.h"

namespace tulipp {

void BgrToYCbCrJpegRow(const Ipp8u* bgr, Ipp8u* y, Ipp8u* cb, Ipp8u* cr, int width)
{
    using L = ycc::Bgr3;
    for (int x = 0; x < width; ++x) {
        const int r = L::R(bgr, x), g = L::G(bgr, x), b = L::B(bgr, x);
        y[x] = ycc::JfifY(r, g, b);
        cb[x] = ycc::JfifCb(r, g, b);
        cr[x] = ycc::JfifCr(r, g, b);
    }
}

namespace {

// Planar R, G, B to packed Y0 Cb Y1 Cr. An odd width's lone last pixel
// gets its Y and a Cb of its own, and nothing past the row's 2W bytes.
void RgbPlanesToYCbCr422Row(const Ipp8u* r, const Ipp8u* g, const Ipp8u* b, Ipp8u* d, int width)
{
    for (int k = 0; k < width / 2; ++k) {
        const int a = 2 * k, c = 2 * k + 1;
        const int sr = r[a] + r[c], sg = g[a] + g[c], sb = b[a] + b[c];
        d[4 * k] = ycc::Bt601Y(r[a], g[a], b[a]);
        d[4 * k + 1] = ycc::Bt601Cb(sr, sg, sb, 2);
        d[4 * k + 2] = ycc::Bt601Y(r[c], g[c], b[c]);
        d[4 * k + 3] = ycc::Bt601Cr(sr, sg, sb, 2);
    }
    if (width % 2 != 0) {
        const int x = width - 1;
        d[2 * x] = ycc::Bt601Y(r[x], g[x], b[x]);
        d[2 * x + 1] = ycc::Bt601Cb(r[x], g[x], b[x], 1);
    }
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

// Whole 2x2 blocks only: an odd last column or row is left untouched and
// the status stays ippStsNoErr (callers convert such edges themselves).
IppStatus ippiRGBToYCbCr420_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst[3], int dstStep[3],
                                     IppiSize roiSize)
{
    if (pSrc == nullptr || pDst == nullptr || dstStep == nullptr || AnyNull(pDst[0], pDst[1], pDst[2]))
        return ippStsNullPtrErr;
    if (RoiRowBytes(roiSize, 3) == 0)
        return ippStsSizeErr;
    if (BadStep(srcStep, dstStep[0], dstStep[1], dstStep[2]))
        return ippStsStepErr;
    const int width = roiSize.width & ~1, blocks = roiSize.height / 2;
    if (RowsOverlap(dstStep[0], width, 2 * blocks) || RowsOverlap(dstStep[1], width / 2, blocks) ||
        RowsOverlap(dstStep[2], width / 2, blocks))
        return ippStsStrideErr;
    for (int j = 0; j < blocks; ++j)
        Rows420Scalar<ycc::Rgb3>(RowAt(pSrc, srcStep, 2 * j), RowAt(pSrc, srcStep, 2 * j + 1),
                                 RowAt(pDst[0], dstStep[0], 2 * j), RowAt(pDst[0], dstStep[0], 2 * j + 1),
                                 RowAt(pDst[1], dstStep[1], j), RowAt(pDst[2], dstStep[2], j), width);
    return ippStsNoErr;
}

IppStatus ippiRGBToYCbCr422_8u_P3C2R(const Ipp8u* const pSrc[3], int srcStep, Ipp8u* pDst, int dstStep,
                                     IppiSize roiSize)
{
    if (pSrc == nullptr || pDst == nullptr || AnyNull(pSrc[0], pSrc[1], pSrc[2]))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, srcStep, 1, dstStep, 2);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y)
        RgbPlanesToYCbCr422Row(RowAt(pSrc[0], srcStep, y), RowAt(pSrc[1], srcStep, y), RowAt(pSrc[2], srcStep, y),
                               RowAt(pDst, dstStep, y), roiSize.width);
    return ippStsNoErr;
}

IppStatus ippiBGRToYCbCr_JPEG_8u_C3P3R(const Ipp8u* pSrcBGR, int srcStep, Ipp8u* pDstYCbCr[3], int dstStep,
                                       IppiSize roiSize)
{
    if (pSrcBGR == nullptr || pDstYCbCr == nullptr || AnyNull(pDstYCbCr[0], pDstYCbCr[1], pDstYCbCr[2]))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, srcStep, 3, dstStep, 1);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y)
        BgrToYCbCrJpegRow(RowAt(pSrcBGR, srcStep, y), RowAt(pDstYCbCr[0], dstStep, y), RowAt(pDstYCbCr[1], dstStep, y),
                          RowAt(pDstYCbCr[2], dstStep, y), roiSize.width);
    return ippStsNoErr;
}

}  // extern "C"
