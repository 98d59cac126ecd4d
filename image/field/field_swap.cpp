// Changing a frame's field order by shifting it one row (FieldSwap). The
// packed formats share one implementation; 4:2:0 shifts its luma plane and
// then each chroma plane on its own by one chroma row. Moves are
// overlap-safe, so the swap may run in place.
#include "image/field/field_picture.h"
#include "image/resize/status_guard.h"

namespace {

using T = TulImage;
using tul::field::Geometry;
using tul::field::Plane;

// One move of all rows but the one that falls out, then the freed edge row
// repeats the nearest row of its new field, two rows in. A plane of two
// rows has no such row and repeats its other row; a plane of one row has
// nothing to shift and is copied.
void ShiftRows(const Plane<const unsigned char>& src, const Plane<unsigned char>& dst, bool down)
{
    const std::int64_t rows = src.rows;
    const auto bytes = static_cast<std::size_t>(src.pitch);
    if (rows <= 1) {
        if (rows == 1)
            tul::field::MoveRow(dst.Row(0), src.Row(0), src.pitch);
        return;
    }
    const std::size_t moved = static_cast<std::size_t>(rows - 1) * bytes;
    const std::int64_t reach = rows >= 3 ? 2 : 1;
    if (down) {
        std::memmove(dst.Row(1), src.Row(0), moved);
        std::memcpy(dst.Row(0), dst.Row(reach), bytes);
    } else {
        std::memmove(dst.Row(0), src.Row(1), moved);
        std::memcpy(dst.Row(rows - 1), dst.Row(rows - 1 - reach), bytes);
    }
}

ULONG FieldSwap(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst,
                ULONG width, ULONG height, int step, T::SCAN_TYPE scanType)
{
    return tul::Guarded([&]() -> ULONG {
        Geometry g;
        if (src == nullptr || dst == nullptr || !tul::field::ValidScan(scanType))
            return T::TUL_INVALID_REQUEST;
        if (const ULONG status = tul::field::Admit(format, width, height, step, &g))
            return status;
        if (!tul::field::SameOrApart(src, g.FrameBytes(), dst, g.FrameBytes()))
            return T::TUL_INVALID_REQUEST;
        if (g.empty)
            return T::TUL_SUCCESS;
        if (scanType == T::SCAN_PROGRESSIVE) {
            tul::field::CopyFrame(src, dst, g);
            return T::TUL_SUCCESS;
        }
        const bool down = tul::field::ShiftsDown(scanType, step);
        ShiftRows(g.Luma(src, g.rows), g.Luma(dst, g.rows), down);
        for (int plane = 1; g.planar && plane <= 2; ++plane)
            ShiftRows(g.Chroma(src, plane), g.Chroma(dst, plane), down);
        return T::TUL_SUCCESS;
    });
}

}  // namespace

ULONG TulImage::FieldSwapYUV420(const unsigned char* src, unsigned char* dst, ULONG width,
                                ULONG height, int step, SCAN_TYPE scanType)
{
    return FieldSwap(COLOR_FORMAT_YUV420, src, dst, width, height, step, scanType);
}

ULONG TulImage::FieldSwapYUY2(const unsigned char* src, unsigned char* dst, ULONG width,
                              ULONG height, int step, SCAN_TYPE scanType)
{
    return FieldSwap(COLOR_FORMAT_YUY2, src, dst, width, height, step, scanType);
}

ULONG TulImage::FieldSwapRGB24(const unsigned char* src, unsigned char* dst, ULONG width,
                               ULONG height, int step, SCAN_TYPE scanType)
{
    return FieldSwap(COLOR_FORMAT_RGB24, src, dst, width, height, step, scanType);
}

ULONG TulImage::FieldSwapRGB32(const unsigned char* src, unsigned char* dst, ULONG width,
                               ULONG height, int step, SCAN_TYPE scanType)
{
    return FieldSwap(COLOR_FORMAT_RGB32, src, dst, width, height, step, scanType);
}
