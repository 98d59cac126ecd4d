// Picture outputs: each frame a BMP or PNG file of its own, named by the
// output's number pattern; without one, the output holds one picture and
// a second frame is an error that says how to name them.
#pragma once

#include "apps/tulrezzo/frame_writer.h"
#include "apps/tulrezzo/numbered_name.h"

namespace tulrezzo {

// info: RGB24 or RGB32 frames; BMP frames in the bitmap's own bottom-up
// padded rows (the library's default step), PNG frames top-down, tight.
// The pattern must have passed ParseNumberedName.
std::unique_ptr<FrameWriter> CreatePictureWriter(const std::string& pattern, OutputKind kind,
                                                 const StreamInfo& info);

}  // namespace tulrezzo
