// The argument checks the primitives share, in the order every primitive
// applies them: null pointers, then sizes, then steps, then the checks of
// its own. A failing check returns before anything is written.
#pragma once

#include "platform/ipp/ippdefs.h"

#include <cstdint>

namespace tulipp {

inline bool AnyNull() { return false; }
template <typename P, typename... Rest>
inline bool AnyNull(P p, Rest... rest)
{
    return p == nullptr || AnyNull(rest...);
}

inline bool BadSize(IppiSize s) { return s.width <= 0 || s.height <= 0; }

inline bool BadStep() { return false; }
template <typename... Rest>
inline bool BadStep(int step, Rest... rest)
{
    return step <= 0 || BadStep(rest...);
}

// Bytes a row of `width` pixels of `bytesPerPixel` occupies, or -1 when
// that would not fit in an int (such a row cannot be addressed by a step).
inline std::int64_t RowBytes(int width, int bytesPerPixel)
{
    const std::int64_t bytes = static_cast<std::int64_t>(width) * bytesPerPixel;
    return bytes > INT32_MAX ? -1 : bytes;
}

}  // namespace tulipp
