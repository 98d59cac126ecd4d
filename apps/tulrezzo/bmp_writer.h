// 24-bit Windows bitmaps from the bottom-up BGR pictures the filter's
// snapshot interface gives.
#pragma once

#include "platform/win32/wintypes.h"

#include <string>
#include <vector>

namespace tulrezzo {

// The whole file: a 14-byte file header, a 40-byte BITMAPINFOHEADER
// (positive height: bottom-up) and the pixel rows, each width x 3 bytes
// of B, G, R padded with zeros to a multiple of 4. pixels holds the rows
// unpadded, bottom row first. Empty for sizes below 1 or above the
// program's frame limit.
std::vector<BYTE> EncodeBmp24(const BYTE* pixels, LONG width, LONG height);

// Encodes and writes the file; throws a Failure naming it when that fails.
void WriteBmp24(const std::string& path, const BYTE* pixels, LONG width, LONG height);

}  // namespace tulrezzo
