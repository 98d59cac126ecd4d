// The scalar row of the packed 4:2:2 luma rows: Y[x] = P[2x].
#include "platform/ipp/yuy2_luma_rows.h"

namespace tulipp {

void Luma422RowScalar(const Ipp8u* packed, Ipp8u* y, int width)
{
    for (int x = 0; x < width; ++x)
        y[x] = packed[2 * x];
}

}  // namespace tulipp
