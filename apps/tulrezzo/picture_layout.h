// The library's eight pixel formats as the command line names them, and
// the bytes and row steps of a frame in each.
#pragma once

#include "apps/tulrezzo/numbers.h"
#include "image/TulImage.h"

#include <string>

namespace tulrezzo {

using PixelFormat = TulImage::COLOR_FORMAT_TYPE;

// "yuy2", "i420", "yv12", "rgb24", "rgb32", "srgb24", "srgb32", "vuya";
// false for any other name.
bool PixelFormatByName(const std::string& name, PixelFormat* format);
const char* PixelFormatName(PixelFormat format);
// "yuy2, i420, ..." for messages.
std::string PixelFormatChoices();

bool IsRgbFormat(PixelFormat format);
bool Is420Format(PixelFormat format);

// The row of a top-down frame with no padding: 2 x width for YUY2, the
// width for the 4:2:0 luma, 3 or 4 bytes a pixel for the rest.
int TightStep(PixelFormat format, LONG width);

// Bytes of a frame with the signed step given (0: TightStep); the size
// must have passed PictureSizeProblem.
ULONG PictureBytes(PixelFormat format, FrameSize size, int step);

// Why frames of this size cannot be held in the format (empty when they
// can): both sides from 1 to kMaxDimension, YUY2 widths even (pixels go in
// pairs), 4:2:0 widths and heights even (one chroma sample a 2 x 2 block).
std::string PictureSizeProblem(PixelFormat format, FrameSize size);

}  // namespace tulrezzo
