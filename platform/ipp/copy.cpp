// ippiCopy_*: whole-row copies, and the channel and plane rearrangements
// that copy without arithmetic.
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <cstdint>
#include <cstring>

namespace tulipp {
namespace {

// Rows are moved with memmove, and bottom-up when the destination lies
// above the source, so a picture shifted within its own buffer (same step)
// comes out whole instead of repeating its first rows.
void MoveRows(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, int pixelBytes)
{
    const std::size_t rowBytes = static_cast<std::size_t>(roi.width) * pixelBytes;
    const bool bottomUp = reinterpret_cast<std::uintptr_t>(dst) > reinterpret_cast<std::uintptr_t>(src);
    for (int i = 0; i < roi.height; ++i) {
        const int y = bottomUp ? roi.height - 1 - i : i;
        std::memmove(RowAt(dst, dstStep, y), RowAt(src, srcStep, y), rowBytes);
    }
}

IppStatus CopyPacked(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi, int pixelBytes)
{
    if (AnyNull(src, dst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, srcStep, pixelBytes, dstStep, pixelBytes);
    if (status != ippStsNoErr)
        return status;
    MoveRows(src, srcStep, dst, dstStep, roi, pixelBytes);
    return ippStsNoErr;
}

// The first `Copied` channels of each pixel between two interleaved
// layouts; channels of the destination beyond them are left as they are.
template <int SrcChannels, int DstChannels, int Copied>
void CopyChannelsRow(const Ipp8u* __restrict s, Ipp8u* __restrict d, int width)
{
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < Copied; ++c)
            d[DstChannels * x + c] = s[SrcChannels * x + c];
}

template <int SrcChannels, int DstChannels, int Copied>
IppStatus CopyChannels(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi)
{
    if (AnyNull(src, dst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, srcStep, SrcChannels, dstStep, DstChannels);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roi.height; ++y)
        CopyChannelsRow<SrcChannels, DstChannels, Copied>(RowAt(src, srcStep, y), RowAt(dst, dstStep, y), roi.width);
    return ippStsNoErr;
}

template <int N>
void PackedToPlanesRow(const Ipp8u* __restrict s, Ipp8u* const* planes, int width)
{
    for (int c = 0; c < N; ++c) {
        Ipp8u* __restrict d = planes[c];
        for (int x = 0; x < width; ++x)
            d[x] = s[N * x + c];
    }
}

template <int N>
void PlanesToPackedRow(const Ipp8u* const* planes, Ipp8u* __restrict d, int width)
{
    for (int c = 0; c < N; ++c) {
        const Ipp8u* __restrict s = planes[c];
        for (int x = 0; x < width; ++x)
            d[N * x + c] = s[x];
    }
}

template <int N>
bool AnyPlaneNull(const Ipp8u* const* planes)
{
    if (planes == nullptr)
        return true;
    for (int c = 0; c < N; ++c)
        if (planes[c] == nullptr)
            return true;
    return false;
}

// All planes share one step, as in IPP.
template <int N>
IppStatus PackedToPlanes(const Ipp8u* src, int srcStep, Ipp8u* const* planes, int planeStep, IppiSize roi)
{
    if (src == nullptr || AnyPlaneNull<N>(planes))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, srcStep, N, planeStep, 1);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roi.height; ++y) {
        Ipp8u* rows[N];
        for (int c = 0; c < N; ++c)
            rows[c] = RowAt(planes[c], planeStep, y);
        PackedToPlanesRow<N>(RowAt(src, srcStep, y), rows, roi.width);
    }
    return ippStsNoErr;
}

template <int N>
IppStatus PlanesToPacked(const Ipp8u* const* planes, int planeStep, Ipp8u* dst, int dstStep, IppiSize roi)
{
    if (AnyPlaneNull<N>(planes) || dst == nullptr)
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, planeStep, 1, dstStep, N);
    if (status != ippStsNoErr)
        return status;
    for (int y = 0; y < roi.height; ++y) {
        const Ipp8u* rows[N];
        for (int c = 0; c < N; ++c)
            rows[c] = RowAt(planes[c], planeStep, y);
        PlanesToPackedRow<N>(rows, RowAt(dst, dstStep, y), roi.width);
    }
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiCopy_8u_C1R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    return CopyPacked(pSrc, srcStep, pDst, dstStep, roiSize, 1);
}

IppStatus ippiCopy_8u_C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    return CopyPacked(pSrc, srcStep, pDst, dstStep, roiSize, 3);
}

IppStatus ippiCopy_8u_C4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    return CopyPacked(pSrc, srcStep, pDst, dstStep, roiSize, 4);
}

IppStatus ippiCopy_8u_C3AC4R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    return CopyChannels<3, 4, 3>(pSrc, srcStep, pDst, dstStep, roiSize);
}

IppStatus ippiCopy_8u_AC4C3R(const Ipp8u* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    return CopyChannels<4, 3, 3>(pSrc, srcStep, pDst, dstStep, roiSize);
}

IppStatus ippiCopy_8u_C3P3R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[3], int dstStep, IppiSize roiSize)
{
    return PackedToPlanes<3>(pSrc, srcStep, pDst, dstStep, roiSize);
}

IppStatus ippiCopy_8u_C4P4R(const Ipp8u* pSrc, int srcStep, Ipp8u* const pDst[4], int dstStep, IppiSize roiSize)
{
    return PackedToPlanes<4>(pSrc, srcStep, pDst, dstStep, roiSize);
}

IppStatus ippiCopy_8u_P4C4R(const Ipp8u* const pSrc[4], int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize)
{
    return PlanesToPacked<4>(pSrc, srcStep, pDst, dstStep, roiSize);
}

}  // extern "C"
