// What the resize entry points need to know of each picture layout (default
// step, byte count, whether a picture fits its step), and the scratch
// planes of a YUY2 resize through the primitive resamplers.
#pragma once

#include "image/TulImage.h"

#include <cstdint>

namespace tul {

class PictureLayout {
public:
    enum Kind { Yuy2, Yuv420, Rgb24, Rgb32 };
    explicit constexpr PictureLayout(Kind kind) : m_kind(kind) {}

    // The default (positive) step for a width, used when a caller passes 0.
    int DefaultStep(ULONG width) const;
    // Bytes a picture of `height` rows at `step` occupies.
    std::uint64_t Bytes(int step, ULONG height) const;
    // Sizes the primitives can take (1 to INT32_MAX), rows that fit the
    // step, and a byte count that fits in 32 bits.
    bool Fits(ULONG width, ULONG height, int step) const;

private:
    Kind m_kind;
};

const PictureLayout& Yuy2Layout();
const PictureLayout& Yuv420Layout();
const PictureLayout& Rgb24Layout();
const PictureLayout& Rgb32Layout();

// The default YUY2 row: 16 bits a pixel rounded up to whole 32-bit words.
inline ULONG Yuy2Row(ULONG width) { return ((16u * width + 31u) >> 3) & ~3u; }

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
