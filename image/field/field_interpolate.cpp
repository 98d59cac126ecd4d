// Deinterlacing by interpolation: the kept field is resampled to the
// whole frame by the resize workers in field mode (one field read, the
// frame written), in memory order at the frame's own pitch on both sides.
// 4:2:0 planes lie where the frame's own height and pitch put them, as the
// workers find them. RGB goes through the one-call RGB resize, the field
// being the frame's rows at twice the step.
//
// In place: our own resampler reads a whole plane before writing it; the
// library's resamplers and the RGB resize may write rows while they still
// read, so they read from a copy of the frame taken for the call.
#include "image/field/field_interpolate.h"

#include "image/foundation/format_table.h"
#include "image/resize/ipp_resize.h"
#include "image/resize/resize_geometry.h"
#include "image/resize/resize_workers.h"

#include <vector>

namespace tul::field {

namespace {

using T = TulImage;

// The source to read: the caller's frame, or a copy of it when the
// destination is the same buffer.
const unsigned char* ReadableSource(const unsigned char* src, const unsigned char* dst,
                                    const Geometry& g, std::vector<unsigned char>& copy)
{
    if (src != dst)
        return src;
    copy.assign(src, src + g.FrameBytes());
    return copy.data();
}

ULONG InterpolateYuy2(const unsigned char* src, unsigned char* dst, const Geometry& g,
                      IppiSize size, T::FIELD_TYPE field, T::INTERPOLATION_MODE mode)
{
    const int pitch = static_cast<int>(g.pitch);
    if (mode == T::INTERPOLATION_VEXO)
        return VexoResizeYUY2(const_cast<unsigned char*>(src), dst, pitch, pitch, size, size, 0, 0,
                              0, field, false)
                   ? T::TUL_SUCCESS
                   : T::TUL_FAILED;
    std::vector<unsigned char> copy;
    const unsigned char* from = ReadableSource(src, dst, g, copy);
    ScratchPlanes scratch;
    if (!scratch.Allocate({size.width, size.height / 2}, size))
        return T::TUL_NO_MEMORY;
    return IppResizeYUY2(const_cast<unsigned char*>(from), dst, pitch, pitch, size, size,
                         {0, 0, size.width, size.height}, 1.0, 1.0, mode, scratch.Get(), field, false)
               ? T::TUL_SUCCESS
               : T::TUL_FAILED;
}

ULONG InterpolateYuv420(const unsigned char* src, unsigned char* dst, const Geometry& g,
                        IppiSize size, T::FIELD_TYPE field, T::INTERPOLATION_MODE mode)
{
    const int pitch = static_cast<int>(g.pitch);
    if (mode == T::INTERPOLATION_VEXO)
        return VexoResizeYUV420(const_cast<unsigned char*>(src), dst, pitch, pitch, size, size, 0, 0,
                                0, field, false)
                   ? T::TUL_SUCCESS
                   : T::TUL_FAILED;
    // The 4:2:0 worker picks its kernel from the frame's factors (1, 1),
    // where the automatic rule takes super-sampling, which cannot enlarge;
    // the field is enlarged twice over, for which the rule gives cubic.
    if (mode < T::INTERPOLATION_NEAREST || mode > T::INTERPOLATION_CUBIC)
        mode = T::INTERPOLATION_CUBIC;
    std::vector<unsigned char> copy;
    const unsigned char* from = ReadableSource(src, dst, g, copy);
    LibraryPlan plan;
    if (plan.Prepare(PlanarLayout::Yuv420, {size, size, {0, 0, size.width, size.height}, 1.0, 1.0,
                                            0.0, 0.0, mode, field, false}) != ippStsNoErr)
        return T::TUL_FAILED;
    // Black first, where a resample leaves an edge unwritten.
    const Planes420 planes = PlanesOf420(g.pitch, g.rows);
    std::memset(dst, kLumaBlack, static_cast<std::size_t>(planes.offset[1]));
    std::memset(dst + planes.offset[1], kChromaBlack,
                static_cast<std::size_t>(planes.end - planes.offset[1]));
    return plan.Run(from, pitch, dst, pitch, nullptr) ? T::TUL_SUCCESS : T::TUL_FAILED;
}

ULONG InterpolateRgb(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst,
                     ULONG width, int step, const Geometry& g, bool keepOdd,
                     T::INTERPOLATION_MODE mode)
{
    std::vector<unsigned char> copy;
    const unsigned char* from = ReadableSource(src, dst, g, copy);
    unsigned char* field = const_cast<unsigned char*>(from) + (keepOdd ? g.pitch : 0);
    const auto rows = static_cast<ULONG>(g.rows);
    ULONG size = static_cast<ULONG>(g.FrameBytes());
    return T::Resize(field, dst, &size, width, rows / 2, 2 * step, width, rows, step, format, mode) ==
                   T::TUL_SUCCESS
               ? T::TUL_SUCCESS
               : T::TUL_FAILED;
}

}  // namespace

ULONG InterpolateField(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst,
                       ULONG width, int step, const Geometry& g, bool keepOdd,
                       T::INTERPOLATION_MODE mode)
{
    const IppiSize size{static_cast<int>(width), static_cast<int>(g.rows)};
    const T::FIELD_TYPE field = keepOdd ? T::FIELD_ODD : T::FIELD_EVEN;
    switch (FormatOf(format).family) {
    case FormatFamily::Packed422:
        return InterpolateYuy2(src, dst, g, size, field, mode);
    case FormatFamily::Planar420:
        return InterpolateYuv420(src, dst, g, size, field, mode);
    case FormatFamily::PackedRgb:
        return InterpolateRgb(format, src, dst, width, step, g, keepOdd, mode);
    case FormatFamily::Unknown:
        break;
    }
    return T::TUL_INVALID_REQUEST;
}

}  // namespace tul::field
