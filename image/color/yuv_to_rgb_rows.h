// Which chroma rows serve a luma row of a 4:2:0 picture, shared by the
// Y'CbCr to RGB kernels (and by YUY2's 4:2:2 rows, which need none).
//
// Rows are memory rows: the picture is converted in memory order and the
// destination row is chosen by KernelCall::DstRowFor, so a bottom-up
// picture's chroma planes, stored bottom-up each in its own place, pair
// with the luma rows exactly as a top-down one's do.
#pragma once

#include <algorithm>

namespace tul::color {

// The chroma rows one luma row belongs to: `count` rows from `base`, every
// `stride`-th (a progressive frame: all rows; an interlaced field: every
// other row from its parity), and the luma row's index `r` among its own
// field's (or frame's) luma rows. Chroma row base + stride * i serves
// luma rows 2i and 2i + 1 of that sequence.
struct ChromaField {
    int base, stride, count, r;

    // The plain 4:2:0 chroma row: the block's own, or for an incomplete
    // block at the bottom (odd height, fields not a multiple of 4 rows
    // high) the nearest complete one of the same field.
    int Row() const { return base + stride * std::min(r / 2, count - 1); }

    // The two chroma rows the JPEG H2V2 filter takes for this luma row:
    // the row it lies in and the vertically nearer neighbour (the edge row
    // repeated). A luma row past the last upsampled pair repeats the last
    // upsampled row, as extra columns repeat the last column.
    void UpRows(int& nearRow, int& farRow) const
    {
        const int out = std::min(r, 2 * count - 1);
        const int j = out / 2;
        const int far = out % 2 == 0 ? std::max(j - 1, 0) : std::min(j + 1, count - 1);
        nearRow = base + stride * j;
        farRow = base + stride * far;
    }
};

// Luma memory row m of a picture `height` rows high (>= 2: one chroma row
// at least). Interlaced, the field of m is m's parity and its chroma rows
// those of the same parity; a field without a chroma row of its own (a
// picture 2 or 3 rows high) takes the other field's.
inline ChromaField ChromaFieldOf(int m, int height, bool progressive)
{
    const int rows = height / 2;
    if (progressive)
        return {0, 1, rows, m};
    const int base = m % 2 < rows ? m % 2 : 0;
    return {base, 2, (rows - base + 1) / 2, m / 2};
}

}  // namespace tul::color
