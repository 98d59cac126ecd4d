// The RGB to RGB kernels: repacking between 24 and 32 bits a pixel, and
// the rescaling between plain RGB (0..255) and shifted-straight RGB
// (0..219). Every one is a byte map of the three colour bytes plus a rule
// for the fourth byte, run as one pass of whole rows with the picture
// turned over by row addressing.
//
// Two rescalings coexist and differ for some inputs, each kept for its
// kernels:
//  - the float path (ippiScale_8u32f_C3R and ippiConvert_32f8u_C3R or
//    ippiScale_32f8u_C3R through a float picture) maps each byte value
//    the same way wherever it stands, so its 256 results are taken once a
//    call from the primitives' own per-sample functions: the same floats,
//    without the float picture. Like the primitives, it leaves the bytes
//    of a destination row past its pixels alone;
//  - the integer path, (c x 220) >> 8 toward shifted-straight and
//    min(255, c x 256 / 220) toward plain (platform/ipp/rgb_repack_rows.h,
//    with the repacks' vector rows), writes whole destination rows, the
//    bytes past the pixels as zero.
#include "image/color/kernel_table.h"
#include "platform/ipp/rgb_repack_rows.h"
#include "platform/ipp/scale_32f.h"

#include <array>
#include <cstring>

namespace tul::color {
namespace {

using tulipp::RgbMap;

// Float path: 0..255 onto [0, 219] and truncated (128 -> 109); 0..219 read
// as [0, 255] (the identity) and scaled from [0, 219] to bytes, rounded
// and saturated (219 -> 255).
using ByteMap = std::array<unsigned char, 256>;

template <typename F>
ByteMap MapOf(F f)
{
    ByteMap map{};
    for (int c = 0; c < 256; ++c)
        map[c] = f(static_cast<unsigned char>(c));
    return map;
}
ByteMap FloatToShifted()
{
    return MapOf([](unsigned char c) {
        return tulipp::Convert32f8uValue<ippRndZero>(tulipp::Scale8u32fValue(c, 0.0f, 219.0f));
    });
}
ByteMap FloatToPlain()
{
    return MapOf([](unsigned char c) {
        return tulipp::Scale32f8uValue(tulipp::Scale8u32fValue(c, 0.0f, 255.0f), 0.0f, 219.0f);
    });
}

// The float path's rows: three colour bytes through the table, the fourth
// byte of a 32-bit source dropped.
template <int SrcBytes>
void TableRow(const unsigned char* __restrict s, unsigned char* __restrict d, int width, const ByteMap& map)
{
    for (int x = 0; x < width; ++x, s += SrcBytes, d += 3) {
        d[0] = map[s[0]];
        d[1] = map[s[1]];
        d[2] = map[s[2]];
    }
}

template <int SrcBytes>
void TablePicture(const KernelCall& c, const ByteMap& map)
{
    for (int m = 0; m < c.height; ++m)
        TableRow<SrcBytes>(c.SrcRow(m), c.DstRow(c.DstRowFor(m)), c.width, map);
}

// Every row through the arithmetic row set; `wholeRows` (the integer
// path) also zeroes each destination row's bytes past its pixels.
template <int SrcBytes, int DstBytes, RgbMap Map, bool CopyFourth = false>
void RowPicture(const KernelCall& c, bool wholeRows)
{
    const auto row = tulipp::kRgbRows<SrcBytes, DstBytes, Map, CopyFourth>.Active();
    const auto pixels = static_cast<std::size_t>(DstBytes) * static_cast<std::size_t>(c.width);
    const auto padding = static_cast<std::size_t>(c.DstPitch()) - pixels;
    for (int m = 0; m < c.height; ++m) {
        unsigned char* d = c.DstRow(c.DstRowFor(m));
        row(c.SrcRow(m), d, c.width);
        if (wholeRows)
            std::memset(d + pixels, 0, padding);
    }
}

}  // namespace

// Repacking (also the shifted-straight twins).
void RGB32ToRGB24(const KernelCall& c) { RowPicture<4, 3, RgbMap::Keep>(c, false); }
void RGB24ToRGB32(const KernelCall& c) { RowPicture<3, 4, RgbMap::Keep>(c, false); }

// Float path.
void RGB24ToVexoShiftedStraightRGB24(const KernelCall& c) { TablePicture<3>(c, FloatToShifted()); }
void VexoShiftedStraightRGB24ToRGB24(const KernelCall& c) { TablePicture<3>(c, FloatToPlain()); }
void VexoShiftedStraightRGB32ToRGB24(const KernelCall& c) { TablePicture<4>(c, FloatToPlain()); }

// Integer path.
void RGB24ToVexoShiftedStraightRGB32(const KernelCall& c) { RowPicture<3, 4, RgbMap::ToShifted>(c, true); }
void RGB32ToVexoShiftedStraightRGB24(const KernelCall& c) { RowPicture<4, 3, RgbMap::ToShifted>(c, true); }
void RGB32ToVexoShiftedStraightRGB32(const KernelCall& c) { RowPicture<4, 4, RgbMap::ToShifted, true>(c, true); }
void VexoShiftedStraightRGB24ToRGB32(const KernelCall& c) { RowPicture<3, 4, RgbMap::ToPlain>(c, true); }
void VexoShiftedStraightRGB32ToRGB32(const KernelCall& c) { RowPicture<4, 4, RgbMap::ToPlain, true>(c, true); }

}  // namespace tul::color
