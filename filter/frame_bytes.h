// Byte counts of the YUY2 frames the filter handles, and the black frame
// it delivers when it has no picture to draw.
#pragma once

#include "platform/win32/wintypes.h"

#include <cstddef>
#include <cstdint>

namespace tulfilter {

// Bytes the resizer walks in a source frame: its rows are padded to whole
// 32-bit words, so an odd width reads two bytes per row beyond width x 2.
// Zero for a non-positive width or height.
std::uint64_t ResizerSourceBytes(LONG width, LONG height);

// width x height x bytesPerPixel when both sizes are positive and the
// count fits `limit`; else 0.
std::uint64_t FrameBytes(LONG width, LONG height, ULONG bytesPerPixel, std::uint64_t limit);

// Largest output frame: buffer sizes are signed 32-bit (ALLOCATOR_PROPERTIES).
constexpr std::uint64_t kMaxOutputFrameBytes = INT32_MAX;

// Bytes 00 7F 00 7F repeated (Y 0, U and V 127): the resizer's black.
void PaintBlackYuy2(BYTE* frame, std::size_t bytes);

}  // namespace tulfilter
