// `tulrezzo overlay BACKGROUND FOREGROUND -o OUT --at X,Y`: a picture with
// alpha (a PNG with alpha or a 32-bit BMP) composited over every frame of
// the background with the library's AlphaCompRGB24.
#pragma once

#include "apps/tulrezzo/frame_writer.h"
#include "apps/tulrezzo/input_words.h"
#include "apps/tulrezzo/picture_source.h"

#include <iosfwd>

namespace tulrezzo {

struct OverlayWords {
    std::string background, foreground, output, at, to, frames;
    RawWords raw;
    bool quiet = false;
};

struct OverlayOptions {
    std::string background, foreground, output;
    PictureInputKind kindBackground = PictureInputKind::Y4m, kindForeground = PictureInputKind::Png;
    OutputKind outputKind = OutputKind::Y4m;
    StreamInfo raw;
    LONG x = 0, y = 0;
    bool haveFormat = false;
    PixelFormat format = TulImage::COLOR_FORMAT_YUY2;
    ULONG frames = 0;
    bool quiet = false;
};

CLI::App* AddOverlayCommand(CLI::App& app, OverlayWords* words);
OverlayOptions CheckOverlay(const OverlayWords& words);
int RunOverlay(const OverlayOptions& options, std::ostream& err, bool showProgress);

}  // namespace tulrezzo
