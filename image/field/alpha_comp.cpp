// Alpha compositing of a 32-bit picture with per-pixel alpha over a
// background: into a 32-bit picture (AlphaCompRGB32), or over an opaque
// RGB24 background into RGB24 (AlphaCompRGB24). Packed top-down pictures
// without a step; any failure zeroes the whole of `out`.
#include "image/TulImage.h"
#include "image/foundation/format_table.h"
#include "image/resize/status_guard.h"
#include "platform/ipp/alpha_comp_rows.h"
#include "platform/ipp/ippi.h"

#include <cstdint>
#include <cstring>

namespace {

using T = TulImage;

// Row bytes of the two layouts, refused (false) when a row or the picture
// would not fit in 32 bits or a row's step in an int.
bool Rows(ULONG width, ULONG height, std::int64_t* rgb32Row, std::int64_t* rgb24Row)
{
    *rgb32Row = 4 * static_cast<std::int64_t>(width);
    *rgb24Row = static_cast<std::int64_t>(tul::WordRow<std::uint64_t>(24, width));
    return *rgb32Row <= INT32_MAX && static_cast<std::uint64_t>(*rgb32Row) * height <= UINT32_MAX &&
           height <= INT32_MAX;
}

}  // namespace

ULONG TulImage::AlphaCompRGB32(unsigned char* const fg, unsigned char* const bg, unsigned char* out, ULONG width,
                               ULONG height)
{
    return tul::Guarded([&]() -> ULONG {
        std::int64_t row = 0, row24 = 0;
        if (fg == nullptr || bg == nullptr || out == nullptr || !Rows(width, height, &row, &row24))
            return TUL_INVALID_REQUEST;
        const int step = static_cast<int>(row);
        if (ippiAlphaComp_8u_AC4R(fg, step, bg, step, out, step, IppiSize{int(width), int(height)}, ippAlphaOver) ==
            ippStsNoErr)
            return TUL_SUCCESS;
        std::memset(out, 0, static_cast<std::size_t>(row) * height);
        return TUL_FAILED;
    });
}

// Row by row through the fused OVER row for an opaque RGB24 background: the
// same bytes as compositing over the background made opaque in a 4-channel
// row, without that row or any memory of its own.
ULONG TulImage::AlphaCompRGB24(unsigned char* const fg, unsigned char* const bg, unsigned char* out, ULONG width,
                               ULONG height)
{
    return tul::Guarded([&]() -> ULONG {
        std::int64_t row32 = 0, row24 = 0;
        if (fg == nullptr || bg == nullptr || out == nullptr || !Rows(width, height, &row32, &row24))
            return TUL_INVALID_REQUEST;
        if (width == 0 || height == 0)
            return TUL_FAILED;  // no picture to composite, nothing to zero
        const tulipp::AlphaOverRgb24RowFn row = tulipp::kAlphaOverRgb24Rows.Active();
        for (ULONG y = 0; y < height; ++y)
            row(fg + static_cast<std::int64_t>(y) * row32, bg + static_cast<std::int64_t>(y) * row24,
                out + static_cast<std::int64_t>(y) * row24, static_cast<int>(width));
        return TUL_SUCCESS;
    });
}
