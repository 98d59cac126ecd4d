// Weighted sample tables of the double-precision kernels (cubic and
// super-sampling): for each written destination index along one axis, the
// source indices it reads and their weights, and the same taps laid out
// for the across rows. Built once when a kernel is planned.
#pragma once

#include "platform/ipp/resize_center_plan.h"

#include <cstdint>
#include <vector>

namespace tulipp::resize_center {

struct WeightTaps {
    int lo = 0;    // first source index read, image coordinates
    int span = 0;  // indices lo .. lo + span - 1 are read
    std::vector<std::size_t> first;  // taps of output k: [first[k], first[k + 1])
    std::vector<std::int32_t> index;  // relative to lo
    std::vector<double> weight;

    int Count() const { return static_cast<int>(first.size()) - 1; }
    int MaxTaps() const;
};

// Cubic: the 4-point Lagrange polynomial through source indices i-1 .. i+2
// (i = floor(s), u = s - i), weights
//   -u(u-1)(u-2)/6, (u+1)(u-1)(u-2)/2, -(u+1)u(u-2)/2, (u+1)u(u-1)/6,
// indices replicated into the region.
WeightTaps MakeCubicTaps(const Axis& a);
// Super-sampling: area of each source pixel under the footprint
// [s, s + 1/factor), normalised by the area that falls inside the region.
WeightTaps MakeAreaTaps(const Axis& a);

// Outputs of an across row go in blocks of this many values.
constexpr int kAcrossBlock = 4;

// One block: its taps are rows tap .. tap + taps - 1 of the table.
struct AcrossBlock {
    std::uint32_t tap = 0;
    std::int32_t taps = 0;
    // First byte of the 16-byte load every sample of the block comes from,
    // or -1 when they do not fit one load (or the table has no masks).
    std::int32_t base = -1;
};

// The taps of one axis in value space for N interleaved channels: value
// v = k*N + c (output k, channel c) reads source values offset = index*N + c
// of a row starting at the axis' lo. Tap-major per block of four values, so
// a vector row loads one weight vector and one offset vector per tap.
//
// A block carries as many taps as its longest value. A shorter value is
// padded AFTER its real taps with weight 0 reading its own last sample:
// acc + 0*p == acc for the non-negative sums of the area weights, so the
// padding leaves every sum as it was. Lanes past the last value read the
// samples of the block's first value with weight 0 and are never stored.
struct AcrossTable {
    int values = 0;
    std::vector<AcrossBlock> blocks;
    std::vector<double> weight;        // kAcrossBlock per tap row
    std::vector<std::int32_t> offset;  // kAcrossBlock per tap row
    // 32 bytes per tap row when built: pshufb masks placing byte
    // (offset - base) of the block's load in the low byte of 64-bit lane j
    // (lanes 0-1 in the first 16 bytes, 2-3 in the second), zeroing the rest.
    std::vector<std::uint8_t> mask;
};

// `masks`: also build the shuffle masks, for rows that read 8-bit source
// rows of t.span * channels bytes.
AcrossTable MakeAcrossTable(const WeightTaps& t, int channels, bool masks);

}  // namespace tulipp::resize_center
