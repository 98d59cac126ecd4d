// Scalar reference rows of the double-precision kernels.
#include "platform/ipp/resize_center_double_rows.h"

namespace tulipp::resize_center {

void CombineFourScalar(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n)
{
    const double w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
    const double *r0 = rows[0], *r1 = rows[1], *r2 = rows[2], *r3 = rows[3];
    for (std::size_t i = 0; i < n; ++i)
        out[i] = RoundSample(w0 * r0[i] + w1 * r1[i] + w2 * r2[i] + w3 * r3[i]);
}

void SumRowsScalarFrom(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t i0,
                       std::size_t n)
{
    for (std::size_t i = i0; i < n; ++i) {
        double sum = w[0] * rows[0][i];
        for (int m = 1; m < taps; ++m)
            sum += w[m] * rows[m][i];
        out[i] = sum;
    }
}

void SumRowsScalar(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n)
{
    SumRowsScalarFrom(rows, w, taps, out, 0, n);
}

void CubicAcrossScalarFrom(const Ipp8u* row, const AcrossTable& t, double* out, int v0)
{
    for (int v = v0; v < t.values; ++v)
        out[v] = AcrossValue(row, t, v);
}

void SuperAcrossScalarFrom(const double* row, const AcrossTable& t, Ipp8u* out, int v0)
{
    for (int v = v0; v < t.values; ++v)
        out[v] = RoundSample(AcrossValue(row, t, v));
}

void CubicAcrossScalar(const Ipp8u* row, const AcrossTable& t, double* out) { CubicAcrossScalarFrom(row, t, out, 0); }

void SuperAcrossScalar(const double* row, const AcrossTable& t, Ipp8u* out) { SuperAcrossScalarFrom(row, t, out, 0); }

}  // namespace tulipp::resize_center
