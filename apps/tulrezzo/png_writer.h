// PNG files through libpng: 8-bit RGB from B, G, R rows, RGBA from
// B, G, R, A rows.
#pragma once

#include "platform/win32/wintypes.h"

#include <string>

namespace tulrezzo {

// Writes the top-down picture (rows `stride` bytes apart) to path; false
// with *error naming the file when libpng or the file refuses.
bool WritePng(const std::string& path, const BYTE* pixels, LONG width, LONG height, int stride, bool alpha,
              std::string* error);

}  // namespace tulrezzo
