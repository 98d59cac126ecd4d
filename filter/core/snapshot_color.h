// Colour conversion for still pictures: a YUY2 frame into the bottom-up
// 24-bit BGR layout of a Windows bitmap.
#pragma once

#include "platform/win32/wintypes.h"

// Converts width x height YUY2 pixels (lines of width x 2 bytes, top line
// first) into BGR lines of width x 3 bytes, bottom line first, with the
// full-range BT.601 factors in 15-bit fixed point and no offset on Y.
// Returns E_FAIL (0x80004005) for a null pointer, a negative width or a
// picture whose byte count passes 32 bits; S_OK otherwise, writing
// nothing when height or width is below 1. An odd width converts the
// width - 1 pixels of the whole pairs and leaves each line's last pixel.
HRESULT Yuy2ToBgr24BottomUp(BYTE* dst, const BYTE* src, LONG width, LONG height);
