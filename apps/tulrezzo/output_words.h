// The checks the picture commands share for their output: its kind by
// name, a picture name's number pattern, and --to.
#pragma once

#include "apps/tulrezzo/frame_writer.h"

#include <string>

namespace tulrezzo {

// Throws a UsageError for a name whose kind cannot be told or whose
// number pattern is wrong.
OutputKind CheckOutputName(const std::string& output);
// The format --to names, checked against what the output holds; false
// when `to` is empty.
bool CheckOutputFormat(const std::string& to, OutputKind kind, const std::string& output, PixelFormat* format);
// A whole number of frames, at least 1; 0 for empty text.
ULONG CheckFrames(const std::string& text);

}  // namespace tulrezzo
