// ippiMirror_*_IR: in-place flips about the horizontal axis (rows swap
// top to bottom), the vertical axis (each row reversed, pixels kept whole)
// or both. With an odd count the middle row or column stays in place.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <algorithm>
#include <cstddef>

namespace tulipp {
namespace {

// Pixels of N bytes reversed within a row; bytes inside a pixel keep
// their order.
template <int N>
void ReverseRow(Ipp8u* row, int width)
{
    Ipp8u* left = row;
    Ipp8u* right = row + static_cast<std::ptrdiff_t>(width - 1) * N;
    for (int i = 0; i < width / 2; ++i, left += N, right -= N)
        for (int c = 0; c < N; ++c)
            std::swap(left[c], right[c]);
}

template <>
void ReverseRow<1>(Ipp8u* row, int width)
{
    std::reverse(row, row + width);
}

template <int N>
IppStatus Mirror(Ipp8u* p, int step, IppiSize roi, IppiAxis flip)
{
    if (AnyNull(p))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, step, N, step, N);
    if (status != ippStsNoErr)
        return status;
    if (flip != ippAxsHorizontal && flip != ippAxsVertical && flip != ippAxsBoth)
        return ippStsMirrorFlipErr;

    const std::size_t rowBytes = static_cast<std::size_t>(roi.width) * N;
    const bool reverseRows = flip != ippAxsHorizontal;
    const bool swapRows = flip != ippAxsVertical;
    if (swapRows) {
        for (int top = 0, bottom = roi.height - 1; top < bottom; ++top, --bottom) {
            Ipp8u* a = RowAt(p, step, top);
            Ipp8u* b = RowAt(p, step, bottom);
            if (reverseRows) {
                ReverseRow<N>(a, roi.width);
                ReverseRow<N>(b, roi.width);
            }
            std::swap_ranges(a, a + rowBytes, b);
        }
        if (reverseRows && roi.height % 2 == 1)
            ReverseRow<N>(RowAt(p, step, roi.height / 2), roi.width);
    } else {
        for (int y = 0; y < roi.height; ++y)
            ReverseRow<N>(RowAt(p, step, y), roi.width);
    }
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiMirror_8u_C1IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, IppiAxis flip)
{
    return Mirror<1>(pSrcDst, srcDstStep, roiSize, flip);
}

IppStatus ippiMirror_8u_C3IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, IppiAxis flip)
{
    return Mirror<3>(pSrcDst, srcDstStep, roiSize, flip);
}

IppStatus ippiMirror_8u_C4IR(Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, IppiAxis flip)
{
    return Mirror<4>(pSrcDst, srcDstStep, roiSize, flip);
}

}  // extern "C"
