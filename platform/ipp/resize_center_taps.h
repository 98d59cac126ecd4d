// Weighted sample tables of the double-precision kernels (cubic and
// super-sampling): for each written destination index along one axis, the
// source indices it reads and their weights, and the same taps laid out
// for the across rows. Built once when a kernel is planned.
#pragma once

#include "platform/ipp/resize_center_plan.h"

#include <array>
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

// The taps of one axis in value space for N interleaved channels: value
// v = k*N + c (output k, channel c) reads source values index*N + c of a
// row that starts at the axis' lo. Values go in blocks of four, tap-major:
// block g's tap m of value 4g + j is entry start[g] + 4m + j of weight and
// offset, so a vector row reads one run of weights and offsets per tap.
//
// A block carries as many taps as its longest value. A shorter value is
// padded AFTER its real taps with weight 0 on the samples that follow
// (its own last one at the row's end): acc + 0*p == acc for the
// non-negative sums of the area weights, so the padding leaves every sum as
// it was. Lanes past the last value repeat the block's first value with
// weight 0 and are never stored. A block is a run when each of its values
// reads consecutive pixels (offsets step by N from tap to tap), as all but
// the blocks clamped at a region edge do.
//
// Blocks go in chunks whose source values [x0, x1) stay few enough that a
// chunk's rows laid side by side stay in the first-level cache while its
// blocks read them.
struct AcrossChunk {
    int g0 = 0, g1 = 0;  // blocks
    int x0 = 0, x1 = 0;  // source values they read
};

struct AcrossTable {
    int values = 0;  // outputs * N
    int span = 0;    // source values a row holds: span * N
    std::vector<std::size_t> start;  // per block
    std::vector<int> taps;           // per block
    std::vector<std::uint8_t> run;   // per block
    // The offset step of a run, by value within the block: N for every
    // value of an interleaved row; a packed 4:2:2 row steps its luma by 2
    // and its chroma by 4.
    std::array<int, kAcrossBlock> steps{1, 1, 1, 1};
    std::vector<double> weight;
    std::vector<std::int32_t> offset;
    std::vector<AcrossChunk> chunks;

    int Blocks() const { return static_cast<int>(taps.size()); }
};

// The taps of each output value in value space, before they are laid out
// in blocks: value v reads offset[i] with weight[i], i in [first[v],
// first[v + 1]), in tap order.
struct ValueTaps {
    int span = 0;  // source values a row holds
    std::array<int, kAcrossBlock> steps{1, 1, 1, 1};
    std::vector<std::size_t> first{0};
    std::vector<std::int32_t> offset;
    std::vector<double> weight;

    int Values() const { return static_cast<int>(first.size()) - 1; }
};

AcrossTable MakeAcrossTable(const WeightTaps& t, int channels);
AcrossTable LayOutAcross(const ValueTaps& v);

// An across pass placed in its rows: the table, the source byte its
// values are counted from and the first destination byte it writes.
struct AcrossPlacement {
    AcrossTable table;
    std::int64_t srcLo = 0;
    std::int64_t dstLo = 0;
};

// The across pass of one interleaved row of `channels` samples a pixel,
// writing the axis' written columns.
AcrossPlacement PlaceAcross(const WeightTaps& t, int channels, const Axis& x);

// The double kernels over a placed across pass; PlanCubic and PlanSuper
// place theirs from the x axis.
std::unique_ptr<KernelPlan> PlanCubicAcross(AcrossPlacement across, const Axis& y, SimdLevel level);
std::unique_ptr<KernelPlan> PlanSuperAcross(AcrossPlacement across, const Axis& y, SimdLevel level);

}  // namespace tulipp::resize_center
