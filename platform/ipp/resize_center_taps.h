// Weighted sample tables of the double-precision kernels (cubic and
// super-sampling): for each written destination index along one axis, the
// source indices it reads and their weights, computed once per call.
#pragma once

#include "platform/ipp/resize_center_plan.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace tulipp::resize_center {

struct WeightTaps {
    int lo = 0;    // first source index read, image coordinates
    int span = 0;  // indices lo .. lo + span - 1 are read
    std::vector<std::size_t> first;  // taps of output k: [first[k], first[k + 1])
    std::vector<std::int32_t> index;  // relative to lo
    std::vector<double> weight;
};

// Intel's documented cubic: 4-point Lagrange through columns i-1 .. i+2.
WeightTaps MakeCubicTaps(const Axis& a);
// Super-sampling: area of each source pixel under the footprint
// [s, s + 1/factor), normalised by the area that falls inside the region.
WeightTaps MakeAreaTaps(const Axis& a);

// out[k*N + c] = sum of weight * row[index*N + c] over the taps of k.
template <int N, typename T>
void ApplyTaps(const T* row, const WeightTaps& t, double* out, int count)
{
    for (int k = 0; k < count; ++k) {
        double acc[N] = {};
        for (std::size_t m = t.first[k]; m < t.first[k + 1]; ++m) {
            const T* p = row + static_cast<std::ptrdiff_t>(t.index[m]) * N;
            const double w = t.weight[m];
            for (int c = 0; c < N; ++c)
                acc[c] += w * p[c];
        }
        for (int c = 0; c < N; ++c)
            out[k * N + c] = acc[c];
    }
}

// ApplyTaps for tables of exactly four taps per output (the cubic), on a
// row already converted to double. Sums in tap order, as ApplyTaps does.
template <int N>
void ApplyFourTaps(const double* row, const WeightTaps& t, double* out, int count)
{
    const std::int32_t* index = t.index.data();
    const double* weight = t.weight.data();
    for (int k = 0; k < count; ++k, index += 4, weight += 4) {
        const double* p0 = row + static_cast<std::ptrdiff_t>(index[0]) * N;
        const double* p1 = row + static_cast<std::ptrdiff_t>(index[1]) * N;
        const double* p2 = row + static_cast<std::ptrdiff_t>(index[2]) * N;
        const double* p3 = row + static_cast<std::ptrdiff_t>(index[3]) * N;
        for (int c = 0; c < N; ++c)
            out[k * N + c] = weight[0] * p0[c] + weight[1] * p1[c] + weight[2] * p2[c] + weight[3] * p3[c];
    }
}

}  // namespace tulipp::resize_center
