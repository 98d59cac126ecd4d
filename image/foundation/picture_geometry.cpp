// Picture geometry: bits per pixel, default steps, byte sizes, and the
// black (neutral) picture of every format.
//
// Sizes are unsigned 32-bit and wrap like the exported interface promises;
// ClearPicture, which writes memory, refuses a picture whose size does not
// fit in 32 bits instead of writing a wrapped, wrong-sized area.
#include "image/TulImage.h"
#include "image/foundation/black_fill.h"
#include "platform/ipp/ippi.h"

#include <cstdint>
#include <cstdlib>

namespace {

using Format = TulImage::COLOR_FORMAT_TYPE;

bool IsPlanar420(Format f)
{
    return f == TulImage::COLOR_FORMAT_YUV420 || f == TulImage::COLOR_FORMAT_YV12;
}

// Bits of a row rounded up to whole 32-bit words, in bytes (unsigned 32-bit).
ULONG DefaultRow(ULONG bitsPerPixel, ULONG width)
{
    return ((bitsPerPixel * width + 31u) >> 3) & ~3u;
}

ULONG AbsStep(int step)
{
    return step < 0 ? 0u - static_cast<ULONG>(step) : static_cast<ULONG>(step);
}

}  // namespace

ULONG TulImage::GetBitPixel(COLOR_FORMAT_TYPE format)
{
    switch (format) {
    case COLOR_FORMAT_YUY2:
        return 16;
    case COLOR_FORMAT_RGB24:
    case COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24:
        return 24;
    case COLOR_FORMAT_RGB32:
    case COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32:
    case COLOR_FORMAT_VUYA:
        return 32;
    case COLOR_FORMAT_YUV420:
    case COLOR_FORMAT_YV12:
        return 12;
    }
    return 0;
}

int TulImage::GetGenericStep(COLOR_FORMAT_TYPE format, ULONG width, ULONG /*height*/)
{
    if (IsPlanar420(format))
        return static_cast<int>(width);
    const ULONG row = DefaultRow(GetBitPixel(format), width);
    return format == COLOR_FORMAT_YUY2 ? static_cast<int>(row) : -static_cast<int>(row);
}

ULONG TulImage::GetGenericSize(COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int* step,
                               int* bitPixel)
{
    if (IsPlanar420(format)) {
        if (step != nullptr)
            *step = static_cast<int>(width);
        if (bitPixel != nullptr)
            *bitPixel = 12;
        // The half is a signed division of the width.
        const int w = static_cast<int>(width);
        return static_cast<ULONG>(w + w / 2) * height;
    }
    const ULONG bpp = GetBitPixel(format);
    const ULONG row = DefaultRow(bpp, width);
    if (step != nullptr)
        *step = GetGenericStep(format, width, height);
    if (bitPixel != nullptr)
        *bitPixel = static_cast<int>(bpp);
    return row * height;
}

ULONG TulImage::GetPictureSize(COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step)
{
    if (IsPlanar420(format)) {
        if (step == 0)
            return (width + (width >> 1)) * height;
        // step / 2 truncates toward zero before the absolute value is taken.
        return (AbsStep(step) + AbsStep(step / 2)) * height;
    }
    if (step == 0)
        return DefaultRow(GetBitPixel(format), width) * height;
    return AbsStep(step) * height;
}

void TulImage::ClearPicture(unsigned char* buffer, COLOR_FORMAT_TYPE format, ULONG width,
                            ULONG height, int step)
{
    if (step == 0)
        step = GetGenericStep(format, width, height);
    const std::uint64_t pitch = AbsStep(step);
    const std::uint64_t rows = height;

    if (IsPlanar420(format)) {
        const std::uint64_t luma = pitch * rows;
        const std::uint64_t chroma = (pitch / 2) * rows;
        if (luma + chroma > UINT32_MAX)
            return;
        TulMemory::Set(buffer, 0, static_cast<unsigned int>(luma));
        TulMemory::Set(buffer + luma, 127, static_cast<unsigned int>(chroma));
        return;
    }
    if (format == COLOR_FORMAT_YUY2) {
        // Only the row's own bytes: the padding of a wider pitch is the caller's.
        const std::uint64_t row = DefaultRow(16, width);
        if (pitch * rows > UINT32_MAX)
            return;
        for (std::uint64_t r = 0; r < rows; ++r)
            tul::FillWords(buffer + r * pitch, tul::kYuy2BlackWord, static_cast<unsigned int>(row / 4));
        return;
    }
    if (format == COLOR_FORMAT_VUYA) {
        if (pitch > INT32_MAX || width > INT32_MAX / 4 || height > INT32_MAX)
            return;
        const IppiSize roi{static_cast<int>(width), static_cast<int>(height)};
        const int p = static_cast<int>(pitch);
        ippiSet_8u_C4CR(127, buffer + 0, p, roi);
        ippiSet_8u_C4CR(127, buffer + 1, p, roi);
        ippiSet_8u_C4CR(0, buffer + 2, p, roi);
        ippiSet_8u_C4CR(0, buffer + 3, p, roi);
        return;
    }
    const std::uint64_t bytes = pitch * rows;
    if (bytes > UINT32_MAX)
        return;
    TulMemory::Set(buffer, 0, static_cast<unsigned int>(bytes));
}
