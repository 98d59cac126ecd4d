// YUY2 frame sizes and the black fill.
#include "filter/frame_bytes.h"

#include <cstring>

namespace tulfilter {

std::uint64_t ResizerSourceBytes(LONG width, LONG height)
{
    if (width <= 0 || height <= 0)
        return 0;
    const std::uint64_t row = (static_cast<std::uint64_t>(width) * 2 + 3) & ~std::uint64_t{3};
    return row * static_cast<std::uint64_t>(height);
}

std::uint64_t FrameBytes(LONG width, LONG height, ULONG bytesPerPixel, std::uint64_t limit)
{
    if (width <= 0 || height <= 0)
        return 0;
    const std::uint64_t bytes =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * bytesPerPixel;
    return bytes <= limit ? bytes : 0;
}

void PaintBlackYuy2(BYTE* frame, std::size_t bytes)
{
    static constexpr BYTE kPattern[4] = {0x00, 0x7F, 0x00, 0x7F};
    std::size_t i = 0;
    for (; i + 4 <= bytes; i += 4)
        std::memcpy(frame + i, kPattern, 4);
    for (; i < bytes; ++i)
        frame[i] = kPattern[i & 3];
}

}  // namespace tulfilter
