// `tulrezzo blend A B -o OUT`: frame by frame, B mixed over A with a
// weight (or a cross-fade from --weight-from to --weight-to over
// --frames), optionally into one field only, B resized into A's size with
// --fit; all through the library's resize-blend operations.
#pragma once

#include "apps/tulrezzo/frame_writer.h"
#include "apps/tulrezzo/input_words.h"
#include "apps/tulrezzo/picture_source.h"

#include <iosfwd>

namespace tulrezzo {

struct BlendWords {
    std::string a, b, output, weight, weightFrom, weightTo, field = "frame", interpolation = "auto", to, frames;
    RawWords raw;
    bool fit = false, quiet = false;
};

struct BlendOptions {
    std::string a, b, output;
    PictureInputKind kindA = PictureInputKind::Y4m, kindB = PictureInputKind::Y4m;
    OutputKind outputKind = OutputKind::Y4m;
    StreamInfo raw;
    float weightFrom = 0.5f, weightTo = 0.5f;  // equal: one weight throughout
    TulImage::FIELD_TYPE field = TulImage::FIELD_FRAME;
    TulImage::INTERPOLATION_MODE interpolation = TulImage::INTERPOLATION_AUTO;
    bool fit = false;
    bool haveFormat = false;
    PixelFormat format = TulImage::COLOR_FORMAT_YUY2;
    ULONG frames = 0;
    bool quiet = false;
};

CLI::App* AddBlendCommand(CLI::App& app, BlendWords* words);
BlendOptions CheckBlend(const BlendWords& words);
int RunBlend(const BlendOptions& options, std::ostream& err, bool showProgress);

}  // namespace tulrezzo
