// Tables of the own resampler: the area-shrink schedule on the
// common rational grid and the Lagrange table of the cubic stretch. Both are
// built once per line length pair and then drive every row or column alike.
#pragma once

#include <cstdint>
#include <vector>

namespace tul {

// How an area sum (at most 255 * b) is brought back to one sample.
struct AreaScale {
    std::uint32_t reciprocal;  // at most 2^31, since b >= 2
    unsigned shift;
    unsigned char Apply(std::uint32_t sum) const
    {
        return static_cast<unsigned char>((static_cast<std::uint64_t>(sum) * reciprocal) >> shift);
    }
};

// The two engines divide by b differently: planes keep 32 fraction bits,
// the packed engine only 13 (r = 8192 / b, truncated), so a uniform packed
// area darkens as b grows (b = 721 turns 255 into 246). Both are the
// resampler's rule and are kept exactly.
enum class AreaReciprocal { Plane32, Packed13 };

// One source sample's share of a destination sample, in grid units.
struct AreaTap {
    int source;
    std::uint32_t weight;
};

// Destination sample j sums taps[first[j]] .. taps[first[j + 1] - 1].
struct AreaPlan {
    int a = 0;  // grid units per source sample
    int b = 0;  // grid units per destination sample
    AreaScale scale{0, 0};
    std::vector<AreaTap> taps;
    std::vector<int> first;
    // The same schedule with `span` taps for every destination sample (the
    // most any has), for the row kernel: sample j sums
    // weights[j * span + k] * s[start[j] + k] for k < span. A sample's taps
    // are consecutive source samples; the padding weights are 0, and start
    // is moved back where the padding would read past the line.
    int span = 0;
    std::vector<int> start;
    std::vector<std::uint32_t> weights;
};

// Shrinks n samples to m (n > m >= 1). False when the common grid does not
// fit in 32 signed bits.
bool BuildAreaPlan(AreaPlan& plan, int n, int m, AreaReciprocal reciprocal);

// Source position and 16.16 Lagrange weights of one destination sample.
struct StretchEntry {
    int source;       // integer part of the source position
    int weight[4];    // samples source - 1 .. source + 2, scaled by 65536
    double fraction;  // fractional part, for the linear ends
};

// The four weights of fraction f, every conversion truncating toward zero.
void LagrangeWeights(double f, int weight[4]);

// Enlarges n samples to m (m > n >= 2): one entry per destination sample.
void BuildStretchTable(std::vector<StretchEntry>& table, int n, int m);

enum class LineKind { Copy, Halve, Shrink, Replicate, Double, Stretch };

// What one pass does to every line: n source samples to m.
struct LinePlan {
    LineKind kind = LineKind::Copy;
    int n = 0;
    int m = 0;
    AreaPlan area;
    std::vector<StretchEntry> stretch;
};

// Chooses the kernel by the first matching case: equal, exact half, any
// shrink, a single source sample, exact double, otherwise cubic. The packed
// engine's horizontal pass has no replicate case of its own, but its chroma
// line of one pair gives the single sample from double or stretch alike, so
// one order serves every pass. False when the area grid overflows.
bool BuildLinePlan(LinePlan& plan, int n, int m, AreaReciprocal reciprocal);

}  // namespace tul
