// What the blends share: the weight turned into the two 8-bit alphas, a
// picture's rows as spans (one for packed formats, luma and the two chroma
// planes for 4:2:0; all rows or one field's), and the whole-span row loops
// that mix, paint, copy, mirror and zero them. Offsets are 64-bit.
#pragma once

#include "image/TulImage.h"
#include "image/foundation/format_table.h"

#include <cstdint>

namespace tul::blend {

// α1 for the source and α2 for the destination.
struct Alphas {
    int src;
    int dst;
};

// α1 = trunc(w x 255f), α2 = trunc((1 - w) x 255.0) of the weight clamped
// to [0, 1] (unclamped, the truncations' low 8 bits would turn 1.004 into
// an alpha of 0 and -0.5 into 127). False for NaN: no weight at all.
bool WeightAlphas(float weight, Alphas* alphas);

// `rows` rows of `bytes` bytes, `pitch` apart, the first at `base`.
struct Span {
    unsigned char* base;
    std::int64_t pitch;
    std::int64_t rows;
    std::int64_t bytes;
    unsigned char black;  // the span's black byte (YUY2 rows: the 00 7F group)
};

// The rows of a picture the call works on: all of them, or with `field`
// the rows of memory parity `parity` (each 4:2:0 chroma plane taking the
// rows of that parity within its own place, where the frame's height and
// pitch put it). Heights of a field are halved, truncating, as the
// resamplers' field rule halves them.
struct Spans {
    Span s[3];
    int count;
    bool yuy2;
};
Spans PictureSpans(TulImage::COLOR_FORMAT_TYPE format, unsigned char* base, std::int64_t width,
                   std::int64_t height, std::int64_t pitch, bool field, int parity);

// dst = src x α1 + dst x α2, row by row over matching spans.
void Mix(const Spans& src, const Spans& dst, Alphas alphas);
// Each span's rows painted black (luma 0, chroma 127, YUY2 00 7F, RGB 0).
void PaintBlack(const Spans& spans);
void Zero(const Spans& spans);
// Row i of each `from` span to row i (or rows - 1 - i when `reverse`) of
// the matching `to` span; spans have equal rows and bytes.
void Copy(const Spans& from, const Spans& to, bool reverse);
// Each span's rows in reverse order, in place.
void Mirror(const Spans& spans);

// The admission of one picture: step neither 0 nor INT32_MIN, rows that
// fit |step|, no empty size, and every byte count and extent within 32
// bits. Fills the pitch.
bool AdmitPicture(TulImage::COLOR_FORMAT_TYPE format, ULONG width, ULONG height, int step,
                  std::int64_t* pitch);

}  // namespace tul::blend
