// The YUV4MPEG2 stream header: the tags this program reads and writes,
// and the translation between Y4M's pixel aspect and the filter's
// picture aspect.
#pragma once

#include "apps/tulrezzo/stream_info.h"

#include <string>
#include <string_view>

namespace tulrezzo {

inline constexpr std::string_view kY4mMagic = "YUV4MPEG2";
inline constexpr std::string_view kY4mFrameMagic = "FRAME";

// Reads the header line (magic and tags, without the newline). Accepts
// 4:2:0 chroma (info.format YUV420, also when C is left out) and 4:2:2
// (YUY2); W, H and F are required, I and A optional, X and unknown tags
// ignored. Throws a Failure whose message names the
// offending tag.
StreamInfo ParseY4mHeader(std::string_view line);

// The header line, newline included, for frames of info.size at
// info.rate with the pixel aspect given and info.interlaceTag (left out
// when 0); the chroma tag follows info.format: C422 for YUY2, C420jpeg for
// I420 and YV12, C444alpha for VUYA.
std::string FormatY4mHeader(const StreamInfo& info, Ratio pixelAspect);

// Y4M pixel aspect (0:0 unknown, taken as square) to the picture aspect
// the filter reads, where 1:1 means square pixels: a picture that is
// truly square on a non-square frame is written 2:2 so it is not taken
// for the frame's own shape.
Ratio PictureAspectFromPixelAspect(FrameSize size, Ratio pixelAspect);
// The inverse, for the output: the filter's 1:1 gives square pixels.
Ratio PixelAspectFromPictureAspect(FrameSize size, Ratio pictureAspect);

}  // namespace tulrezzo
