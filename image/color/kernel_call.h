// What a colour kernel's operation receives once its arguments have been
// admitted (image/color/kernel_table.h): both pictures, the size, the
// signed steps and the progressive flag, all checked: steps are non-zero,
// every row the formats need fits its pitch, and both pictures lie within
// 32-bit sizes, so offsets computed here in 64 bits never wrap.
//
// Orientation: rows are walked in memory order of each buffer; when
// exactly one step is negative the picture turns upside down on the way,
// so the source's top row lands in the destination's top row. Operations
// reach rows through SrcRow/DstRow and pair them with DstRowFor, and
// never look at the signs themselves.
//
// An operation that cannot finish (a temporary it cannot obtain) throws;
// the entry zeroes the destination's required bytes and returns
// TUL_FAILED.
#pragma once

#include "image/foundation/format_table.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace tul::color {

struct KernelFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct KernelCall {
    Format srcFormat;
    Format dstFormat;
    const unsigned char* src;
    unsigned char* dst;
    int width;   // pixels, >= 1
    int height;  // rows, >= 1
    int srcStep; // signed, never 0
    int dstStep;
    bool progressive;  // true for kernels that take no flag

    std::ptrdiff_t SrcPitch() const { return srcStep < 0 ? -std::ptrdiff_t{srcStep} : srcStep; }
    std::ptrdiff_t DstPitch() const { return dstStep < 0 ? -std::ptrdiff_t{dstStep} : dstStep; }

    // Exactly one bottom-up side: the picture turns over on the way.
    bool Flip() const { return (srcStep < 0) != (dstStep < 0); }

    // Memory row m (0 = lowest address) of each picture's first plane.
    const unsigned char* SrcRow(int m) const { return src + SrcPitch() * m; }
    unsigned char* DstRow(int m) const { return dst + DstPitch() * m; }

    // The destination memory row that receives source memory row m.
    int DstRowFor(int m) const { return Flip() ? height - 1 - m : m; }

    // The planes of a 4:2:0 side, placed from the picture's own height and
    // pitch: luma, then the first and the second chroma plane (I420: U, V;
    // YV12: V, U), each chroma plane height / 2 rows of pitch / 2 bytes.
    Planes420 SrcPlanes() const { return PlanesOf420(SrcPitch(), height); }
    Planes420 DstPlanes() const { return PlanesOf420(DstPitch(), height); }
};

// An operation: converts the whole admitted picture or throws.
using KernelOperation = void (*)(const KernelCall&);

}  // namespace tul::color
