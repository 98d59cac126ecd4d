// 24- and 32-bit Windows bitmaps: the snapshot's bottom-up BGR pictures,
// and the converted frames of picture outputs.
#pragma once

#include "platform/win32/wintypes.h"

#include <string>
#include <vector>

namespace tulrezzo {

// The 14-byte file header and the 40-byte BITMAPINFOHEADER (BI_RGB,
// positive height: bottom-up) of a 24- or 32-bit picture whose rows of
// BmpStride bytes follow; empty for other depths and for sizes below 1 or
// above the program's frame limit.
std::vector<BYTE> BmpHeaders(LONG width, LONG height, int bits);
// A stored row: width x bits / 8 bytes padded to a multiple of 4.
std::size_t BmpStride(LONG width, int bits);

// The whole file: a 14-byte file header, a 40-byte BITMAPINFOHEADER
// (positive height: bottom-up) and the pixel rows, each width x 3 bytes
// of B, G, R padded with zeros to a multiple of 4. pixels holds the rows
// unpadded, bottom row first. Empty for sizes below 1 or above the
// program's frame limit.
std::vector<BYTE> EncodeBmp24(const BYTE* pixels, LONG width, LONG height);

// Encodes and writes the file; throws a Failure naming it when that fails.
void WriteBmp24(const std::string& path, const BYTE* pixels, LONG width, LONG height);

}  // namespace tulrezzo
