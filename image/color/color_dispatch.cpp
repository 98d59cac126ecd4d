// TulImage::ColorConvert: the kernel of a pair of formats, or a copy when
// both formats are the same.
#include "image/color/kernel_table.h"

#include <algorithm>
#include <cstring>

namespace tul::color {
namespace {

// Copies `rows` rows of `bytes` bytes, each side walked from its picture's
// top row (the last row in memory for a negative step), so a copy between
// a top-down and a bottom-up buffer keeps the picture upright.
void CopyRows(const unsigned char* src, std::ptrdiff_t srcPitch, bool srcUp, unsigned char* dst,
              std::ptrdiff_t dstPitch, bool dstUp, std::int64_t rows, std::size_t bytes)
{
    for (std::int64_t r = 0; r < rows; ++r) {
        const std::int64_t s = srcUp ? rows - 1 - r : r;
        const std::int64_t d = dstUp ? rows - 1 - r : r;
        std::memcpy(dst + d * dstPitch, src + s * srcPitch, bytes);
    }
}

}  // namespace

// The same-format copy. Equal steps copy the picture's bytes as one block;
// different steps copy row by row, min(|source step|, |destination step|)
// bytes a row, and a 4:2:0 picture's two chroma planes likewise, each in
// its own place.
void CopyPicture(const KernelCall& c)
{
    const bool planar = FormatOf(c.srcFormat).family == FormatFamily::Planar420;
    if (c.srcStep == c.dstStep) {
        const std::int64_t bytes = planar ? c.SrcPlanes().end : c.SrcPitch() * c.height;
        std::memcpy(c.dst, c.src, static_cast<std::size_t>(bytes));
        return;
    }
    const bool srcUp = c.srcStep < 0, dstUp = c.dstStep < 0;
    CopyRows(c.src, c.SrcPitch(), srcUp, c.dst, c.DstPitch(), dstUp, c.height,
             static_cast<std::size_t>(std::min(c.SrcPitch(), c.DstPitch())));
    if (!planar)
        return;
    const Planes420 s = c.SrcPlanes(), d = c.DstPlanes();
    const auto bytes = static_cast<std::size_t>(std::min(s.chromaPitch, d.chromaPitch));
    for (int plane = 1; plane < 3; ++plane)
        CopyRows(c.src + s.offset[plane], s.chromaPitch, srcUp, c.dst + d.offset[plane], d.chromaPitch, dstUp,
                 s.chromaRows, bytes);
}

ULONG Dispatch(const KernelArgs& args, Format source, Format destination) noexcept
{
    const int s = static_cast<int>(source), d = static_cast<int>(destination);
    if (s < 0 || s > 7 || d < 0 || d > 7)
        return TulImage::TUL_INVALID_REQUEST;
    if (source == destination)
        return RunKernel(source, destination, &CopyPicture, args);
    const KernelEntry* kernel = FindKernel(source, destination);
    return kernel == nullptr ? TulImage::TUL_INVALID_REQUEST : kernel->call(args);
}

}  // namespace tul::color

ULONG TulImage::ColorConvert(unsigned char* const src, unsigned char* dst, ULONG* size, ULONG width, ULONG height,
                             COLOR_FORMAT_TYPE srcFormat, COLOR_FORMAT_TYPE dstFormat, int srcStep, int dstStep,
                             bool progressive)
{
    return tul::color::Dispatch({src, dst, size, width, height, srcStep, dstStep, progressive}, srcFormat, dstFormat);
}
