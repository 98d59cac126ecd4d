// Sizes, ratios and counts as the command line and the Y4M header spell
// them ("720x480", "30000:1001", "25/1"), with the limits every frame
// size must keep so that byte counts stay inside 32 bits.
#pragma once

#include "platform/win32/wintypes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tulrezzo {

struct FrameSize {
    LONG width = 0;
    LONG height = 0;
};

struct Ratio {
    LONG num = 0;
    LONG den = 0;
};

// Frames larger than this on either side are refused; 16384 x 16384 YUY2
// is 512 MiB, well inside the 32-bit sample sizes of the graph.
constexpr LONG kMaxDimension = 16384;

// An unsigned decimal number that fits in LONG; no sign, no spaces.
bool ParseNumber(std::string_view text, LONG* value);
// Two numbers joined by one of the separator characters ("720x480").
bool ParsePair(std::string_view text, std::string_view separators, LONG* first, LONG* second);

// Why a frame size cannot be used (empty when it can): both sides from 1
// to kMaxDimension, the width even because YUY2 pairs pixels.
std::string FrameSizeProblem(FrameSize size);

// Bytes of one YUY2 frame; the size must have passed FrameSizeProblem.
inline ULONG Yuy2FrameBytes(FrameSize size) { return static_cast<ULONG>(size.width) * static_cast<ULONG>(size.height) * 2u; }

// num:den in lowest terms; terms too large for LONG are scaled down
// together, keeping the ratio as closely as 31 bits allow. Both terms
// must be positive.
Ratio ReduceRatio(std::int64_t num, std::int64_t den);

std::string FormatSize(FrameSize size);

}  // namespace tulrezzo
