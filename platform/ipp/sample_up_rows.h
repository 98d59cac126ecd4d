// The rows of the JPEG-style 2:1 chroma upsampling (ippiSampleUpH2V1 and
// H2V2), shared by the primitives and the colour kernels that fuse them.
//
// The triangle filter weights the nearer input sample 3/4 and the further
// one 1/4; H2V2 first forms column sums 3*near + far of two input rows,
// then filters them horizontally (weights 9, 3, 3, 1 over 16). Neighbours
// past either end repeat the edge sample, so nothing outside the row is
// read. An output wider than twice the input repeats the last computed
// value; a narrower one is cut, still using the true neighbours.
#pragma once

#include "platform/ipp/ippdefs.h"

namespace tulipp {

// One output row of `outWidth` from one input row of `inWidth` (>= 1).
void SampleUpH2V1Row(const Ipp8u* in, int inWidth, Ipp8u* out, int outWidth);

// One output row from the input row it lies in (`nearRow`) and the
// vertically nearer neighbour row (`farRow`; the row itself at an edge).
void SampleUpH2V2Row(const Ipp8u* nearRow, const Ipp8u* farRow, int inWidth, Ipp8u* out, int outWidth);

}  // namespace tulipp
