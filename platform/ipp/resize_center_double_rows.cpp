// Scalar row operations of the double-precision kernels and the choice of
// instruction-set level.
#include "platform/ipp/resize_center_double_rows.h"

#include "platform/ipp/simd_level.h"

namespace tulipp::resize_center {

void CombineFourScalar(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n)
{
    const double w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
    const double *r0 = rows[0], *r1 = rows[1], *r2 = rows[2], *r3 = rows[3];
    for (std::size_t i = 0; i < n; ++i)
        out[i] = RoundSample(w0 * r0[i] + w1 * r1[i] + w2 * r2[i] + w3 * r3[i]);
}

void AccumulateScalar(const Ipp8u* s, double w, double* acc, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        acc[i] += w * s[i];
}

void RoundScalar(const double* v, Ipp8u* out, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        out[i] = RoundSample(v[i]);
}

const DoubleRowOps& ScalarDoubleRowOps()
{
    static const DoubleRowOps ops{CombineFourScalar, AccumulateScalar, RoundScalar};
    return ops;
}

const DoubleRowOps& ActiveDoubleRowOps()
{
    if (SimdAtLeast(SimdLevel::AVX2))
        return Avx2DoubleRowOps();
    if (SimdAtLeast(SimdLevel::SSE2))
        return Sse2DoubleRowOps();
    return ScalarDoubleRowOps();
}

}  // namespace tulipp::resize_center
