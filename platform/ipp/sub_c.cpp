// ippiSubC_8u_C1IRSfs and ippiSubC_8u_C3IRSfs: subtract a constant from
// every sample in place, scale the exact difference by 2^-scaleFactor
// (halves to even), saturate to 0..255.
#include "platform/ipp/color_coefficients.h"
#include "platform/ipp/ippi.h"
#include "platform/ipp/row_access.h"

#include <algorithm>
#include <cstdint>

namespace tulipp {
namespace {

// round_half_even(r * 2^-sf), saturated. |r| <= 255, so a division by
// 2^9 or more always rounds to 0, and a multiplication by 2^8 or more
// always saturates: the shifts are capped there (any int is a valid sf).
Ipp8u ScaleSaturate(int r, int sf)
{
    if (sf < 0)
        return color::Saturate(r * (std::int64_t{1} << std::min(-static_cast<std::int64_t>(sf), std::int64_t{9})));
    if (sf == 0)
        return color::Saturate(r);
    if (sf > 9)
        return 0;
    const int q = r >> sf;  // floor
    const int rem = r - (q << sf);
    const int half = 1 << (sf - 1);
    return color::Saturate(q + ((rem > half || (rem == half && (q & 1) != 0)) ? 1 : 0));
}

// The row with its byte table: a sample's result depends only on its
// value and channel, so each channel's 256 results are computed once.
IppStatus SubC(const Ipp8u* value, int channels, Ipp8u* p, int step, IppiSize roi, int sf)
{
    if (AnyNull(value, p))
        return ippStsNullPtrErr;
    const IppStatus status = CheckRoi(roi, step, channels, step, channels);
    if (status != ippStsNoErr)
        return status;
    Ipp8u table[3][256];
    for (int c = 0; c < channels; ++c)
        for (int s = 0; s < 256; ++s)
            table[c][s] = ScaleSaturate(s - value[c], sf);
    for (int y = 0; y < roi.height; ++y) {
        Ipp8u* row = RowAt(p, step, y);
        for (int x = 0; x < roi.width; ++x)
            for (int c = 0; c < channels; ++c)
                row[x * channels + c] = table[c][row[x * channels + c]];
    }
    return ippStsNoErr;
}

}  // namespace
}  // namespace tulipp

using namespace tulipp;

extern "C" {

IppStatus ippiSubC_8u_C1IRSfs(Ipp8u value, Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize, int scaleFactor)
{
    return SubC(&value, 1, pSrcDst, srcDstStep, roiSize, scaleFactor);
}

IppStatus ippiSubC_8u_C3IRSfs(const Ipp8u value[3], Ipp8u* pSrcDst, int srcDstStep, IppiSize roiSize,
                              int scaleFactor)
{
    return SubC(value, 3, pSrcDst, srcDstStep, roiSize, scaleFactor);
}

}  // extern "C"
