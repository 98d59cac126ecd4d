// Opens an input of the picture commands in its own layout: Y4M as YUY2
// (4:2:2) or I420 (4:2:0), raw frames in the format named, BMP and PNG
// pictures as RGB24 or RGB32, the test source as YUY2.
#pragma once

#include "apps/tulrezzo/convert_options.h"
#include "apps/tulrezzo/frame_source.h"

#include <memory>

namespace tulrezzo {

// The kind a name asks for: none the test source, - or .y4m Y4M, .yuv raw,
// .bmp and .png pictures; a UsageError for any other name.
PictureInputKind PictureInputKindOf(const std::string& input);

// Throws a Failure when the file cannot be opened or its header used.
// frames bounds the test source (0: its default length).
std::unique_ptr<FrameSource> OpenPictureSource(PictureInputKind kind, const std::string& path,
                                               const StreamInfo& raw, ULONG frames);

// The display aspect the library's conversion takes: the frame's own
// shape for square pixels.
Ratio DisplayAspect(const StreamInfo& info);

// The field order the library reads from a Y4M interlace letter; mixed
// and unknown streams are taken as progressive.
TulImage::SCAN_TYPE ScanOf(const StreamInfo& info);

// The library's description of a picture of this stream: its size and
// display aspect, with the given byte count, step and field order.
PICTURE_INFO PictureInfoOf(const StreamInfo& info, ULONG bytes, int step, TulImage::SCAN_TYPE scan);

}  // namespace tulrezzo
