// ippiSplit422_8u_C2P3R and ippiJoin422_8u_P3C2R: packed 4:2:2 to and from
// Y, U and V planes, and the plain kernels the faster paths must match.
#include "platform/ipp/split_join422.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <cstdint>

namespace tulipp {

void Split422RowScalar(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width)
{
    const int pairs = width / 2;
    for (int k = 0; k < pairs; ++k) {
        y[2 * k] = packed[4 * k];
        u[k] = packed[4 * k + 1];
        y[2 * k + 1] = packed[4 * k + 2];
        v[k] = packed[4 * k + 3];
    }
    if (width % 2 != 0) {
        y[2 * pairs] = packed[4 * pairs];
        u[pairs] = packed[4 * pairs + 1];
    }
}

void Join422RowScalar(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width)
{
    const int pairs = width / 2;
    for (int k = 0; k < pairs; ++k) {
        packed[4 * k] = y[2 * k];
        packed[4 * k + 1] = u[k];
        packed[4 * k + 2] = y[2 * k + 1];
        packed[4 * k + 3] = v[k];
    }
    if (width % 2 != 0) {
        packed[4 * pairs] = y[2 * pairs];
        packed[4 * pairs + 1] = u[pairs];
    }
}

namespace {

// Bytes each row must hold: 2W packed, W of Y, and for an odd width one
// more U than V, since the lone last pixel carries a U. (Checking U
// against W/2 would let the last U of a row land on the next row, or
// past the end of the plane.)
struct Rows422 {
    std::int64_t packed, y, u, v;
};

Rows422 RowsOf(int width)
{
    return {2 * static_cast<std::int64_t>(width), width, (width + 1) / 2, width / 2};
}

// Null pointers, then size (a pair needs two pixels), steps, strides.
IppStatus Check422(IppiSize roi, int packedStep, const int planeSteps[3])
{
    if (roi.width < 2 || roi.height <= 0 || RowBytes(roi.width, 2) < 0)
        return ippStsSizeErr;
    if (BadStep(packedStep, planeSteps[0], planeSteps[1], planeSteps[2]))
        return ippStsStepErr;
    const Rows422 rows = RowsOf(roi.width);
    if (packedStep < rows.packed || planeSteps[0] < rows.y || planeSteps[1] < rows.u || planeSteps[2] < rows.v)
        return ippStsStrideErr;
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiSplit422_8u_C2P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst[3], int dstStep[3], IppiSize roiSize)
{
    if (pSrc == nullptr || pDst == nullptr || dstStep == nullptr || AnyNull(pDst[0], pDst[1], pDst[2]))
        return ippStsNullPtrErr;
    const IppStatus status = Check422(roiSize, srcStep, dstStep);
    if (status != ippStsNoErr)
        return status;
    const Split422RowFn row = kSplit422Rows.Active();
    for (int y = 0; y < roiSize.height; ++y)
        row(RowAt(pSrc, srcStep, y), RowAt(pDst[0], dstStep[0], y), RowAt(pDst[1], dstStep[1], y),
            RowAt(pDst[2], dstStep[2], y), roiSize.width);
    return ippStsNoErr;
}

IppStatus ippiJoin422_8u_P3C2R(const Ipp8u* pSrc[3], int srcStep[3], Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    if (pSrc == nullptr || srcStep == nullptr || pDst == nullptr || AnyNull(pSrc[0], pSrc[1], pSrc[2]))
        return ippStsNullPtrErr;
    const IppStatus status = Check422(roiSize, dstStep, srcStep);
    if (status != ippStsNoErr)
        return status;
    const Join422RowFn row = kJoin422Rows.Active();
    for (int y = 0; y < roiSize.height; ++y)
        row(RowAt(pSrc[0], srcStep[0], y), RowAt(pSrc[1], srcStep[1], y), RowAt(pSrc[2], srcStep[2], y),
            RowAt(pDst, dstStep, y), roiSize.width);
    return ippStsNoErr;
}

}  // extern "C"
