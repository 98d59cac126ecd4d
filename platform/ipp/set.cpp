// ippiSet_*: fills a whole ROI, or one channel of a four-channel ROI.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <cstring>

using namespace tulipp;

extern "C" {

IppStatus ippiSet_8u_C1R(Ipp8u value, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    if (AnyNull(pDst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, dstStep, 1, dstStep, 1);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y)
        std::memset(RowAt(pDst, dstStep, y), value, static_cast<std::size_t>(roiSize.width));
    return ippStsNoErr;
}

// pDst points at the channel of interest in the first pixel, so the
// channel is every fourth byte from there; the others are not touched.
IppStatus ippiSet_8u_C4CR(Ipp8u value, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    if (AnyNull(pDst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, dstStep, 4, dstStep, 4);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roiSize.height; ++y) {
        Ipp8u* d = RowAt(pDst, dstStep, y);
        for (int x = 0; x < roiSize.width; ++x)
            d[4 * x] = value;
    }
    return ippStsNoErr;
}

}  // extern "C"
