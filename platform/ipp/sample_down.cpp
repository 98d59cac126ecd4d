// ippiSampleDownH2V1_JPEG_8u_C1R and ippiSampleDownH2V2_JPEG_8u_C1R: 2:1
// box averages whose rounding alternates along a row (libjpeg's
// h2v1_downsample and h2v2_downsample), so that a flat run of odd sums
// does not drift one way. Edges follow libjpeg: the missing right column
// or bottom row of an odd source repeats the last one; nothing is read
// outside the source. Destination columns past the computed ones repeat
// the last computed value; destination rows past them stay untouched.
#include "platform/ipp/sample_down.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <algorithm>

namespace tulipp {

namespace {

void RepeatLast(Ipp8u* out, int computed, int dstWidth)
{
    for (int i = computed; i < dstWidth; ++i)
        out[i] = out[computed - 1];
}

}  // namespace

void SampleDownH2V1Row(const Ipp8u* in, int srcWidth, Ipp8u* out, int dstWidth)
{
    const int computed = std::min(dstWidth, srcWidth / 2 + srcWidth % 2);
    for (int i = 0; i < computed; ++i) {
        const int right = std::min(2 * i + 1, srcWidth - 1);
        out[i] = static_cast<Ipp8u>((in[2 * i] + in[right] + (i & 1)) >> 1);
    }
    RepeatLast(out, computed, dstWidth);
}

void SampleDownH2V2Row(const Ipp8u* in0, const Ipp8u* in1, int srcWidth, Ipp8u* out, int dstWidth)
{
    const int computed = std::min(dstWidth, srcWidth / 2 + srcWidth % 2);
    for (int i = 0; i < computed; ++i) {
        const int left = 2 * i, right = std::min(2 * i + 1, srcWidth - 1);
        out[i] = static_cast<Ipp8u>((in0[left] + in0[right] + in1[left] + in1[right] + 1 + (i & 1)) >> 2);
    }
    RepeatLast(out, computed, dstWidth);
}

namespace {

// Null, sizes, steps, then rows that would overlap among those written.
IppStatus CheckSampleDown(const Ipp8u* src, int srcStep, IppiSize srcRoi, const Ipp8u* dst, int dstStep,
                          IppiSize dstRoi, int rowsWritten)
{
    if (AnyNull(src, dst))
        return ippStsNullPtrErr;
    if (BadSize(srcRoi) || BadSize(dstRoi))
        return ippStsSizeErr;
    if (BadStep(srcStep, dstStep))
        return ippStsStepErr;
    if (RowsOverlap(dstStep, dstRoi.width, rowsWritten))
        return ippStsStrideErr;
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiSampleDownH2V1_JPEG_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize srcRoiSize, Ipp8u* pDst,
                                         int dstStep, IppiSize dstRoiSize)
{
    const int rows = std::min(srcRoiSize.height, dstRoiSize.height);
    const IppStatus status = CheckSampleDown(pSrc, srcStep, srcRoiSize, pDst, dstStep, dstRoiSize, rows);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < rows; ++y)
        SampleDownH2V1Row(RowAt(pSrc, srcStep, y), srcRoiSize.width, RowAt(pDst, dstStep, y), dstRoiSize.width);
    return ippStsNoErr;
}

IppStatus ippiSampleDownH2V2_JPEG_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize srcRoiSize, Ipp8u* pDst,
                                         int dstStep, IppiSize dstRoiSize)
{
    const int rows = std::min(srcRoiSize.height / 2 + srcRoiSize.height % 2, dstRoiSize.height);
    const IppStatus status = CheckSampleDown(pSrc, srcStep, srcRoiSize, pDst, dstStep, dstRoiSize, rows);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < rows; ++y)
        SampleDownH2V2Row(RowAt(pSrc, srcStep, 2 * y), RowAt(pSrc, srcStep, std::min(2 * y + 1, srcRoiSize.height - 1)),
                          srcRoiSize.width, RowAt(pDst, dstStep, y), dstRoiSize.width);
    return ippStsNoErr;
}

}  // extern "C"
