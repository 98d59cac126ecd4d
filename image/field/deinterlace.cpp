// Deinterlacing (DeInterlace): one field is kept and the other's rows are
// rebuilt, by line doubling here or by interpolation (field_interpolate).
// The four formats share this entry; 4:2:0 doubles each chroma plane on
// its own, so an odd number of chroma rows never pairs one plane's last
// row with the other plane's first.
#include "image/field/field_interpolate.h"
#include "image/resize/status_guard.h"

#include <climits>

namespace {

using T = TulImage;
using tul::field::Geometry;
using tul::field::Plane;

// Every row takes the kept row of its pair; the last row of an odd height
// that is not kept takes the kept row above it, and a one-row plane keeps
// its row. Kept rows are read and never written, so in place and out of
// place give the same picture.
void DoubleRows(const Plane<const unsigned char>& src, const Plane<unsigned char>& dst, bool keepOdd)
{
    for (std::int64_t r = 0; r < src.rows; ++r) {
        std::int64_t from = keepOdd ? (r | 1) : (r & ~std::int64_t{1});
        if (from >= src.rows)
            from = src.rows >= 2 ? r - 1 : r;
        tul::field::MoveRow(dst.Row(r), src.Row(from), src.pitch);
    }
}

ULONG DeInterlace(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst,
                  ULONG width, ULONG height, int step, T::SCAN_TYPE scanType,
                  T::DEINTERLACE_MODE mode, T::INTERPOLATION_MODE interpolation)
{
    return tul::Guarded([&]() -> ULONG {
        Geometry g;
        if (src == nullptr || dst == nullptr || !tul::field::ValidScan(scanType) ||
            (mode != T::DEINTERLACE_LINE_DOUBLE && mode != T::DEINTERLACE_INTERPOLATE))
            return T::TUL_INVALID_REQUEST;
        if (const ULONG status = tul::field::Admit(format, width, height, step, &g))
            return status;
        if (!tul::field::SameOrApart(src, g.FrameBytes(), dst, g.FrameBytes()))
            return T::TUL_INVALID_REQUEST;
        // The resamplers address a field at twice the step, in signed 32 bits.
        if (mode == T::DEINTERLACE_INTERPOLATE &&
            (g.pitch > INT_MAX / 2 || g.FieldBytes(g.rows) > INT_MAX))
            return T::TUL_INVALID_REQUEST;
        if (g.empty)
            return T::TUL_SUCCESS;
        // A progressive frame, or one row with no second field, is copied.
        if (scanType == T::SCAN_PROGRESSIVE || (mode == T::DEINTERLACE_INTERPOLATE && g.rows < 2)) {
            tul::field::CopyFrame(src, dst, g);
            return T::TUL_SUCCESS;
        }
        const bool keepOdd = tul::field::KeepsOddRows(scanType, step);
        if (mode == T::DEINTERLACE_INTERPOLATE)
            return tul::field::InterpolateField(format, src, dst, width, step, g, keepOdd, interpolation);
        DoubleRows(g.Luma(src, g.rows), g.Luma(dst, g.rows), keepOdd);
        for (int plane = 1; g.planar && plane <= 2; ++plane)
            DoubleRows(g.Chroma(src, plane), g.Chroma(dst, plane), keepOdd);
        return T::TUL_SUCCESS;
    });
}

}  // namespace

ULONG TulImage::DeInterlaceYUV420(const unsigned char* src, unsigned char* dst, ULONG width,
                                  ULONG height, int step, SCAN_TYPE scanType, DEINTERLACE_MODE mode,
                                  INTERPOLATION_MODE interpolation)
{
    return DeInterlace(COLOR_FORMAT_YUV420, src, dst, width, height, step, scanType, mode,
                       interpolation);
}

ULONG TulImage::DeInterlaceYUY2(const unsigned char* src, unsigned char* dst, ULONG width,
                                ULONG height, int step, SCAN_TYPE scanType, DEINTERLACE_MODE mode,
                                INTERPOLATION_MODE interpolation)
{
    return DeInterlace(COLOR_FORMAT_YUY2, src, dst, width, height, step, scanType, mode,
                       interpolation);
}

ULONG TulImage::DeInterlaceRGB24(const unsigned char* src, unsigned char* dst, ULONG width,
                                 ULONG height, int step, SCAN_TYPE scanType, DEINTERLACE_MODE mode,
                                 INTERPOLATION_MODE interpolation)
{
    return DeInterlace(COLOR_FORMAT_RGB24, src, dst, width, height, step, scanType, mode,
                       interpolation);
}

ULONG TulImage::DeInterlaceRGB32(const unsigned char* src, unsigned char* dst, ULONG width,
                                 ULONG height, int step, SCAN_TYPE scanType, DEINTERLACE_MODE mode,
                                 INTERPOLATION_MODE interpolation)
{
    return DeInterlace(COLOR_FORMAT_RGB32, src, dst, width, height, step, scanType, mode,
                       interpolation);
}
