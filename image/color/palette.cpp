// TulImage::PaletteToRGB24: a 1-, 4- or 8-bit palette bitmap expanded into
// RGB24 through its colour table, one pass of whole rows, each side walked
// from its picture's top row with its signed step.
#include "image/TulImage.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

// Pixel x of a row of Bits-bit indices, the leftmost pixel in the most
// significant bits of its byte: 8 bits one byte, 4 bits the high nibble
// first, 1 bit the most significant bit first.
template <int Bits>
inline unsigned IndexAt(const unsigned char* row, int x)
{
    constexpr unsigned kMask = (1u << Bits) - 1;
    const int bit = x * Bits;
    return (row[bit / 8] >> (8 - Bits - bit % 8)) & kMask;
}

// The colour table follows the header, four bytes an entry (blue, green,
// red, reserved); it is read as bytes since it runs past the one entry the
// record declares.
template <int Bits>
void ExpandRows(const unsigned char* src, std::int64_t srcStep, unsigned char* dst, std::int64_t dstStep, int width,
                int height, const unsigned char* table)
{
    for (int r = 0; r < height; ++r, src += srcStep, dst += dstStep)
        for (int x = 0; x < width; ++x) {
            const unsigned char* entry = table + 4 * IndexAt<Bits>(src, x);
            dst[3 * x] = entry[0];
            dst[3 * x + 1] = entry[1];
            dst[3 * x + 2] = entry[2];
        }
}

std::int64_t Pitch(int step) { return std::llabs(static_cast<std::int64_t>(step)); }

// The picture's top row: the last row in memory for a negative step.
std::int64_t TopRow(int step, int height) { return step < 0 ? (height - 1) * Pitch(step) : 0; }

}  // namespace

// Refused with nothing written (TUL_INVALID_REQUEST, *size untouched): a
// null size or bitmap description, a negative width or height, a bit count
// other than 1, 4 or 8, a step of 0 or INT_MIN or shorter than its row
// ((width x bits + 7) / 8 source bytes, 3 x width destination bytes), and
// a source extent or required size past 32 bits. Then the kernels'
// protocol: a null picture reports the required size, a short capacity
// TUL_BUFFER_TOO_SMALL. Indices are not checked against the table.
ULONG TulImage::PaletteToRGB24(unsigned char* const src, unsigned char* dst, ULONG* size, tagBITMAPINFO* info,
                               int srcStep, int dstStep)
{
    if (size == nullptr || info == nullptr)
        return TUL_INVALID_REQUEST;
    const LONG width = info->bmiHeader.biWidth, height = info->bmiHeader.biHeight;
    const int bits = info->bmiHeader.biBitCount;
    if (width < 0 || height < 0 || (bits != 1 && bits != 4 && bits != 8))
        return TUL_INVALID_REQUEST;
    if (srcStep == 0 || srcStep == INT_MIN || dstStep == 0 || dstStep == INT_MIN)
        return TUL_INVALID_REQUEST;
    const std::int64_t srcRow = (static_cast<std::int64_t>(width) * bits + 7) / 8;
    if (Pitch(srcStep) < srcRow || Pitch(dstStep) < 3 * static_cast<std::int64_t>(width))
        return TUL_INVALID_REQUEST;
    const std::int64_t required = Pitch(dstStep) * height;
    if (required > UINT32_MAX || Pitch(srcStep) * height > UINT32_MAX)
        return TUL_INVALID_REQUEST;
    if (src == nullptr || dst == nullptr) {
        *size = static_cast<ULONG>(required);
        return TUL_INVALID_REQUEST;
    }
    if (*size < required)
        return TUL_BUFFER_TOO_SMALL;
    *size = static_cast<ULONG>(required);
    if (width == 0 || height == 0)
        return TUL_SUCCESS;
    const unsigned char* s = src + TopRow(srcStep, height);
    unsigned char* d = dst + TopRow(dstStep, height);
    const auto* table = reinterpret_cast<const unsigned char*>(info->bmiColors);
    const auto expand = bits == 1 ? ExpandRows<1> : bits == 4 ? ExpandRows<4> : ExpandRows<8>;
    expand(s, srcStep, d, dstStep, width, height, table);
    return TUL_SUCCESS;
}
