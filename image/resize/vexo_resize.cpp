// TulImage's entry points to the own resampler: choose the field, crop the
// source by its horizontal margin, place the picture inside the destination
// by the destination margins, and hand the rest to the engines.
#include "image/TulImage.h"
#include "image/resize/field_rules.h"
#include "image/resize/vexo_resampler.h"

#include <climits>
#include <cstdint>

namespace {

// Where the resampled picture comes from and goes to, in bytes and rows.
struct VexoPlacement {
    tul::FieldGeometry field;
    int srcWidth;   // pixels left once the source margin is cropped
    int dstWidth;   // pixels written once the destination margin is left out
    int dstHeight;  // rows written
    int dstTop;     // rows (of the chosen field) left above the picture
};

enum class Layout { Packed422, Planar420 };

// The frame a caller describes must be addressable in 32 signed bits,
// with rows no shorter than the picture's.
bool FrameFits(Layout layout, int width, int height, int step)
{
    const std::int64_t row = layout == Layout::Packed422 ? 2 * static_cast<std::int64_t>(width)
                                                         : width;
    if (step < row)
        return false;
    std::int64_t bytes = static_cast<std::int64_t>(height - 1) * step + row;
    if (layout == Layout::Planar420)
        bytes = static_cast<std::int64_t>(height) * step +
                2 * (static_cast<std::int64_t>(height / 2) * (step / 2));
    return bytes <= INT_MAX;
}

bool PlaceVexoResize(Layout layout, const unsigned char* src, const unsigned char* dst,
                     int srcStep, int dstStep, IppiSize srcSize, IppiSize dstSize, int srcMarginX,
                     int dstMarginX, int dstMarginY, TulImage::FIELD_TYPE field,
                     bool fieldToField, VexoPlacement& out)
{
    if (src == nullptr || dst == nullptr)
        return false;
    if (srcSize.width <= 0 || srcSize.height <= 0 || dstSize.width <= 0 || dstSize.height <= 0)
        return false;
    if (srcMarginX < 0 || dstMarginX < 0 || dstMarginY < 0)
        return false;
    // A packed margin that is not a whole number of pixel pairs on each
    // side would start rows on a chroma byte.
    if (layout == Layout::Packed422 && (srcMarginX % 4 != 0 || dstMarginX % 4 != 0))
        return false;
    if (srcStep < 0 || dstStep < 0 || !FrameFits(layout, srcSize.width, srcSize.height, srcStep) ||
        !FrameFits(layout, dstSize.width, dstSize.height, dstStep))
        return false;
    if (field != TulImage::FIELD_FRAME && (srcStep > INT_MAX / 2 || dstStep > INT_MAX / 2))
        return false;
    // A field of a 4:2:0 frame reads every other chroma row at the luma
    // step; with an odd step that is not twice the chroma pitch and the
    // last rows would run past the chroma plane.
    if (layout == Layout::Planar420 && field != TulImage::FIELD_FRAME &&
        ((srcStep & 1) != 0 || (fieldToField && (dstStep & 1) != 0)))
        return false;

    out.field = tul::ApplyFieldRule(field, fieldToField, srcStep, dstStep, srcSize.height,
                                    dstSize.height, srcSize.height, 1.0);
    out.srcWidth = srcSize.width - srcMarginX;
    out.dstWidth = dstSize.width - dstMarginX;
    out.dstHeight = out.field.dstHeight - dstMarginY;
    out.dstTop = dstMarginY / 2;
    return out.srcWidth > 0 && out.field.srcHeight > 0 && out.dstWidth > 0 && out.dstHeight > 0;
}

// The planes of a 4:2:0 frame of `height` rows at `step`, entered at the
// luma byte `offset` (chroma at half of it) and `top` rows further down.
template <class Byte>
void FramePlanes(Byte* frame, int height, int step, int fieldStep, std::ptrdiff_t offset,
                 int top, Byte* planes[3])
{
    const std::ptrdiff_t chroma = static_cast<std::ptrdiff_t>(height) * step;
    const std::ptrdiff_t second = static_cast<std::ptrdiff_t>(height / 2) * (step / 2);
    const std::ptrdiff_t chromaStart = offset / 2 + static_cast<std::ptrdiff_t>(top / 2) * (fieldStep / 2);
    planes[0] = frame + offset + static_cast<std::ptrdiff_t>(top) * fieldStep;
    planes[1] = frame + chroma + chromaStart;
    planes[2] = frame + chroma + second + chromaStart;
}

}  // namespace

bool TulImage::VexoResizeYUY2(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                              IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                              int dstMarginY, FIELD_TYPE field, bool fieldToField)
{
    try {
        VexoPlacement p;
        if (!PlaceVexoResize(Layout::Packed422, src, dst, srcStep, dstStep, srcSize, dstSize,
                             srcMarginX, dstMarginX, dstMarginY, field, fieldToField, p))
            return false;
        // Margins are in pixels; half of them on the left is margin bytes.
        const unsigned char* from = src + p.field.srcOffset + srcMarginX;
        unsigned char* to = dst + p.field.dstOffset +
                            static_cast<std::ptrdiff_t>(p.dstTop) * p.field.dstStep + dstMarginX;
        return tul::ResampleYUY2(from, p.srcWidth, p.field.srcHeight, p.field.srcStep, to,
                                 p.dstWidth, p.dstHeight, p.field.dstStep);
    } catch (...) {
        return false;
    }
}

// Chroma planes are found from the frames' own heights and pitches, not
// from the resampled rows: with a field or a vertical margin the resampled
// height is not the frame's, and addressing from it would land chroma in
// the wrong plane. A vertical margin centres the picture as the packed
// entry does, dstMarginY / 2 rows above it (and half as many chroma rows).
bool TulImage::VexoResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                                IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                                int dstMarginY, FIELD_TYPE field, bool fieldToField)
{
    try {
        VexoPlacement p;
        if (!PlaceVexoResize(Layout::Planar420, src, dst, srcStep, dstStep, srcSize, dstSize,
                             srcMarginX, dstMarginX, dstMarginY, field, fieldToField, p))
            return false;
        tul::Yuv420Planes from{{}, p.srcWidth, p.field.srcHeight, p.field.srcStep};
        tul::Yuv420TargetPlanes to{{}, p.dstWidth, p.dstHeight, p.field.dstStep};
        FramePlanes<const unsigned char>(src, srcSize.height, srcStep, p.field.srcStep,
                                         srcMarginX / 2 + p.field.srcOffset, 0, from.plane);
        FramePlanes<unsigned char>(dst, dstSize.height, dstStep, p.field.dstStep,
                                   dstMarginX / 2 + p.field.dstOffset, p.dstTop, to.plane);
        return tul::ResampleYUV420Planes(from, to);
    } catch (...) {
        return false;
    }
}
