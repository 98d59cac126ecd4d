// Painting a picture black in its own format: the black group of the
// format table repeated along a row (YUY2 00 7F 00 7F, VUYA 7F 7F 00 00).
#pragma once

#include "image/foundation/format_table.h"

#include <cstddef>
#include <cstring>

namespace tul {

// Repeats a format's 4-byte black group over `bytes` bytes from `dst`; a
// tail shorter than a group takes the group's first bytes.
inline void FillBlack(unsigned char* dst, const FormatInfo& format, std::size_t bytes)
{
    std::size_t i = 0;
    for (; i + 4 <= bytes; i += 4)
        std::memcpy(dst + i, format.black, 4);
    for (; i < bytes; ++i)
        dst[i] = format.black[i & 3];
}

inline const FormatInfo& Yuy2Format() { return FormatOf(TulImage::COLOR_FORMAT_YUY2); }

}  // namespace tul
