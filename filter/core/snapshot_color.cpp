// YUY2 to bottom-up BGR24 for snapshots.
#include "filter/core/snapshot_color.h"

#include "platform/com/hresult.h"

#include <cstddef>
#include <cstdint>

namespace {

// 1.772, 0.344, 0.714 and 1.402 scaled by 32768.
constexpr std::int32_t kBlueFromU = 58064;
constexpr std::int32_t kGreenFromU = 11272;
constexpr std::int32_t kGreenFromV = 23396;
constexpr std::int32_t kRedFromV = 45940;

inline BYTE ClampByte(std::int32_t v)
{
    return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// One line of `pairs` pixel pairs. The shifts are arithmetic (C++20), so
// negative sums round toward minus infinity before the clamp.
void ConvertLine(BYTE* __restrict bgr, const BYTE* __restrict yuy2, std::size_t pairs)
{
    for (std::size_t p = 0; p < pairs; ++p, yuy2 += 4, bgr += 6) {
        const std::int32_t d = yuy2[1] - 128;
        const std::int32_t e = yuy2[3] - 128;
        const std::int32_t blue = kBlueFromU * d;
        const std::int32_t green = -kGreenFromU * d - kGreenFromV * e;
        const std::int32_t red = kRedFromV * e;
        const std::int32_t y0 = yuy2[0] * 32768;
        const std::int32_t y1 = yuy2[2] * 32768;
        bgr[0] = ClampByte((y0 + blue) >> 15);
        bgr[1] = ClampByte((y0 + green) >> 15);
        bgr[2] = ClampByte((y0 + red) >> 15);
        bgr[3] = ClampByte((y1 + blue) >> 15);
        bgr[4] = ClampByte((y1 + green) >> 15);
        bgr[5] = ClampByte((y1 + red) >> 15);
    }
}

}  // namespace

HRESULT Yuy2ToBgr24BottomUp(BYTE* dst, const BYTE* src, LONG width, LONG height)
{
    if (!dst || !src || width < 0)
        return E_FAIL;
    if (height < 1 || width == 0)
        return S_OK;
    const std::size_t srcLine = static_cast<std::size_t>(width) * 2;
    const std::size_t dstLine = static_cast<std::size_t>(width) * 3;
    const std::size_t rows = static_cast<std::size_t>(height);
    if (dstLine * rows > UINT32_MAX)
        return E_FAIL;
    const std::size_t pairs = static_cast<std::size_t>(width) / 2;
    for (std::size_t r = 0; r < rows; ++r)
        ConvertLine(dst + (rows - 1 - r) * dstLine, src + r * srcLine, pairs);
    return S_OK;
}
