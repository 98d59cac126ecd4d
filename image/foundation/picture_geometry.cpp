// Picture geometry: bits per pixel, default steps, byte sizes, and the
// black (neutral) picture of every format, all read from the format table.
//
// Sizes are unsigned 32-bit and wrap like the exported interface promises;
// ClearPicture, which writes memory, refuses a picture whose size does not
// fit in 32 bits, or whose rows do not fit their step, instead of writing
// a wrapped or overlapping area.
#include "image/TulImage.h"
#include "image/foundation/black_fill.h"
#include "image/foundation/format_table.h"

#include <cstdint>
#include <cstring>

namespace {

ULONG AbsStep(int step)
{
    return step < 0 ? 0u - static_cast<ULONG>(step) : static_cast<ULONG>(step);
}

}  // namespace

ULONG TulImage::GetBitPixel(COLOR_FORMAT_TYPE format)
{
    return tul::FormatOf(format).bitsPerPixel;
}

int TulImage::GetGenericStep(COLOR_FORMAT_TYPE format, ULONG width, ULONG /*height*/)
{
    const tul::FormatInfo& f = tul::FormatOf(format);
    const ULONG row = tul::DefaultRow<ULONG>(f, width);
    return f.defaultStepSign > 0 ? static_cast<int>(row) : -static_cast<int>(row);
}

ULONG TulImage::GetGenericSize(COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int* step,
                               int* bitPixel)
{
    const tul::FormatInfo& f = tul::FormatOf(format);
    if (step != nullptr)
        *step = GetGenericStep(format, width, height);
    if (bitPixel != nullptr)
        *bitPixel = static_cast<int>(f.bitsPerPixel);
    if (f.family == tul::FormatFamily::Planar420) {
        // The half is a signed division of the width; the sum wraps as an
        // unsigned 32-bit value (an int sum would overflow past 0x55555555).
        const ULONG half = static_cast<ULONG>(static_cast<int>(width) / 2);
        return (width + half) * height;
    }
    return tul::DefaultRow<ULONG>(f, width) * height;
}

ULONG TulImage::GetPictureSize(COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step)
{
    const tul::FormatInfo& f = tul::FormatOf(format);
    if (f.family == tul::FormatFamily::Planar420) {
        if (step == 0)
            return (width + (width >> 1)) * height;
        // step / 2 truncates toward zero before the absolute value is taken.
        return (AbsStep(step) + AbsStep(step / 2)) * height;
    }
    if (step == 0)
        return tul::DefaultRow<ULONG>(f, width) * height;
    return AbsStep(step) * height;
}

void TulImage::ClearPicture(unsigned char* buffer, COLOR_FORMAT_TYPE format, ULONG width,
                            ULONG height, int step)
{
    const tul::FormatInfo& f = tul::FormatOf(format);
    if (step == 0)
        step = GetGenericStep(format, width, height);
    const std::uint64_t pitch = AbsStep(step);
    const std::uint64_t rows = height;

    if (f.family == tul::FormatFamily::Planar420) {
        // Luma, then (pitch / 2) x height bytes that hold both chroma planes.
        const std::uint64_t luma = pitch * rows;
        const std::uint64_t chroma = (pitch / 2) * rows;
        if (luma + chroma > UINT32_MAX)
            return;
        TulMemory::Set(buffer, f.black[0], static_cast<unsigned int>(luma));
        TulMemory::Set(buffer + luma, f.black[1], static_cast<unsigned int>(chroma));
        return;
    }
    // A step shorter than the row would carry rows into each other and the
    // last one past the buffer.
    const std::uint64_t row = tul::PixelRow(f, width);
    if (row > pitch || pitch * rows > UINT32_MAX)
        return;
    if (f.clearWholePitch) {
        TulMemory::Set(buffer, f.black[0], static_cast<unsigned int>(pitch * rows));
        return;
    }
    // Only the row's own bytes: the padding of a wider pitch is the caller's.
    for (std::uint64_t r = 0; r < rows; ++r)
        tul::FillBlack(buffer + r * pitch, f, static_cast<std::size_t>(row));
}
