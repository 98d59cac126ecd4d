// `tulrezzo convert [INPUT] -o OUTPUT`: the words CLI11 collects and the
// settings they are checked into.
#pragma once

#include "apps/tulrezzo/frame_writer.h"
#include "apps/tulrezzo/input_words.h"
#include "apps/tulrezzo/picture_layout.h"

#include <string>

namespace CLI {
class App;
}

namespace tulrezzo {

enum class PictureInputKind { TestPattern, Y4m, Raw, Bmp, Png };

struct ConvertOptions {
    PictureInputKind inputKind = PictureInputKind::TestPattern;
    std::string input;  // empty: the test source; "-": Y4M on standard input
    OutputKind outputKind = OutputKind::Y4m;
    std::string output;
    FrameSize size{};  // 0 x 0: the input's
    bool keepAspect = false;
    Ratio outputAspect{};  // 0:0: square pixels of the output size
    TulImage::INTERPOLATION_MODE interpolation = TulImage::INTERPOLATION_AUTO;
    bool deinterlace = false;
    TulImage::DEINTERLACE_MODE deinterlaceMode = TulImage::DEINTERLACE_LINE_DOUBLE;
    bool haveScan = false;
    TulImage::SCAN_TYPE scan = TulImage::SCAN_PROGRESSIVE;
    bool haveFormat = false;
    PixelFormat format = TulImage::COLOR_FORMAT_YUY2;  // --to
    ULONG frames = 0;  // 0: the whole input
    StreamInfo raw;  // raw input only
    bool quiet = false;
};

struct ConvertWords {
    std::string input, output, size, outputAspect, interpolation = "auto", deinterlace = "none", scan, to, frames;
    RawWords raw;
    bool keepAspect = false, quiet = false;
};

// nearest, linear, cubic, auto, own; a UsageError for anything else.
TulImage::INTERPOLATION_MODE CheckInterpolation(const std::string& text);

// Adds the subcommand, its words going to *words.
CLI::App* AddConvertCommand(CLI::App& app, ConvertWords* words);
// Throws a UsageError naming the option and the value.
ConvertOptions CheckConvert(const ConvertWords& words);

}  // namespace tulrezzo
