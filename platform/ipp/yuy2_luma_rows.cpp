// The scalar rows of the packed 4:2:2 luma and chroma rows.
#include "platform/ipp/yuy2_luma_rows.h"

namespace tulipp {

void Luma422RowScalar(const Ipp8u* packed, Ipp8u* y, int width)
{
    for (int x = 0; x < width; ++x)
        y[x] = packed[2 * x];
}

void Chroma422RowScalar(const Ipp8u* packed, Ipp8u* u, Ipp8u* v, int width)
{
    for (int k = 0; k < width / 2; ++k) {
        u[k] = packed[4 * k + 1];
        v[k] = packed[4 * k + 3];
    }
}

}  // namespace tulipp
