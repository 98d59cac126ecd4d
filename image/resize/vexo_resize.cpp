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

    out.field = tul::ApplyFieldRule(field, fieldToField, srcStep, dstStep, srcSize.height,
                                    dstSize.height, srcSize.height, 1.0);
    out.srcWidth = srcSize.width - srcMarginX;
    out.dstWidth = dstSize.width - dstMarginX;
    out.dstHeight = out.field.dstHeight - dstMarginY;
    out.dstTop = dstMarginY / 2;
    return out.srcWidth > 0 && out.field.srcHeight > 0 && out.dstWidth > 0 && out.dstHeight > 0;
}

// How one 4:2:0 frame is entered: every `rowStride`-th row from row
// `firstRow`, `marginBytes` luma bytes in (half as many chroma bytes), and
// `top` rows of the chosen rows further down (half as many chroma rows).
struct FrameEntry {
    int height;       // the frame's own rows
    int step;         // the frame's own luma step
    int rowStride;    // 2 when one field is taken, else 1
    int firstRow;     // 1 for the odd field
    int marginBytes;
    int top;
};

// Fills the plane pointers and steps of `planes`. Chroma rows are counted
// at the frame's own chroma pitch (step / 2), so an odd luma step still
// lands each chroma field row on a chroma row.
template <class Byte, class Planes>
void EnterFrame(Byte* frame, const FrameEntry& e, Planes& planes)
{
    const std::ptrdiff_t pitch = e.step / 2;
    const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(e.height) * e.step;
    const std::ptrdiff_t second = first + static_cast<std::ptrdiff_t>(e.height / 2) * pitch;
    planes.step = e.rowStride * e.step;
    planes.chromaStep = static_cast<int>(e.rowStride * pitch);
    planes.plane[0] = frame + e.marginBytes + static_cast<std::ptrdiff_t>(e.firstRow) * e.step +
                      static_cast<std::ptrdiff_t>(e.top) * planes.step;
    const std::ptrdiff_t chroma = e.marginBytes / 2 + e.firstRow * pitch +
                                  static_cast<std::ptrdiff_t>(e.top / 2) * planes.chromaStep;
    planes.plane[1] = frame + first + chroma;
    planes.plane[2] = frame + second + chroma;
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
// the wrong plane (for heights of 2 mod 4, or odd steps, even past the
// buffer). A vertical margin centres the picture as the packed entry does,
// dstMarginY / 2 rows above it (and half as many chroma rows). For even
// steps and heights that are multiples of 4 with no vertical margin these
// are exactly the documented plane addresses.
bool TulImage::VexoResizeYUV420(unsigned char* src, unsigned char* dst, int srcStep, int dstStep,
                                IppiSize srcSize, IppiSize dstSize, int srcMarginX, int dstMarginX,
                                int dstMarginY, FIELD_TYPE field, bool fieldToField)
{
    try {
        VexoPlacement p;
        if (!PlaceVexoResize(Layout::Planar420, src, dst, srcStep, dstStep, srcSize, dstSize,
                             srcMarginX, dstMarginX, dstMarginY, field, fieldToField, p))
            return false;
        const bool oneField = field != FIELD_FRAME;
        const int odd = field == FIELD_ODD ? 1 : 0;
        tul::Yuv420Planes from{{}, p.srcWidth, p.field.srcHeight, 0, 0};
        tul::Yuv420TargetPlanes to{{}, p.dstWidth, p.dstHeight, 0, 0};
        EnterFrame(src, {srcSize.height, srcStep, oneField ? 2 : 1, odd, srcMarginX / 2, 0}, from);
        EnterFrame(dst, {dstSize.height, dstStep, oneField && fieldToField ? 2 : 1,
                         fieldToField ? odd : 0, dstMarginX / 2, p.dstTop}, to);
        return tul::ResampleYUV420Planes(from, to);
    } catch (...) {
        return false;
    }
}
