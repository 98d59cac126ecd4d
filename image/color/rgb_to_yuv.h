// The row passes shared by the RGB to Y'CbCr kernels: which source rows
// make which destination rows, whatever converts them. A converter gives
//   Pair(row0, row1, y0, y1, u, v, width): two source rows to their luma
//     rows and the chroma row of the 2x2 blocks they form;
//   Luma(row, y, width): a row that belongs to no block, luma only;
//   Yuy2(row, packed, width): one packed 4:2:2 row.
// Rows are walked in destination memory order; each receives the source
// row that the orientation rule sends there (KernelCall::DstRowFor), so
// no picture is ever mirrored.
#pragma once

#include "image/color/kernel_call.h"

#include <cstring>

namespace tul::color::rgb_to_yuv {

// 4:2:0 planes lie where the picture's own height and pitch put them; YV12 is I420
// with the chroma planes exchanged (V follows the luma).
//
// Progressive: chroma row i is the block of luma rows 2i and 2i + 1; an
// odd height's last luma row belongs to no block and gets its luma only.
// Interlaced: chroma row 2k + f is the block of luma rows 4k + f and
// 4k + f + 2 (field f), at the chroma pitch, so the fields never mix.
// When the second row of a field's last block does not exist (heights
// not a multiple of 4), that chroma row repeats the field's previous one,
// the nearest complete block of the same field; with no such block
// (height 2) the lone row stands for both rows of its block. Luma rows
// that belong to no chroma row get their luma only.
template <class Converter>
void To420(const KernelCall& c, const Converter& conv, bool yv12)
{
    const int w = c.width, h = c.height, chromaRows = h / 2;
    const Planes420 planes = c.DstPlanes();
    unsigned char* const u = c.dst + planes.offset[yv12 ? 2 : 1];
    unsigned char* const v = c.dst + planes.offset[yv12 ? 1 : 2];
    const std::ptrdiff_t cp = planes.chromaPitch;
    const auto src = [&](int m) { return c.SrcRow(c.DstRowFor(m)); };
    const auto pair = [&](int a, int b, int cm) {
        conv.Pair(src(a), src(b), c.DstRow(a), c.DstRow(b), u + cp * cm, v + cp * cm, w);
    };
    if (c.progressive) {
        for (int cm = 0; cm < chromaRows; ++cm)
            pair(2 * cm, 2 * cm + 1, cm);
        if (h % 2 != 0)
            conv.Luma(src(h - 1), c.DstRow(h - 1), w);
        return;
    }
    for (int cm = 0; cm < chromaRows; ++cm) {
        const int a = 4 * (cm / 2) + cm % 2, b = a + 2;
        if (b < h) {
            pair(a, b, cm);
        } else if (cm >= 2) {
            conv.Luma(src(a), c.DstRow(a), w);
            std::memcpy(u + cp * cm, u + cp * (cm - 2), static_cast<std::size_t>(w / 2));
            std::memcpy(v + cp * cm, v + cp * (cm - 2), static_cast<std::size_t>(w / 2));
        } else {
            pair(a, a, cm);
        }
    }
    for (int m = 0; m < h; ++m)
        if (2 * (m / 4) + m % 2 >= chromaRows)
            conv.Luma(src(m), c.DstRow(m), w);
}

template <class Converter>
void ToYuy2(const KernelCall& c, const Converter& conv)
{
    for (int m = 0; m < c.height; ++m)
        conv.Yuy2(c.SrcRow(c.DstRowFor(m)), c.DstRow(m), c.width);
}

}  // namespace tul::color::rgb_to_yuv
