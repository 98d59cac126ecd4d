// The pixel-format table: one constexpr description per COLOR_FORMAT_TYPE
// (bits per pixel, planes and their subsampling, black bytes, the row-step
// rule, the default step sign, how the centre resampler sees a pixel), the
// default-row rule, and the plane addresses of a 4:2:0 picture. Picture
// geometry, the black fills, the resize admission and dispatch, and the
// filter's frame sizes all read it.
#pragma once

#include "image/TulImage.h"

#include <cstdint>

namespace tul {

// Neutral chroma is 127, not 128; cleared luma and RGB are 0, not the
// studio black level 16.
constexpr unsigned char kLumaBlack = 0;
constexpr unsigned char kChromaBlack = 127;

// How a format is laid out and resized.
enum class FormatFamily {
    Unknown,    // no layout: 0 bits, nothing to resize
    Packed422,  // YUY2: Y U Y V per pixel pair, resized as three planes
    PackedRgb,  // one pixel of `channels` interleaved bytes
    Planar420,  // luma plane, then two chroma planes of half width and height
};

// How the default row length follows from the width.
enum class RowRule {
    Words32,  // bits x width rounded up to whole 32-bit words
    Width,    // the width itself (the 4:2:0 luma pitch), no rounding
};

struct FormatInfo {
    FormatFamily family;
    ULONG bitsPerPixel;
    int planes;             // 1 packed, 3 planar
    int chromaShiftX;       // chroma samples: width >> shift, rows >> shift
    int chromaShiftY;       // (YUY2's 4:2:2 chroma is resized as planes so)
    RowRule rowRule;
    int defaultStepSign;    // +1 top-down, -1 bottom-up
    int groupPixels;        // pixels that share one group of bytes (YUY2: 2)
    int groupBytes;         // bytes of that group (0 for planar and unknown)
    unsigned char black[4]; // black of one group, repeated along a row
    bool clearWholePitch;   // ClearPicture also blacks a row's padding
    int resampleChannels;   // interleaved samples the centre resampler takes
};

using Format = TulImage::COLOR_FORMAT_TYPE;

// Index = the COLOR_FORMAT_TYPE value; the last entry stands for any value
// outside 0 to 7.
inline constexpr FormatInfo kFormats[9] = {
    // YUY2
    {FormatFamily::Packed422, 16, 1, 1, 0, RowRule::Words32, +1, 2, 4,
     {kLumaBlack, kChromaBlack, kLumaBlack, kChromaBlack}, false, 1},
    // RGB24
    {FormatFamily::PackedRgb, 24, 1, 0, 0, RowRule::Words32, -1, 1, 3, {0, 0, 0, 0}, true, 3},
    // RGB32
    {FormatFamily::PackedRgb, 32, 1, 0, 0, RowRule::Words32, -1, 1, 4, {0, 0, 0, 0}, true, 4},
    // shifted-straight RGB24
    {FormatFamily::PackedRgb, 24, 1, 0, 0, RowRule::Words32, -1, 1, 3, {0, 0, 0, 0}, true, 3},
    // shifted-straight RGB32
    {FormatFamily::PackedRgb, 32, 1, 0, 0, RowRule::Words32, -1, 1, 4, {0, 0, 0, 0}, true, 4},
    // YUV420 (I420: Y, U, V)
    {FormatFamily::Planar420, 12, 3, 1, 1, RowRule::Width, +1, 1, 0,
     {kLumaBlack, kChromaBlack, kChromaBlack, 0}, false, 1},
    // YV12 (Y, V, U): the chroma planes are treated alike, so the same entry
    {FormatFamily::Planar420, 12, 3, 1, 1, RowRule::Width, +1, 1, 0,
     {kLumaBlack, kChromaBlack, kChromaBlack, 0}, false, 1},
    // VUYA: V and U neutral, Y and A zero; resized as four channels
    {FormatFamily::PackedRgb, 32, 1, 0, 0, RowRule::Words32, -1, 1, 4,
     {kChromaBlack, kChromaBlack, kLumaBlack, 0}, false, 4},
    // unknown: 0 bits, a row of 0 bytes; a given step still counts rows
    {FormatFamily::Unknown, 0, 1, 0, 0, RowRule::Words32, -1, 1, 0, {0, 0, 0, 0}, true, 0},
};

constexpr const FormatInfo& FormatOf(Format format)
{
    const int f = static_cast<int>(format);
    return f >= 0 && f < 8 ? kFormats[f] : kFormats[8];
}

// The 32-bit-word row rule: ((bits x width + 31) >> 3) with the two low
// bits cleared. In ULONG it wraps as the exported sizes do; in 64 bits it
// is exact, for checks that must not wrap.
template <class U>
constexpr U WordRow(U bitsPerPixel, U width)
{
    return ((bitsPerPixel * width + 31u) >> 3) & ~U{3};
}

// Default row length (the magnitude of the default step) of a width.
template <class U>
constexpr U DefaultRow(const FormatInfo& f, U width)
{
    return f.rowRule == RowRule::Width ? width : WordRow<U>(f.bitsPerPixel, width);
}

// Bytes the pixels of one row occupy, which a step must hold: whole
// groups (a YUY2 pair is 4 bytes, so odd widths round up), or the luma row.
constexpr std::uint64_t PixelRow(const FormatInfo& f, std::uint64_t width)
{
    if (f.family == FormatFamily::Planar420)
        return width;
    const std::uint64_t g = static_cast<std::uint64_t>(f.groupPixels);
    return (width + g - 1) / g * static_cast<std::uint64_t>(f.groupBytes);
}

// Where the planes of a 4:2:0 picture of `height` rows at luma pitch
// `pitch` lie: the luma plane of pitch x height bytes, then two chroma
// planes of height / 2 rows of pitch / 2 bytes, one after the other.
// Addresses come from the frame's own height and pitch, whatever rows a
// caller then works on.
struct Planes420 {
    std::int64_t offset[3];   // from the buffer's lowest byte
    std::int64_t chromaPitch;
    std::int64_t chromaRows;
    std::int64_t end;         // one past the second chroma plane
};

constexpr Planes420 PlanesOf420(std::int64_t pitch, std::int64_t height)
{
    const std::int64_t chromaPitch = pitch / 2;
    const std::int64_t chromaRows = height / 2;
    const std::int64_t first = pitch * height;
    const std::int64_t second = first + chromaRows * chromaPitch;
    return {{0, first, second}, chromaPitch, chromaRows, second + chromaRows * chromaPitch};
}

// Facts the rest of the library relies on.
static_assert(FormatOf(TulImage::COLOR_FORMAT_YUY2).bitsPerPixel == 16);
static_assert(FormatOf(TulImage::COLOR_FORMAT_YUV420).bitsPerPixel == 12);
static_assert(FormatOf(TulImage::COLOR_FORMAT_VUYA).bitsPerPixel == 32);
static_assert(FormatOf(static_cast<Format>(8)).bitsPerPixel == 0);
static_assert(FormatOf(static_cast<Format>(-1)).bitsPerPixel == 0);
static_assert(DefaultRow<ULONG>(FormatOf(TulImage::COLOR_FORMAT_RGB24), 3) == 12);
static_assert(DefaultRow<ULONG>(FormatOf(TulImage::COLOR_FORMAT_YUY2), 3) == 8);
static_assert(DefaultRow<ULONG>(FormatOf(TulImage::COLOR_FORMAT_RGB32), 5) == 20);
static_assert(DefaultRow<ULONG>(FormatOf(TulImage::COLOR_FORMAT_YV12), 7) == 7);
// The YUY2 group rounding is the word rule: a pair is one 32-bit word.
static_assert(PixelRow(FormatOf(TulImage::COLOR_FORMAT_YUY2), 3) ==
              DefaultRow<std::uint64_t>(FormatOf(TulImage::COLOR_FORMAT_YUY2), 3));
static_assert(PixelRow(FormatOf(TulImage::COLOR_FORMAT_RGB24), 3) == 9);
// An odd pitch and height: chroma pitch 2, one chroma row each.
static_assert(PlanesOf420(5, 3).offset[1] == 15 && PlanesOf420(5, 3).offset[2] == 17 &&
              PlanesOf420(5, 3).end == 19);

}  // namespace tul
