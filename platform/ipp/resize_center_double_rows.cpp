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

void InterleaveScalarFrom(const Ipp8u* const rows[4], double* lanes, std::size_t x0, std::size_t n)
{
    for (std::size_t x = x0; x < n; ++x)
        for (int q = 0; q < 4; ++q)
            lanes[x * 4 + q] = rows[q][x];
}

void SumDownScalarFrom(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4], double* lanes,
                       std::size_t x0, std::size_t n)
{
    for (std::size_t x = x0; x < n; ++x) {
        for (int q = 0; q < 4; ++q) {
            double sum = w[q][0] * rows[q][0][x];
            for (int m = 1; m < taps[q]; ++m)
                sum += w[q][m] * rows[q][m][x];
            lanes[x * 4 + q] = sum;
        }
    }
}

void InterleaveScalar(const Ipp8u* const rows[4], double* lanes, std::size_t n)
{
    InterleaveScalarFrom(rows, lanes, 0, n);
}

void SumDownScalar(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4], double* lanes,
                   std::size_t n)
{
    SumDownScalarFrom(rows, w, taps, lanes, 0, n);
}

void CubicAcrossValues(const double* lanes, const AcrossTable& t, int v0, int v1, double* const out[4])
{
    for (int q = 0; q < 4; ++q)
        for (int v = v0; v < v1; ++v)
            out[q][v] = AcrossValue(lanes, t, v, q);
}

void SuperAcrossValues(const double* lanes, const AcrossTable& t, int v0, int v1, Ipp8u* const out[4])
{
    for (int q = 0; q < 4; ++q)
        for (int v = v0; v < v1; ++v)
            out[q][v] = RoundSample(AcrossValue(lanes, t, v, q));
}

void CubicAcrossScalar(const double* lanes, const AcrossTable& t, int g0, int g1, double* const out[4])
{
    CubicAcrossValues(lanes, t, g0 * kAcrossBlock, ValuesEnd(t, g1), out);
}

void SuperAcrossScalar(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4])
{
    SuperAcrossValues(lanes, t, g0 * kAcrossBlock, ValuesEnd(t, g1), out);
}

}  // namespace tulipp::resize_center
