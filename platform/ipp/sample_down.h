// Rows of the JPEG-style 2:1 chroma downsamplers (ippiSampleDownH2V1 and
// H2V2_JPEG_8u_C1R): box averages with libjpeg's ordered rounding bias.
#pragma once

#include "platform/ipp/ippdefs.h"

namespace tulipp {

// out[i] = (in[2i] + in[2i+1] + (0, 1, 0, 1, ...)) >> 1 for the dstWidth
// outputs; an odd source width repeats its last column, and outputs past
// ceil(srcWidth / 2) repeat the last computed one.
void SampleDownH2V1Row(const Ipp8u* in, int srcWidth, Ipp8u* out, int dstWidth);
// The same over the 2x2 block of rows in0 and in1, bias (1, 2, 1, 2, ...),
// shift 2.
void SampleDownH2V2Row(const Ipp8u* in0, const Ipp8u* in1, int srcWidth, Ipp8u* out, int dstWidth);

}  // namespace tulipp
