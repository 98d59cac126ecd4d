// The field operations' shared admission and overlap rule.
#include "image/field/field_picture.h"

namespace tul::field {

ULONG Admit(TulImage::COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step, Geometry* g)
{
    // INT32_MIN has no magnitude in an int; 0 names no pitch here (rows
    // are moved at the step the caller gives).
    if (step == 0 || step == INT32_MIN)
        return TulImage::TUL_INVALID_REQUEST;
    const FormatInfo& f = FormatOf(format);
    const std::int64_t pitch = step < 0 ? -static_cast<std::int64_t>(step) : step;
    if (static_cast<std::uint64_t>(pitch) < PixelRow(f, width))
        return TulImage::TUL_INVALID_REQUEST;
    g->planar = f.family == FormatFamily::Planar420;
    g->pitch = pitch;
    g->rows = height;
    // Under 2^32 x 2^32, so the product is exact in 64 unsigned bits.
    const auto rowBytes = static_cast<std::uint64_t>(g->planar ? pitch + pitch / 2 : pitch);
    if (rowBytes * height > UINT32_MAX)
        return TulImage::TUL_INVALID_REQUEST;
    g->empty = width == 0 || height == 0;
    return TulImage::TUL_SUCCESS;
}

bool Apart(const void* a, std::int64_t aBytes, const void* b, std::int64_t bBytes)
{
    const auto x = reinterpret_cast<std::uintptr_t>(a);
    const auto y = reinterpret_cast<std::uintptr_t>(b);
    return x + static_cast<std::uintptr_t>(aBytes) <= y || y + static_cast<std::uintptr_t>(bBytes) <= x;
}

bool SameOrApart(const void* a, std::int64_t aBytes, const void* b, std::int64_t bBytes)
{
    return a == b || Apart(a, aBytes, b, bBytes);
}

}  // namespace tul::field
