// The frame-difference measure: the sum of absolute differences of one
// value per sample over every 8th row and every 8th pixel from (0, 0),
// wrapping in 32 bits as the measure always has. Packed top-down pictures
// without a step: 4:2:0 luma rows of width bytes, YUY2 and RGB24 rows of
// whole 32-bit words. A null picture or an empty size measures 0.
#include "image/TulImage.h"
#include "image/foundation/format_table.h"
#include "image/resize/status_guard.h"

#include <cstdint>

namespace {

// Every 8th row of `rowBytes` bytes; in each, samples `apart` bytes apart
// from byte 0 while they start inside the row, reduced by `value`.
template <class Value>
ULONG Delta(const unsigned char* a, const unsigned char* b, std::uint64_t rowBytes, ULONG height, std::uint64_t apart,
            Value value)
{
    if (a == nullptr || b == nullptr || rowBytes == 0 || height == 0)
        return 0;
    std::uint32_t sum = 0;
    for (std::uint64_t y = 0; y < height; y += 8) {
        const unsigned char* ra = a + y * rowBytes;
        const unsigned char* rb = b + y * rowBytes;
        for (std::uint64_t x = 0; x < rowBytes; x += apart) {
            const int d = value(ra + x) - value(rb + x);
            sum += static_cast<std::uint32_t>(d < 0 ? -d : d);
        }
    }
    return sum;
}

int Byte(const unsigned char* p) { return *p; }

// (3 B + 6 G + R) / 10, truncated.
int Luma(const unsigned char* p) { return (3 * p[0] + 6 * p[1] + p[2]) / 10; }

}  // namespace

ULONG TulImage::GetDeltaFromYUV420(const unsigned char* a, const unsigned char* b, ULONG width, ULONG height)
{
    return tul::Guarded([&] { return Delta(a, b, width, height, 8, Byte); });
}

ULONG TulImage::GetDeltaFromYUY2(const unsigned char* a, const unsigned char* b, ULONG width, ULONG height)
{
    return tul::Guarded([&] { return Delta(a, b, tul::WordRow<std::uint64_t>(16, width), height, 16, Byte); });
}

ULONG TulImage::GetDeltaFromRGB24(const unsigned char* a, const unsigned char* b, ULONG width, ULONG height)
{
    return tul::Guarded([&] { return Delta(a, b, tul::WordRow<std::uint64_t>(24, width), height, 24, Luma); });
}
