// Row addressing and the row-length checks shared by the primitives of this
// folder. Rows are reached with 64-bit offsets: y*step of a large picture
// does not fit in int.
#pragma once

#include "platform/ipp/arg_checks.h"

#include <cstddef>
#include <cstdint>

namespace tulipp {

inline Ipp8u* RowAt(Ipp8u* base, int step, int y)
{
    return base + static_cast<std::ptrdiff_t>(step) * y;
}

inline const Ipp8u* RowAt(const Ipp8u* base, int step, int y)
{
    return base + static_cast<std::ptrdiff_t>(step) * y;
}

// Bytes of one row of an ROI, or 0 when the ROI is empty or its row would
// not fit in an int. Zero doubles as "bad size" for the callers.
inline std::int64_t RoiRowBytes(IppiSize roi, int bytesPerPixel)
{
    if (BadSize(roi))
        return 0;
    const std::int64_t bytes = RowBytes(roi.width, bytesPerPixel);
    return bytes < 0 ? 0 : bytes;
}

// A step shorter than the row it addresses makes consecutive rows share
// bytes, so a primitive would overwrite rows it has already produced (or
// read rows it has already changed). Nothing to share with a single row.
inline bool RowsOverlap(int step, std::int64_t rowBytes, int height)
{
    return height > 1 && step < rowBytes;
}

// The size, step and overlap checks of a primitive that reads rows of
// `readPixelBytes` per pixel at `readStep` and writes rows of
// `writePixelBytes` per pixel at `writeStep` (the same pair for in-place
// and fill primitives). Null pointers are checked before, by the caller.
// Only the written rows must not overlap: rows read twice lose nothing.
inline IppStatus CheckRoi(IppiSize roi, int readStep, int readPixelBytes, int writeStep, int writePixelBytes)
{
    const std::int64_t readRow = RoiRowBytes(roi, readPixelBytes);
    const std::int64_t writeRow = RoiRowBytes(roi, writePixelBytes);
    if (readRow == 0 || writeRow == 0)
        return ippStsSizeErr;
    if (BadStep(readStep, writeStep))
        return ippStsStepErr;
    if (RowsOverlap(writeStep, writeRow, roi.height))
        return ippStsStrideErr;
    return ippStsNoErr;
}

}  // namespace tulipp
