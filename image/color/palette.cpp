// Placeholder of TulImage::PaletteToRGB24, until it lands.
#include "image/TulImage.h"

ULONG TulImage::PaletteToRGB24(unsigned char* const, unsigned char*, ULONG*, tagBITMAPINFO*, int, int)
{
    return TUL_INVALID_REQUEST;
}
