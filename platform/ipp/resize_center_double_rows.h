// Row families of the double-precision kernels (cubic, super-sampling):
// scalar reference rows and their SSE2 / AVX2 versions. Every version
// performs the same IEEE double operations in the same order (a multiply,
// then an add, never fused), so all give the same bytes:
//   sum = w[0]*p[0]; sum += w[1]*p[1]; ... in tap order.
//
// The horizontal passes work on four rows at a time so that one read of
// the taps serves four rows: the rows are first laid side by side,
// lanes[x*4 + q] = row q's value x, and each tap then takes one vector of
// four samples.
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

// The cubic's vertical pass, down four rows:
// out[i] = RoundSample(((w[0]*r0[i] + w[1]*r1[i]) + w[2]*r2[i]) + w[3]*r3[i]).
using CombineFourRow = void (*)(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
// Four 8-bit rows side by side as doubles: lanes[x*4 + q] = rows[q][x], x < n.
using InterleaveRow = void (*)(const Ipp8u* const rows[4], double* lanes, std::size_t n);
// Super-sampling's vertical pass for four destination rows, side by side:
// lanes[x*4 + q] = w[q][0]*rows[q][0][x] + w[q][1]*rows[q][1][x] + ...
// over taps[q] source rows, x < n.
using SumDownRow = void (*)(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4],
                            double* lanes, std::size_t n);
// The horizontal passes over four rows side by side (t.span values each),
// blocks g0 <= g < g1: out[q][v] = the sum of value v's taps over row q;
// the cubic keeps it, super-sampling rounds it.
using CubicAcrossRow = void (*)(const double* lanes, const AcrossTable& t, int g0, int g1, double* const out[4]);
using SuperAcrossRow = void (*)(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4]);

// Value v of row q, summed in tap order: the scalar reference, and the
// tails of the vector rows.
inline double AcrossValue(const double* lanes, const AcrossTable& t, int v, int q)
{
    const std::size_t g = static_cast<std::size_t>(v / kAcrossBlock);
    const std::size_t first = t.start[g] + static_cast<std::size_t>(v % kAcrossBlock);
    const double* w = t.weight.data() + first;
    const std::int32_t* off = t.offset.data() + first;
    double sum = w[0] * lanes[static_cast<std::size_t>(off[0]) * 4 + q];
    for (int m = 1; m < t.taps[g]; ++m)
        sum += w[m * kAcrossBlock] * lanes[static_cast<std::size_t>(off[m * kAcrossBlock]) * 4 + q];
    return sum;
}

void CombineFourScalar(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
void CombineFourSse2(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);
void CombineFourAvx2(const double* const rows[4], const double w[4], Ipp8u* out, std::size_t n);

// Columns x0 <= x < n; the vector rows hand their tails to these.
void InterleaveScalarFrom(const Ipp8u* const rows[4], double* lanes, std::size_t x0, std::size_t n);
void SumDownScalarFrom(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4], double* lanes,
                       std::size_t x0, std::size_t n);

void InterleaveScalar(const Ipp8u* const rows[4], double* lanes, std::size_t n);
void InterleaveSse2(const Ipp8u* const rows[4], double* lanes, std::size_t n);
void InterleaveAvx2(const Ipp8u* const rows[4], double* lanes, std::size_t n);

void SumDownScalar(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4], double* lanes,
                   std::size_t n);
void SumDownSse2(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4], double* lanes,
                 std::size_t n);
void SumDownAvx2(const Ipp8u* const* const rows[4], const double* const w[4], const int taps[4], double* lanes,
                 std::size_t n);

// Values v0 <= v < v1 of all four rows.
void CubicAcrossValues(const double* lanes, const AcrossTable& t, int v0, int v1, double* const out[4]);
void SuperAcrossValues(const double* lanes, const AcrossTable& t, int v0, int v1, Ipp8u* const out[4]);

// The whole blocks of [g0, g1) a vector row takes, and the values left.
inline int WholeBlocksEnd(const AcrossTable& t, int g1) { return std::min(g1, t.values / kAcrossBlock); }
inline int ValuesEnd(const AcrossTable& t, int g1) { return std::min(g1 * kAcrossBlock, t.values); }

void CubicAcrossScalar(const double* lanes, const AcrossTable& t, int g0, int g1, double* const out[4]);
void CubicAcrossSse2(const double* lanes, const AcrossTable& t, int g0, int g1, double* const out[4]);
void CubicAcrossAvx2(const double* lanes, const AcrossTable& t, int g0, int g1, double* const out[4]);

void SuperAcrossScalar(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4]);
void SuperAcrossSse2(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4]);
void SuperAcrossAvx2(const double* lanes, const AcrossTable& t, int g0, int g1, Ipp8u* const out[4]);

inline constexpr RowSet<CombineFourRow> kCombineFourRows{CombineFourScalar, CombineFourSse2, nullptr,
                                                         CombineFourAvx2};
inline constexpr RowSet<InterleaveRow> kInterleaveRows{InterleaveScalar, InterleaveSse2, nullptr, InterleaveAvx2};
inline constexpr RowSet<SumDownRow> kSumDownRows{SumDownScalar, SumDownSse2, nullptr, SumDownAvx2};
inline constexpr RowSet<CubicAcrossRow> kCubicAcrossRows{CubicAcrossScalar, CubicAcrossSse2, nullptr,
                                                         CubicAcrossAvx2};
inline constexpr RowSet<SuperAcrossRow> kSuperAcrossRows{SuperAcrossScalar, SuperAcrossSse2, nullptr,
                                                         SuperAcrossAvx2};

}  // namespace tulipp::resize_center
