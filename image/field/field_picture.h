// How the field operations see a picture: the refusals they all share,
// the picture's rows as planes of whole rows in memory order (64-bit
// offsets throughout), and the overlap rule for source and destination.
#pragma once

#include "image/TulImage.h"
#include "image/foundation/format_table.h"

#include <cstdint>
#include <cstring>

namespace tul::field {

// Rows of one plane in memory order; each row moves `pitch` bytes.
template <class Byte>
struct Plane {
    Byte* base;
    std::int64_t pitch;
    std::int64_t rows;
    Byte* Row(std::int64_t r) const { return base + r * pitch; }
};

// An admitted picture: |step| bytes a row, `rows` rows.
struct Geometry {
    bool planar = false;  // 4:2:0: luma, then the chroma block
    std::int64_t pitch = 0;
    std::int64_t rows = 0;
    bool empty = false;  // no pixels: nothing to write

    // Bytes a frame's own rows reach: a 4:2:0 frame ends with its second
    // chroma plane (an odd height's spare half row is no picture row).
    std::int64_t FrameBytes() const
    {
        return planar ? PlanesOf420(pitch, rows).end : pitch * rows;
    }
    // The buffer of a field of `n` rows (GetPictureSize): a 4:2:0 field's
    // chroma block has n rows, so an odd n carries one spare chroma row.
    std::int64_t FieldBytes(std::int64_t n) const { return n * (planar ? pitch + pitch / 2 : pitch); }

    template <class Byte>
    Plane<Byte> Luma(Byte* base, std::int64_t n) const
    {
        return {base, pitch, n};
    }
    // Both chroma planes of a picture of `lumaRows` rows as one block of
    // `blockRows` rows of pitch / 2 bytes, right after the luma rows.
    template <class Byte>
    Plane<Byte> ChromaBlock(Byte* base, std::int64_t lumaRows, std::int64_t blockRows) const
    {
        return {base + lumaRows * pitch, pitch / 2, blockRows};
    }
    // One chroma plane (1 first, 2 second) of the frame, where the frame's
    // own height and pitch put it.
    template <class Byte>
    Plane<Byte> Chroma(Byte* base, int plane) const
    {
        const Planes420 p = PlanesOf420(pitch, rows);
        return {base + p.offset[plane], p.chromaPitch, p.chromaRows};
    }
};

// The refusals every field operation makes before it writes: a step of 0
// or INT32_MIN, a step shorter than the format's row, and a picture whose
// buffer (GetPictureSize) does not fit in 32 bits. TUL_SUCCESS fills `g`.
ULONG Admit(TulImage::COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step, Geometry* g);

// Source and destination are one buffer (in place) or share no byte; a
// partial overlap would have rows overwritten before they are read.
bool SameOrApart(const void* a, std::int64_t aBytes, const void* b, std::int64_t bBytes);
bool Apart(const void* a, std::int64_t aBytes, const void* b, std::int64_t bBytes);

// One row; nothing to do when a row is moved onto itself.
inline void MoveRow(unsigned char* to, const unsigned char* from, std::int64_t bytes)
{
    if (to != from)
        std::memmove(to, from, static_cast<std::size_t>(bytes));
}

// The whole frame when source and destination differ (progressive input).
inline void CopyFrame(const unsigned char* src, unsigned char* dst, const Geometry& g)
{
    MoveRow(dst, src, g.FrameBytes());
}

// A top-down SCAN_TOP_FIELD_FIRST frame, like a bottom-up
// SCAN_BOTTOM_FIELD_FIRST one, has its later field on the odd memory rows:
// deinterlacing keeps those rows and a field swap moves rows down.
inline bool KeepsOddRows(TulImage::SCAN_TYPE scan, int step)
{
    return (scan == TulImage::SCAN_TOP_FIELD_FIRST) == (step > 0);
}
inline bool ShiftsDown(TulImage::SCAN_TYPE scan, int step) { return KeepsOddRows(scan, step); }

inline bool ValidScan(TulImage::SCAN_TYPE scan)
{
    return scan >= TulImage::SCAN_PROGRESSIVE && scan <= TulImage::SCAN_BOTTOM_FIELD_FIRST;
}

}  // namespace tul::field
