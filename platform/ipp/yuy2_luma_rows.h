// Row kernels that take only the luma of a packed 4:2:2 row (Y0 U0 Y1 V0
// ...: every even byte), one per instruction-set path, and the row set
// that chooses among them. The YUY2 to 4:2:0 conversion uses them on the
// rows whose chroma it does not keep. Every path gives the bytes of the
// scalar one for any width and reads at most 2 x width bytes (the chroma
// byte after the last luma, which every YUY2 row holds, may be read).
#pragma once

#include "platform/ipp/ippdefs.h"
#include "platform/ipp/simd_rows.h"

namespace tulipp {

using Luma422RowFn = void (*)(const Ipp8u* packed, Ipp8u* y, int width);

void Luma422RowScalar(const Ipp8u* packed, Ipp8u* y, int width);
void Luma422RowSse2(const Ipp8u* packed, Ipp8u* y, int width);
void Luma422RowAvx2(const Ipp8u* packed, Ipp8u* y, int width);

inline constexpr RowSet<Luma422RowFn> kLuma422Rows{Luma422RowScalar, Luma422RowSse2, nullptr, Luma422RowAvx2};

}  // namespace tulipp
