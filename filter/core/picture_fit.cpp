// Aspect fitting for the resizer slot.
#include "filter/core/picture_fit.h"

#include "filter/core/resize_settings_values.h"

namespace tulfilter {
namespace {

// Three 32-bit terms multiplied can pass 64 bits; the quotient always fits
// back in 32 bits because the shorter side is scaled by a ratio below one.
__extension__ typedef __int128 WideProduct;

// a * b * c / (d * e), truncated toward zero like the 64-bit integer
// division it stands for; exact where the 64-bit products would overflow.
LONG ScaledTerm(LONG a, LONG b, LONG c, LONG d, LONG e)
{
    const WideProduct numerator = static_cast<WideProduct>(static_cast<LONGLONG>(a) * b) * c;
    const WideProduct denominator = static_cast<WideProduct>(static_cast<LONGLONG>(d) * e);
    return static_cast<LONG>(numerator / denominator);
}

}  // namespace

bool FitPicture(LONG srcWidth, LONG srcHeight, LONG srcAspectX, LONG srcAspectY, LONG outWidth,
                LONG outHeight, LONG outAspectX, LONG outAspectY, LONG mode,
                PictureSize* picture)
{
    if (!picture || srcWidth <= 0 || srcHeight <= 0 || outWidth <= 0 || outHeight <= 0)
        return false;
    PictureSize fitted{outWidth, outHeight};
    if (mode == RESIZE_MODE_KEEP_ASPECT) {
        LONG sax = srcAspectX, say = srcAspectY;
        if (sax == 1 && say == 1) {
            sax = srcWidth;
            say = srcHeight;
        }
        LONG dax = outAspectX, day = outAspectY;
        if (dax == 1 && day == 1) {
            dax = outWidth;
            day = outHeight;
        }
        if (sax <= 0 || say <= 0 || dax <= 0 || day <= 0)
            return false;
        // Compared in 64 bits: wrapped 32-bit products would pick the wrong
        // side and could give a picture larger than the frame.
        const LONGLONG sourceTall = static_cast<LONGLONG>(say) * dax;
        const LONGLONG sourceWide = static_cast<LONGLONG>(sax) * day;
        if (sourceTall <= sourceWide)
            fitted.height = ScaledTerm(outHeight, say, dax, sax, day);
        else
            fitted.width = ScaledTerm(outWidth, sax, day, say, dax);
        if (fitted.width <= 0 || fitted.height <= 0)
            return false;
    }
    *picture = fitted;
    return true;
}

}  // namespace tulfilter
