// ippiScale_8u32f_C3R and ippiScale_32f8u_C3R: the linear map between the
// byte range 0..255 and a float range [vMin, vMax], three channels alike.
// Float rows go through memcpy, so any step addresses them safely.
#include "platform/ipp/scale_32f.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <cstring>

namespace tulipp {
namespace {

constexpr int kFloatPixel = 3 * sizeof(Ipp32f);

// Null pointers, size, steps and overlapping written rows, then the range:
// an empty, reversed or NaN range maps nothing.
IppStatus CheckScale(const void* src, int srcStep, int srcPixel, const void* dst, int dstStep, int dstPixel,
                     IppiSize roi, Ipp32f vMin, Ipp32f vMax)
{
    if (AnyNull(src, dst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, srcStep, srcPixel, dstStep, dstPixel);
    if (status != ippStsNoErr)
        return status;
    return vMax - vMin > 0.0f ? ippStsNoErr : ippStsScaleRangeErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiScale_8u32f_C3R(const Ipp8u* pSrc, int srcStep, Ipp32f* pDst, int dstStep, IppiSize roiSize,
                              Ipp32f vMin, Ipp32f vMax)
{
    const IppStatus status = CheckScale(pSrc, srcStep, 3, pDst, dstStep, kFloatPixel, roiSize, vMin, vMax);
    if (status != ippStsNoErr)
        return status;
    auto* dst = reinterpret_cast<Ipp8u*>(pDst);
    for (int y = 0; y < roiSize.height; ++y) {
        const Ipp8u* s = RowAt(pSrc, srcStep, y);
        Ipp8u* d = RowAt(dst, dstStep, y);
        for (int i = 0; i < 3 * roiSize.width; ++i) {
            const Ipp32f v = Scale8u32fValue(s[i], vMin, vMax);
            std::memcpy(d + 4 * i, &v, sizeof v);
        }
    }
    return ippStsNoErr;
}

IppStatus ippiScale_32f8u_C3R(const Ipp32f* pSrc, int srcStep, Ipp8u* pDst, int dstStep, IppiSize roiSize,
                              Ipp32f vMin, Ipp32f vMax)
{
    const IppStatus status = CheckScale(pSrc, srcStep, kFloatPixel, pDst, dstStep, 3, roiSize, vMin, vMax);
    if (status != ippStsNoErr)
        return status;
    const auto* src = reinterpret_cast<const Ipp8u*>(pSrc);
    for (int y = 0; y < roiSize.height; ++y) {
        const Ipp8u* s = RowAt(src, srcStep, y);
        Ipp8u* d = RowAt(pDst, dstStep, y);
        for (int i = 0; i < 3 * roiSize.width; ++i) {
            Ipp32f v;
            std::memcpy(&v, s + 4 * i, sizeof v);
            d[i] = Scale32f8uValue(v, vMin, vMax);
        }
    }
    return ippStsNoErr;
}

}  // extern "C"
