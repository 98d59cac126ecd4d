// ippiConvert_32f8u_C3R: three-channel float pictures to bytes under a
// rounding mode. Float rows are read through memcpy, so a step that is not
// a multiple of 4 addresses its floats without misaligned loads.
#include "platform/ipp/convert_32f8u.h"

#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <cstring>

namespace tulipp {
namespace {

template <IppRoundMode Mode>
void Convert32f8uRows(const Ipp8u* src, int srcStep, Ipp8u* dst, int dstStep, IppiSize roi)
{
    const int samples = 3 * roi.width;
    for (int y = 0; y < roi.height; ++y) {
        const Ipp8u* s = RowAt(src, srcStep, y);
        Ipp8u* d = RowAt(dst, dstStep, y);
        for (int i = 0; i < samples; ++i) {
            Ipp32f v;
            std::memcpy(&v, s + 4 * i, sizeof v);
            d[i] = Convert32f8uValue<Mode>(v);
        }
    }
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" IppStatus ippiConvert_32f8u_C3R(const Ipp32f* pSrc, int srcStep, Ipp8u* pDst, int dstStep,
                                           IppiSize roiSize, IppRoundMode roundMode)
{
    if (AnyNull(pSrc, pDst))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roiSize, srcStep, 3 * sizeof(Ipp32f), dstStep, 3);
    if (status != ippStsNoErr)
        return status;
    const auto* src = reinterpret_cast<const Ipp8u*>(pSrc);
    switch (roundMode) {
    case ippRndZero: Convert32f8uRows<ippRndZero>(src, srcStep, pDst, dstStep, roiSize); break;
    case ippRndNear: Convert32f8uRows<ippRndNear>(src, srcStep, pDst, dstStep, roiSize); break;
    case ippRndFinancial: Convert32f8uRows<ippRndFinancial>(src, srcStep, pDst, dstStep, roiSize); break;
    default: return ippStsRoundModeNotSupportedErr;
    }
    return ippStsNoErr;
}
