// YUY2 frame sizes and the black fill, from the picture library's format table.
#include "filter/frame_bytes.h"

#include "image/foundation/black_fill.h"
#include "image/foundation/format_table.h"

namespace tulfilter {

std::uint64_t ResizerSourceBytes(LONG width, LONG height)
{
    if (width <= 0 || height <= 0)
        return 0;
    const std::uint64_t row =
        tul::DefaultRow<std::uint64_t>(tul::Yuy2Format(), static_cast<std::uint64_t>(width));
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
    tul::FillBlack(frame, tul::Yuy2Format(), bytes);
}

}  // namespace tulfilter
