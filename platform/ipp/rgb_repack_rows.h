// Rows of the RGB to RGB kernels whose colour map is arithmetic: repacking
// between 24 and 32 bits a pixel, alone or with the integer rescaling
// between plain RGB (0..255) and shifted-straight RGB (0..219). One row per
// instruction-set path, chosen through a RowSet; every path gives the
// scalar row's bytes. (The float rescaling maps bytes through a table
// built from the scale primitives and has no vector rows.)
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

#include <algorithm>

namespace tulipp {

enum class RgbMap {
    Keep,       // repacking only
    ToShifted,  // (c x 220) >> 8: 128 -> 110, 255 -> 219
    ToPlain,    // c x 256 / 220 truncated, at most 255: 16 -> 18, 219 -> 254
};

constexpr unsigned char MapColour(RgbMap map, unsigned char c)
{
    if (map == RgbMap::ToShifted)
        return static_cast<unsigned char>((c * 220) >> 8);
    if (map == RgbMap::ToPlain)
        return static_cast<unsigned char>(std::min(255, c * 256 / 220));
    return c;
}

// The vector rows reach 256c / 220 = c + 9c / 55 in 16 bits: 9c <= 2295,
// where the high half of 9c x 1192 (1192 = 2^16 / 55 rounded up) is
// floor(9c / 55); checked here for every byte.
constexpr bool PlainBy16BitParts()
{
    for (int c = 0; c < 256; ++c)
        if (std::min(255, c + ((9 * c * 1192) >> 16)) != MapColour(RgbMap::ToPlain, static_cast<unsigned char>(c)))
            return false;
    return true;
}
static_assert(PlainBy16BitParts());
static_assert(MapColour(RgbMap::ToShifted, 128) == 110 && MapColour(RgbMap::ToShifted, 255) == 219);
static_assert(MapColour(RgbMap::ToPlain, 16) == 18 && MapColour(RgbMap::ToPlain, 219) == 254 &&
              MapColour(RgbMap::ToPlain, 220) == 255);

using RgbRowFn = void (*)(const Ipp8u* src, Ipp8u* dst, int width);

// `width` pixels of SrcBytes bytes into DstBytes bytes: the three colour
// bytes mapped; a 32-bit destination's fourth byte is the source's when
// CopyFourth (both sides 32-bit), else 0.
template <int SrcBytes, int DstBytes, RgbMap Map, bool CopyFourth>
void RgbRowScalar(const Ipp8u* __restrict src, Ipp8u* __restrict dst, int width)
{
    for (int x = 0; x < width; ++x, src += SrcBytes, dst += DstBytes) {
        for (int c = 0; c < 3; ++c)
            dst[c] = MapColour(Map, src[c]);
        if constexpr (DstBytes == 4)
            dst[3] = CopyFourth ? src[3] : 0;
    }
}

// Defined and instantiated for the kernels' combinations in
// simd/rgb_repack_ssse3.cpp.
template <int SrcBytes, int DstBytes, RgbMap Map, bool CopyFourth>
TUL_TARGET_SSSE3 void RgbRowSsse3(const Ipp8u* src, Ipp8u* dst, int width);

template <int SrcBytes, int DstBytes, RgbMap Map, bool CopyFourth = false>
inline constexpr RowSet<RgbRowFn> kRgbRows{RgbRowScalar<SrcBytes, DstBytes, Map, CopyFourth>, nullptr,
                                           RgbRowSsse3<SrcBytes, DstBytes, Map, CopyFourth>, nullptr};

}  // namespace tulipp
