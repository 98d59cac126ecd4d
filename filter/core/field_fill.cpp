// The in-place field fill of interlaced YUY2 frames and the rule that
// decides when the filter applies it.
#include "filter/core/image_resizer.h"

#include "filter/core/resize_settings_values.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Floor average, luma and chroma bytes alike; the loop is left plain so the
// compiler widens it.
void AverageRow(unsigned char* __restrict dst, const unsigned char* __restrict above,
                const unsigned char* __restrict below, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        dst[i] = static_cast<unsigned char>((above[i] + below[i]) >> 1);
}

}  // namespace

void CImageResizer::FillFields(unsigned char* frame, LONG width, LONG height, LONG method)
{
    if (!frame || width <= 0 || height < 2 || height % 2 != 0)
        return;
    if (method != FIELD_FILL_DOUBLE && method != FIELD_FILL_AVERAGE)
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 2;
    const std::size_t rows = static_cast<std::size_t>(height);
    if (rowBytes * rows > UINT32_MAX)
        return;
    auto line = [&](std::size_t r) { return frame + r * rowBytes; };

    if (method == FIELD_FILL_DOUBLE) {
        for (std::size_t r = 0; r + 1 < rows; r += 2)
            std::memcpy(line(r + 1), line(r), rowBytes);
        return;
    }
    // The even lines are the kept field: odd lines between two of them
    // become their average, and the last line, with nothing below it,
    // repeats the one above.
    for (std::size_t r = 1; r + 2 < rows; r += 2)
        AverageRow(line(r), line(r - 1), line(r + 1), rowBytes);
    std::memcpy(line(rows - 1), line(rows - 2), rowBytes);
}

bool CImageResizer::NeedsFieldFill(LONG srcHeight, LONG pictureHeight, LONG policy)
{
    // Heights that describe no frame give nothing to fill and must not
    // reach the divisions below.
    if (srcHeight <= 0 || pictureHeight <= 0)
        return false;
    if (srcHeight == pictureHeight) {
        if (policy == FIELD_POLICY_ALWAYS)
            return true;
        // Under AUTO a height that is a whole number of 32-line blocks is
        // left alone.
        if (policy == FIELD_POLICY_AUTO)
            return pictureHeight % 32 != 0;
        return false;
    }
    const LONG big = srcHeight > pictureHeight ? srcHeight : pictureHeight;
    const LONG small = srcHeight > pictureHeight ? pictureHeight : srcHeight;
    if (big % small != 0)
        return true;
    // An even ratio drops or repeats whole fields, so they never mix.
    return (big / small) % 2 != 0;
}
