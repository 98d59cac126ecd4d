// Taking one field out of a frame (GetField) and weaving two fields into
// a frame (MakeFrame). The packed formats share one implementation each:
// rows of |step| bytes are moved whole, whatever the pixels. 4:2:0 moves
// its chroma block the same way at half the pitch: block row j of a field
// is block row first + 2j of the frame, so two fields always hold all of
// the frame's chroma rows between them (at odd multiples of two rows a
// field needs the spare chroma row its buffer has).
#include "image/field/field_picture.h"
#include "image/resize/status_guard.h"

#include <algorithm>

namespace {

using T = TulImage;
using tul::field::Geometry;
using tul::field::Plane;

// Field row j <- frame row first + 2j. Only the spare chroma row of a field
// of an odd height can lie past the frame's block; it repeats the block's
// last row, so it is defined and nothing outside the frame is read. Rows
// go forward, so a field taken into its own frame reads every row before
// it is overwritten.
void TakeRows(const Plane<const unsigned char>& frame, std::int64_t first,
              const Plane<unsigned char>& field)
{
    if (frame.rows == 0)
        return;
    for (std::int64_t j = 0; j < field.rows; ++j)
        tul::field::MoveRow(field.Row(j), frame.Row(std::min(first + 2 * j, frame.rows - 1)),
                            field.pitch);
}

// Frame row r <- row r / 2 of the even- or the odd-row field.
void WeaveRows(const Plane<const unsigned char>& even, const Plane<const unsigned char>& odd,
               const Plane<unsigned char>& frame)
{
    for (std::int64_t r = 0; r < frame.rows; ++r)
        std::memcpy(frame.Row(r), ((r & 1) == 0 ? even : odd).Row(r / 2),
                    static_cast<std::size_t>(frame.pitch));
}

ULONG GetField(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst,
               ULONG width, ULONG height, int step, bool topField)
{
    return tul::Guarded([&]() -> ULONG {
        Geometry g;
        if (src == nullptr || dst == nullptr)
            return T::TUL_INVALID_REQUEST;
        if (const ULONG status = tul::field::Admit(format, width, height, step, &g))
            return status;
        // The displayed top field is the first memory row of a top-down frame.
        const std::int64_t first = topField == (step > 0) ? 0 : 1;
        const std::int64_t rows = first >= g.rows ? 0 : (g.rows - first + 1) / 2;
        if (!tul::field::SameOrApart(src, g.FrameBytes(), dst, g.FieldBytes(rows)))
            return T::TUL_INVALID_REQUEST;
        if (g.empty)
            return T::TUL_SUCCESS;
        TakeRows(g.Luma(src, g.rows), first, g.Luma(dst, rows));
        if (g.planar)
            TakeRows(g.ChromaBlock(src, g.rows, g.rows / 2 * 2), first, g.ChromaBlock(dst, rows, rows));
        return T::TUL_SUCCESS;
    });
}

ULONG MakeFrame(T::COLOR_FORMAT_TYPE format, const unsigned char* firstField,
                const unsigned char* secondField, unsigned char* frame, ULONG width, ULONG height,
                int step)
{
    return tul::Guarded([&]() -> ULONG {
        Geometry g;
        if (firstField == nullptr || secondField == nullptr || frame == nullptr)
            return T::TUL_INVALID_REQUEST;
        if (const ULONG status = tul::field::Admit(format, width, height, step, &g))
            return status;
        // A bottom-up frame shows its first field on the odd memory rows.
        const unsigned char* even = step > 0 ? firstField : secondField;
        const unsigned char* odd = step > 0 ? secondField : firstField;
        const std::int64_t evenRows = (g.rows + 1) / 2, oddRows = g.rows / 2;
        if (!tul::field::Apart(frame, g.FrameBytes(), even, g.FieldBytes(evenRows)) ||
            !tul::field::Apart(frame, g.FrameBytes(), odd, g.FieldBytes(oddRows)))
            return T::TUL_INVALID_REQUEST;
        if (g.empty)
            return T::TUL_SUCCESS;
        // An odd height ends on an even row: the last pair is cut, never
        // written past the frame.
        WeaveRows(g.Luma(even, evenRows), g.Luma(odd, oddRows), g.Luma(frame, g.rows));
        if (g.planar) {
            const std::int64_t block = g.rows / 2 * 2;
            WeaveRows(g.ChromaBlock(even, evenRows, block / 2), g.ChromaBlock(odd, oddRows, block / 2),
                      g.ChromaBlock(frame, g.rows, block));
        }
        return T::TUL_SUCCESS;
    });
}

}  // namespace

ULONG TulImage::GetFieldYUV420(const unsigned char* src, unsigned char* dst, ULONG width,
                               ULONG height, int step, bool topField)
{
    return GetField(COLOR_FORMAT_YUV420, src, dst, width, height, step, topField);
}

ULONG TulImage::GetFieldYUY2(const unsigned char* src, unsigned char* dst, ULONG width,
                             ULONG height, int step, bool topField)
{
    return GetField(COLOR_FORMAT_YUY2, src, dst, width, height, step, topField);
}

ULONG TulImage::GetFieldRGB24(const unsigned char* src, unsigned char* dst, ULONG width,
                              ULONG height, int step, bool topField)
{
    return GetField(COLOR_FORMAT_RGB24, src, dst, width, height, step, topField);
}

ULONG TulImage::GetFieldRGB32(const unsigned char* src, unsigned char* dst, ULONG width,
                              ULONG height, int step, bool topField)
{
    return GetField(COLOR_FORMAT_RGB32, src, dst, width, height, step, topField);
}

ULONG TulImage::MakeFrameYUV420(const unsigned char* firstField, const unsigned char* secondField,
                                unsigned char* frame, ULONG width, ULONG height, int step)
{
    return MakeFrame(COLOR_FORMAT_YUV420, firstField, secondField, frame, width, height, step);
}

ULONG TulImage::MakeFrameYUY2(const unsigned char* firstField, const unsigned char* secondField,
                              unsigned char* frame, ULONG width, ULONG height, int step)
{
    return MakeFrame(COLOR_FORMAT_YUY2, firstField, secondField, frame, width, height, step);
}

ULONG TulImage::MakeFrameRGB24(const unsigned char* firstField, const unsigned char* secondField,
                               unsigned char* frame, ULONG width, ULONG height, int step)
{
    return MakeFrame(COLOR_FORMAT_RGB24, firstField, secondField, frame, width, height, step);
}

ULONG TulImage::MakeFrameRGB32(const unsigned char* firstField, const unsigned char* secondField,
                               unsigned char* frame, ULONG width, ULONG height, int step)
{
    return MakeFrame(COLOR_FORMAT_RGB32, firstField, secondField, frame, width, height, step);
}
