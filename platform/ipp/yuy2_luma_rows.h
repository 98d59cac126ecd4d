// Row kernels that take one part of a packed 4:2:2 row (Y0 U0 Y1 V0 ...):
// the luma (every even byte), or the chroma of its pixel pairs into U and
// V rows, one per instruction-set path, and the row sets that choose
// among them. The YUY2 to 4:2:0 conversion takes the luma of every row
// and the chroma of the rows whose chroma it keeps, in two passes over
// the row: on the Intel Xeon measured, writing luma, U and V in one pass
// made rows off 32-byte alignment about 10% slower. Every path gives the
// bytes of the scalar one for any width; a luma row reads at most
// 2 x width bytes (the chroma byte after the last luma, which every YUY2
// row holds, may be read), a chroma row the 4 x (width / 2) of its pairs.
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

namespace tulipp {

using Luma422RowFn = void (*)(const Ipp8u* packed, Ipp8u* y, int width);

void Luma422RowScalar(const Ipp8u* packed, Ipp8u* y, int width);
void Luma422RowSse2(const Ipp8u* packed, Ipp8u* y, int width);
void Luma422RowAvx2(const Ipp8u* packed, Ipp8u* y, int width);

inline constexpr RowSet<Luma422RowFn> kLuma422Rows{Luma422RowScalar, Luma422RowSse2, nullptr, Luma422RowAvx2};

// U[k] = P[4k + 1], V[k] = P[4k + 3] for the width / 2 whole pairs.
using Chroma422RowFn = void (*)(const Ipp8u* packed, Ipp8u* u, Ipp8u* v, int width);

void Chroma422RowScalar(const Ipp8u* packed, Ipp8u* u, Ipp8u* v, int width);
void Chroma422RowSse2(const Ipp8u* packed, Ipp8u* u, Ipp8u* v, int width);
void Chroma422RowAvx2(const Ipp8u* packed, Ipp8u* u, Ipp8u* v, int width);

inline constexpr RowSet<Chroma422RowFn> kChroma422Rows{Chroma422RowScalar, Chroma422RowSse2, nullptr,
                                                       Chroma422RowAvx2};

}  // namespace tulipp
