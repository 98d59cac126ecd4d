// ippiAddC_8u_C3RSfs and ippiAddC_8u_C3IRSfs: a constant per channel, the
// exact sum scaled by 2^-scaleFactor with halves to even, then saturated.
#include "platform/ipp/add_c.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

namespace tulipp {

namespace {

// The Sfs rule for an exact result 0 <= r <= 510: a right shift rounds to
// nearest with halves to the even quotient, a left shift saturates. Past
// 16 bits of shift the result is fixed (0, or 255 for any non-zero r).
Ipp8u ScaleSfs(int r, int scaleFactor)
{
    if (scaleFactor > 0) {
        if (scaleFactor > 16)
            return 0;
        const int q = r >> scaleFactor, rem = r - (q << scaleFactor), half = 1 << (scaleFactor - 1);
        const int rounded = q + ((rem > half || (rem == half && (q & 1) != 0)) ? 1 : 0);
        return static_cast<Ipp8u>(rounded > 255 ? 255 : rounded);
    }
    if (scaleFactor < 0) {
        if (r == 0)
            return 0;
        return scaleFactor < -8 || (r << -scaleFactor) > 255 ? 255 : static_cast<Ipp8u>(r << -scaleFactor);
    }
    return static_cast<Ipp8u>(r > 255 ? 255 : r);
}

}  // namespace

void AddC3Row(const Ipp8u* src, const Ipp8u value[3], Ipp8u* dst, int width, int scaleFactor)
{
    if (scaleFactor == 0) {  // the colour kernels' case: a plain saturating add
        for (int i = 0; i < 3 * width; ++i) {
            const int r = src[i] + value[i % 3];
            dst[i] = static_cast<Ipp8u>(r > 255 ? 255 : r);
        }
        return;
    }
    for (int i = 0; i < 3 * width; ++i)
        dst[i] = ScaleSfs(src[i] + value[i % 3], scaleFactor);
}

}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiAddC_8u_C3RSfs(const Ipp8u* pSrc, int srcStep, const Ipp8u value[3], Ipp8u* pDst, int dstStep,
                             IppiSize roiSize, int scaleFactor)
{
    if (AnyNull(pSrc, value, pDst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, srcStep, 3, dstStep, 3);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y)
        AddC3Row(RowAt(pSrc, srcStep, y), value, RowAt(pDst, dstStep, y), roiSize.width, scaleFactor);
    return ippStsNoErr;
}

IppStatus ippiAddC_8u_C3IRSfs(const Ipp8u value[3], Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                              int scaleFactor)
{
    if (AnyNull(value, pSrcDst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, srcDstStep, 3, srcDstStep, 3);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y)
        AddC3Row(RowAt(pSrcDst, srcDstStep, y), value, RowAt(pSrcDst, srcDstStep, y), roiSize.width, scaleFactor);
    return ippStsNoErr;
}

}  // extern "C"
