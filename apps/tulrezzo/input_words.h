// The raw-input options the picture commands share: --input-format,
// --input-size, --rate and --interlaced, for every .yuv input of a run.
#pragma once

#include "apps/tulrezzo/stream_info.h"

#include <string>

namespace CLI {
class App;
}

namespace tulrezzo {

struct RawWords {
    std::string format, size, rate;
    bool interlaced = false;
};

void AddRawOptions(CLI::App* command, RawWords* words);

// The layout of the raw inputs; anyRaw tells whether a .yuv input was
// named. Throws a UsageError for options without a raw input, a raw input
// without --input-size, or a value that cannot be used.
StreamInfo CheckRawWords(const RawWords& words, bool anyRaw);

// A positive ratio "N/D" or "N:D"; a UsageError naming the option.
Ratio PositiveRatio(const char* option, const std::string& text, const char* separators, const char* example);

}  // namespace tulrezzo
