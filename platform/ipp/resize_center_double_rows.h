// Row families of the double-precision kernels (cubic, super-sampling):
// scalar reference rows and their SSE2 / SSSE3 / AVX2 versions. Every
// version performs the same IEEE double operations in the same order (a
// multiply, then an add, never fused), so all give the same bytes:
//   sum = w[0]*p[0]; sum += w[1]*p[1]; ... in tap order.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/resize_center_taps.h"
#include "platform/ipp/simd_rows.h"

#include <algorithm>
#include <cstddef>

namespace tulipp::resize_center {

// Clamps to the 8-bit range first (the cubic overshoots), then rounds half
// up. Written as min/max so that the row loops stay free of branches.
inline Ipp8u RoundSample(double v)
{
    return static_cast<Ipp8u>(std::min(std::max(v, 0.0), 255.0) + 0.5);
}

// Down a column of four rows (the cubic's vertical pass):
// out[i] = RoundSample(((w[0]*r0[i] + w[1]*r1[i]) + w[2]*r2[i]) + w[3]*r3[i]).
using CombineFourRow = void (*)(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
// Down a column of `taps` 8-bit rows (super-sampling's vertical pass):
// out[i] = sum over m of w[m]*rows[m][i].
using SumRowsRow = void (*)(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n);
// Across one 8-bit row (the cubic's horizontal pass): out[v] = the sum of
// value v's taps in `t` (t.values outputs), the row starting at the axis' lo.
using CubicAcrossRow = void (*)(const Ipp8u* row, const AcrossTable& t, double* out);
// Across one row of sums (super-sampling's horizontal pass), rounded:
// out[v] = RoundSample(sum of value v's taps in `t`).
using SuperAcrossRow = void (*)(const double* row, const AcrossTable& t, Ipp8u* out);

// One value of an across row: the scalar reference, and the tail of the
// vector rows.
template <typename T>
inline double AcrossValue(const T* row, const AcrossTable& t, int v)
{
    const AcrossBlock& blk = t.blocks[static_cast<std::size_t>(v / kAcrossBlock)];
    const std::size_t at = static_cast<std::size_t>(blk.tap) * kAcrossBlock + v % kAcrossBlock;
    const double* w = t.weight.data() + at;
    const std::int32_t* off = t.offset.data() + at;
    double sum = w[0] * static_cast<double>(row[off[0]]);
    for (int m = 1; m < blk.taps; ++m)
        sum += w[m * kAcrossBlock] * static_cast<double>(row[off[m * kAcrossBlock]]);
    return sum;
}

void CombineFourScalar(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
void CombineFourSse2(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
void CombineFourAvx2(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);

void SumRowsScalar(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n);
void SumRowsSse2(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n);
void SumRowsAvx2(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t n);

// Columns i0 <= i < n; the vector rows hand their tails to this.
void SumRowsScalarFrom(const Ipp8u* const* rows, const double* w, int taps, double* out, std::size_t i0,
                       std::size_t n);
// Values v0 <= v < t.values; the vector rows hand their tails to these.
void CubicAcrossScalarFrom(const Ipp8u* row, const AcrossTable& t, double* out, int v0);
void SuperAcrossScalarFrom(const double* row, const AcrossTable& t, Ipp8u* out, int v0);

void CubicAcrossScalar(const Ipp8u* row, const AcrossTable& t, double* out);
void CubicAcrossSse2(const Ipp8u* row, const AcrossTable& t, double* out);
void CubicAcrossSsse3(const Ipp8u* row, const AcrossTable& t, double* out);
void CubicAcrossAvx2(const Ipp8u* row, const AcrossTable& t, double* out);

void SuperAcrossScalar(const double* row, const AcrossTable& t, Ipp8u* out);
void SuperAcrossSse2(const double* row, const AcrossTable& t, Ipp8u* out);
void SuperAcrossAvx2(const double* row, const AcrossTable& t, Ipp8u* out);

inline constexpr RowSet<CombineFourRow> kCombineFourRows{CombineFourScalar, CombineFourSse2, nullptr,
                                                         CombineFourAvx2};
inline constexpr RowSet<SumRowsRow> kSumRowsRows{SumRowsScalar, SumRowsSse2, nullptr, SumRowsAvx2};
inline constexpr RowSet<CubicAcrossRow> kCubicAcrossRows{CubicAcrossScalar, CubicAcrossSse2, CubicAcrossSsse3,
                                                         CubicAcrossAvx2};
inline constexpr RowSet<SuperAcrossRow> kSuperAcrossRows{SuperAcrossScalar, SuperAcrossSse2, nullptr,
                                                         SuperAcrossAvx2};

}  // namespace tulipp::resize_center
