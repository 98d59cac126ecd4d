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
//    min(255, c x 256 / 220) toward plain, writes whole destination rows,
//    the bytes past the pixels as zero.
#include "image/color/kernel_table.h"
#include "platform/ipp/scale_32f.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tul::color {
namespace {

using ByteMap = std::array<unsigned char, 256>;

// What the fourth byte of a 32-bit destination receives.
enum class Fourth { Zero, Copy };

template <typename F>
ByteMap MapOf(F f)
{
    ByteMap map{};
    for (int c = 0; c < 256; ++c)
        map[c] = f(static_cast<unsigned char>(c));
    return map;
}

ByteMap Identity()
{
    return MapOf([](unsigned char c) { return c; });
}

// Integer path, toward shifted-straight (128 -> 110, 255 -> 219) and back
// (16 -> 18, 219 -> 254, 220 and above -> 255).
constexpr unsigned char ToShifted(unsigned char c) { return static_cast<unsigned char>((c * 220) >> 8); }
constexpr unsigned char ToPlain(unsigned char c) { return static_cast<unsigned char>(std::min(255, c * 256 / 220)); }
static_assert(ToShifted(128) == 110 && ToShifted(255) == 219);
static_assert(ToPlain(16) == 18 && ToPlain(219) == 254 && ToPlain(220) == 255);

// Float path: 0..255 onto [0, 219] and truncated (128 -> 109); 0..219 read
// as [0, 255] (the identity) and scaled from [0, 219] to bytes, rounded
// and saturated (219 -> 255).
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

template <int SrcBytes, int DstBytes, Fourth F>
void MapRow(const unsigned char* __restrict s, unsigned char* __restrict d, int width, const ByteMap& map)
{
    for (int x = 0; x < width; ++x, s += SrcBytes, d += DstBytes) {
        d[0] = map[s[0]];
        d[1] = map[s[1]];
        d[2] = map[s[2]];
        if constexpr (DstBytes == 4)
            d[3] = F == Fourth::Copy && SrcBytes == 4 ? s[3] : 0;
    }
}

// Every row of the picture through MapRow; `wholeRows` also zeroes each
// destination row's bytes past its pixels.
template <int SrcBytes, int DstBytes, Fourth F = Fourth::Zero>
void MapPicture(const KernelCall& c, const ByteMap& map, bool wholeRows)
{
    const auto pixels = static_cast<std::size_t>(DstBytes) * static_cast<std::size_t>(c.width);
    const auto padding = static_cast<std::size_t>(c.DstPitch()) - pixels;
    for (int m = 0; m < c.height; ++m) {
        unsigned char* d = c.DstRow(c.DstRowFor(m));
        MapRow<SrcBytes, DstBytes, F>(c.SrcRow(m), d, c.width, map);
        if (wholeRows)
            std::memset(d + pixels, 0, padding);
    }
}

}  // namespace

// Repacking (also the shifted-straight twins).
void RGB32ToRGB24(const KernelCall& c) { MapPicture<4, 3>(c, Identity(), false); }
void RGB24ToRGB32(const KernelCall& c) { MapPicture<3, 4>(c, Identity(), false); }

// Float path.
void RGB24ToVexoShiftedStraightRGB24(const KernelCall& c) { MapPicture<3, 3>(c, FloatToShifted(), false); }
void VexoShiftedStraightRGB24ToRGB24(const KernelCall& c) { MapPicture<3, 3>(c, FloatToPlain(), false); }
void VexoShiftedStraightRGB32ToRGB24(const KernelCall& c) { MapPicture<4, 3>(c, FloatToPlain(), false); }

// Integer path.
void RGB24ToVexoShiftedStraightRGB32(const KernelCall& c) { MapPicture<3, 4>(c, MapOf(ToShifted), true); }
void RGB32ToVexoShiftedStraightRGB24(const KernelCall& c) { MapPicture<4, 3>(c, MapOf(ToShifted), true); }
void RGB32ToVexoShiftedStraightRGB32(const KernelCall& c)
{
    MapPicture<4, 4, Fourth::Copy>(c, MapOf(ToShifted), true);
}
void VexoShiftedStraightRGB24ToRGB32(const KernelCall& c) { MapPicture<3, 4>(c, MapOf(ToPlain), true); }
void VexoShiftedStraightRGB32ToRGB32(const KernelCall& c) { MapPicture<4, 4, Fourth::Copy>(c, MapOf(ToPlain), true); }

}  // namespace tul::color
