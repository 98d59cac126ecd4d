// One float sample to 8 bits as ippiConvert_32f8u_* gives it: rounded by
// the IppRoundMode, then saturated to 0..255. Shared by the primitive's
// rows and by the colour kernels that build their byte tables from it.
#pragma once

#include "platform/ipp/ippdefs.h"

namespace tulipp {

// Values at or below 0 (and NaN, which compares false) give 0, values at
// or above 255 (+inf included) give 255. In between, v - trunc(v) is exact
// in float (v and its integer part lie within a factor of two), so the
// halves are seen exactly: ippRndNear takes them to the even neighbour,
// ippRndFinancial away from zero, ippRndZero drops the fraction.
template <IppRoundMode Mode>
inline Ipp8u Convert32f8uValue(Ipp32f v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    const int i = static_cast<int>(v);
    const Ipp32f fraction = v - static_cast<Ipp32f>(i);
    int up = 0;
    if constexpr (Mode == ippRndNear)
        up = fraction > 0.5f || (fraction == 0.5f && (i & 1) != 0);
    else if constexpr (Mode == ippRndFinancial)
        up = fraction >= 0.5f;
    return static_cast<Ipp8u>(i + up);  // i <= 254
}

}  // namespace tulipp
