// ippiSwapChannels_8u_C3R / C3IR: destination channel c takes source
// channel dstOrder[c]; repeated entries are allowed.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

namespace tulipp {
namespace {

// All three source bytes of a pixel are read before any is written, which
// is what makes the same loop correct in place.
void SwapChannelsRow(const Ipp8u* s, Ipp8u* d, int width, int c0, int c1, int c2)
{
    for (int x = 0; x < width; ++x, s += 3, d += 3) {
        const Ipp8u a = s[c0];
        const Ipp8u b = s[c1];
        const Ipp8u c = s[c2];
        d[0] = a;
        d[1] = b;
        d[2] = c;
    }
}

bool BadOrder(const int order[3])
{
    for (int c = 0; c < 3; ++c)
        if (order[c] < 0 || order[c] > 2)
            return true;
    return false;
}

IppStatus SwapChannels(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, const int order[3])
{
    if (AnyNull(src, dst, order))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, srcStep, 3, dstStep, 3);
    if (status != ippStsNoErr)
        return status;
    if (BadOrder(order))
        return ippStsChannelOrderErr;
    // Held in locals: as the destination might alias the order array, the
    // compiler would otherwise reload it for every pixel.
    const int c0 = order[0], c1 = order[1], c2 = order[2];
    for (int y = 0; y < roi.height; ++y)
        SwapChannelsRow(RowAt(src, srcStep, y), RowAt(dst, dstStep, y), roi.width, c0, c1, c2);
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiSwapChannels_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                  IppiSize roiSize, const int dstOrder[3])
{
    return SwapChannels(pSrc, srcStep, pDst, dstStep, roiSize, dstOrder);
}

IppStatus ippiSwapChannels_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, const int dstOrder[3])
{
    return SwapChannels(pSrcDst, srcDstStep, pSrcDst, srcDstStep, roiSize, dstOrder);
}

}  // extern "C"
