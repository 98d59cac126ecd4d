// One sample of ippiScale_8u32f_* and ippiScale_32f8u_*, in single
// precision and in the order the equations are written, so every path
// (the primitives' rows, the colour kernels' byte tables) gives the same
// floats. Baseline x86-64 has no fused multiply-add to contract them into.
#pragma once

#include "platform/ipp/convert_32f8u.h"

namespace tulipp {

// D = vMin + (vMax - vMin) * S / 255: 0 gives vMin, 255 gives vMax; with
// [0, 219], 128 gives 109.92941 and 254 gives 218.14117.
inline Ipp32f Scale8u32fValue(Ipp8u s, Ipp32f vMin, Ipp32f vMax)
{
    return vMin + (vMax - vMin) * static_cast<Ipp32f>(s) / 255.0f;
}

// D = (S - vMin) * 255 / (vMax - vMin), rounded to nearest with halves to
// even (the rule of ippRndNear; the library leaves it open) and saturated:
// values outside [vMin, vMax] give 0 or 255, NaN gives 0.
inline Ipp8u Scale32f8uValue(Ipp32f s, Ipp32f vMin, Ipp32f vMax)
{
    return Convert32f8uValue<ippRndNear>((s - vMin) * 255.0f / (vMax - vMin));
}

}  // namespace tulipp
