// The row of ippiAddC_8u_C3RSfs / C3IRSfs, for callers that fuse it with
// other rows.
#pragma once

#include "platform/ipp/ippdefs.h"

namespace tulipp {

// Adds value[c] to channel c of `width` three-byte pixels, scales the sum
// by 2^-scaleFactor (halves to even) and saturates; src may equal dst.
void AddC3Row(const Ipp8u* src, const Ipp8u value[3], Ipp8u* dst, int width, int scaleFactor);

}  // namespace tulipp
