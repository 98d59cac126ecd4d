// ippiSampleUpH2V1_JPEG_8u_C1R and ippiSampleUpH2V2_JPEG_8u_C1R: the
// triangle-filter 2:1 upsampling of JPEG chroma (libjpeg's "fancy"
// upsampling), with its rows.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"
#include "platform/ipp/sample_up_rows.h"

#include <algorithm>

namespace tulipp {
namespace {

// Columns past the computed ones repeat the last computed value.
void RepeatLast(Ipp8u* out, int computed, int outWidth)
{
    for (int x = computed; x < outWidth; ++x)
        out[x] = out[computed - 1];
}

}  // namespace

// out[2i] = (3 in[i] + in[i-1] + 1) >> 2, out[2i+1] = (3 in[i] + in[i+1] + 2) >> 2
// (the rounding constants alternate so that ties do not all go one way).
void SampleUpH2V1Row(const Ipp8u* in, int inWidth, Ipp8u* out, int outWidth)
{
    const int computed = std::min(outWidth, 2 * inWidth);
    for (int x = 0; x < computed; ++x) {
        const int i = x / 2;
        const int far = x % 2 == 0 ? std::max(i - 1, 0) : std::min(i + 1, inWidth - 1);
        out[x] = static_cast<Ipp8u>((3 * in[i] + in[far] + 1 + x % 2) >> 2);
    }
    RepeatLast(out, computed, outWidth);
}

// Column sums cs = 3 near + far; out[2i] = (3 cs[i] + cs[i-1] + 8) >> 4,
// out[2i+1] = (3 cs[i] + cs[i+1] + 7) >> 4.
void SampleUpH2V2Row(const Ipp8u* nearRow, const Ipp8u* farRow, int inWidth, Ipp8u* out, int outWidth)
{
    const auto cs = [&](int i) { return 3 * nearRow[i] + farRow[i]; };
    const int computed = std::min(outWidth, 2 * inWidth);
    for (int x = 0; x < computed; ++x) {
        const int i = x / 2;
        const int far = x % 2 == 0 ? std::max(i - 1, 0) : std::min(i + 1, inWidth - 1);
        out[x] = static_cast<Ipp8u>((3 * cs(i) + cs(far) + 8 - x % 2) >> 4);
    }
    RepeatLast(out, computed, outWidth);
}

namespace {

// Null, then sizes, then steps; then written rows that would overlap.
IppStatus CheckSampleUp(const Ipp8u* src, int srcStep, IppiSize srcRoi, const Ipp8u* dst, int dstStep,
                        IppiSize dstRoi)
{
    if (AnyNull(src, dst))
        return ippStsNullPtrErr;
    if (BadSize(srcRoi) || BadSize(dstRoi))
        return ippStsSizeErr;
    if (BadStep(srcStep, dstStep))
        return ippStsStepErr;
    if (RowsOverlap(dstStep, dstRoi.width, dstRoi.height))
        return ippStsStrideErr;
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

// Destination rows past the input's rows (H2V1: H, H2V2: 2H) are left alone.
IppStatus ippiSampleUpH2V1_JPEG_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize srcRoiSize, Ipp8u* pDst,
                                       int dstStep, IppiSize dstRoiSize)
{
    const IppStatus status = CheckSampleUp(pSrc, srcStep, srcRoiSize, pDst, dstStep, dstRoiSize);
    if (status != ippStsNoErr)
        return status;
    const int rows = std::min(srcRoiSize.height, dstRoiSize.height);
    for (int r = 0; r < rows; ++r)
        SampleUpH2V1Row(RowAt(pSrc, srcStep, r), srcRoiSize.width, RowAt(pDst, dstStep, r), dstRoiSize.width);
    return ippStsNoErr;
}

// Output row r lies in input row r/2; its nearer neighbour is the row
// above for even r and the row below for odd r, the edge row repeated.
IppStatus ippiSampleUpH2V2_JPEG_8u_C1R(const Ipp8u* pSrc, int srcStep, IppiSize srcRoiSize, Ipp8u* pDst,
                                       int dstStep, IppiSize dstRoiSize)
{
    const IppStatus status = CheckSampleUp(pSrc, srcStep, srcRoiSize, pDst, dstStep, dstRoiSize);
    if (status != ippStsNoErr)
        return status;
    const int rows = static_cast<int>(std::min<std::int64_t>(2 * std::int64_t{srcRoiSize.height}, dstRoiSize.height));
    for (int r = 0; r < rows; ++r) {
        const int j = r / 2;
        const int far = r % 2 == 0 ? std::max(j - 1, 0) : std::min(j + 1, srcRoiSize.height - 1);
        SampleUpH2V2Row(RowAt(pSrc, srcStep, j), RowAt(pSrc, srcStep, far), srcRoiSize.width,
                        RowAt(pDst, dstStep, r), dstRoiSize.width);
    }
    return ippStsNoErr;
}

}  // extern "C"
