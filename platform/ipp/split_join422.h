// Row kernels of ippiSplit422_8u_C2P3R and ippiJoin422_8u_P3C2R, one per
// instruction-set path, and the row set that chooses among them. Every path gives the
// bytes of the scalar one for any width, tails and odd widths included.
//
// Packed 4:2:2 rows are Y0 U0 Y1 V0 Y2 U1 Y3 V1 ...; a pixel pair k holds
// Y[2k], U[k], Y[2k+1], V[k]. With an odd width the lone last pixel is the
// first half of a pair: its Y and U[(W-1)/2] move, its V does not exist.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

namespace tulipp {

using Split422RowFn = void (*)(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width);
using Join422RowFn = void (*)(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width);

void Split422RowScalar(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width);
void Join422RowScalar(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width);

void Split422RowSse2(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width);
void Join422RowSse2(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width);

void Split422RowSsse3(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width);

void Split422RowAvx2(const Ipp8u* packed, Ipp8u* y, Ipp8u* u, Ipp8u* v, int width);
void Join422RowAvx2(const Ipp8u* y, const Ipp8u* u, const Ipp8u* v, Ipp8u* packed, int width);

// pshufb brings nothing to interleaving: the join has no SSSE3 row.
inline constexpr RowSet<Split422RowFn> kSplit422Rows{Split422RowScalar, Split422RowSse2, Split422RowSsse3,
                                                     Split422RowAvx2};
inline constexpr RowSet<Join422RowFn> kJoin422Rows{Join422RowScalar, Join422RowSse2, nullptr, Join422RowAvx2};

}  // namespace tulipp
