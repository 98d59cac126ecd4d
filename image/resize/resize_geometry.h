// What the resize entry points need to know of a picture layout (default
// step, byte count, whether a picture fits its step), read from the format
// table, and the scratch planes of a YUY2 resize through the primitive
// resamplers.
#pragma once

#include "image/TulImage.h"
#include "image/foundation/format_table.h"

#include <cstdint>

namespace tul {

class PictureLayout {
public:
    explicit constexpr PictureLayout(Format format) : m_format(&FormatOf(format)) {}

    const FormatInfo& Info() const { return *m_format; }
    // The default (positive) step for a width, used when a caller passes 0;
    // 0 for a width whose row does not fit an int (Fits refuses those).
    int DefaultStep(ULONG width) const;
    // Bytes a picture of `height` rows at `step` occupies.
    std::uint64_t Bytes(int step, ULONG height) const;
    // Sizes the primitives can take (1 to INT32_MAX), rows that fit the
    // step, and a byte count that fits in 32 bits.
    bool Fits(ULONG width, ULONG height, int step) const;

private:
    const FormatInfo* m_format;
};

// One side (Y, U, V) of the scratch planes: Y width x height, U and V half
// the width rounded up (at least one column) and the full height; 4:2:2
// chroma keeps every row. False, with nothing held, when a plane cannot be had.
bool AllocatePlanes(unsigned char* planes[3], int steps[3], IppiSize size);
void ReleasePlanes(unsigned char* planes[3], int steps[3]);

// Scratch planes owned for the length of one call.
class ScratchPlanes {
public:
    ScratchPlanes() : m_planes{} {}
    ~ScratchPlanes();
    ScratchPlanes(const ScratchPlanes&) = delete;
    ScratchPlanes& operator=(const ScratchPlanes&) = delete;

    bool Allocate(IppiSize src, IppiSize dst);
    TEMP_PLANAR_FORMAT* Get() { return &m_planes; }

private:
    TEMP_PLANAR_FORMAT m_planes;
};

}  // namespace tul
