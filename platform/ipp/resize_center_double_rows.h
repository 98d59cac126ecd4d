// Row operations of the double-precision kernels (cubic, super-sampling),
// with SSE2 and AVX2 versions chosen at run time. Every version performs
// the same IEEE double operations in the same order (no fused multiply-add),
// so all give the same bytes.
#pragma once

#include "platform/ipp/ippdefs.h"

#include <algorithm>
#include <cstddef>

namespace tulipp::resize_center {

// Clamps to the 8-bit range first (the cubic overshoots), then rounds half
// up. Written as min/max so that the row loops stay free of branches.
inline Ipp8u RoundSample(double v)
{
    return static_cast<Ipp8u>(std::min(std::max(v, 0.0), 255.0) + 0.5);
}

struct DoubleRowOps {
    // out[i] = RoundSample(((w[0]*r0[i] + w[1]*r1[i]) + w[2]*r2[i]) + w[3]*r3[i])
    void (*combineFour)(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
    // acc[i] += w * s[i]
    void (*accumulate)(const Ipp8u* s, double w, double* acc, std::size_t n);
    // out[i] = RoundSample(v[i])
    void (*round)(const double* v, Ipp8u* out, std::size_t n);
};

const DoubleRowOps& ScalarDoubleRowOps();
const DoubleRowOps& Sse2DoubleRowOps();
const DoubleRowOps& Avx2DoubleRowOps();
const DoubleRowOps& ActiveDoubleRowOps();

// Scalar forms, also the tails of the vector ones.
void CombineFourScalar(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
void AccumulateScalar(const Ipp8u* s, double w, double* acc, std::size_t n);
void RoundScalar(const double* v, Ipp8u* out, std::size_t n);

}  // namespace tulipp::resize_center
