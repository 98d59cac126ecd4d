// YUY2 to VUYA in one row pass: each row's pair chroma widened to full
// width with the JPEG H2V1 triangle filter, then V, U, Y and A = 0 per
// pixel. Orientation by row addressing. An odd width's lone last pixel
// takes the widened chroma's last value, i.e. the nearest complete pair's
// (a one-pixel row's own group counts as whole).
#include "image/color/kernel_table.h"
#include "platform/ipp/sample_up_rows.h"

#include <algorithm>
#include <vector>

namespace tul::color {

void CCIR601YUY2ToVUYA(const KernelCall& call)
{
    const int w = call.width, pairs = std::max(w / 2, 1);
    std::vector<Ipp8u> scratch(2 * static_cast<std::size_t>(w) + 2 * static_cast<std::size_t>(pairs));
    Ipp8u* u = scratch.data();
    Ipp8u* v = u + w;
    Ipp8u* halfU = v + w;
    Ipp8u* halfV = halfU + pairs;
    for (int m = 0; m < call.height; ++m) {
        const Ipp8u* s = call.SrcRow(m);
        for (int k = 0; k < pairs; ++k) {
            halfU[k] = s[4 * k + 1];
            halfV[k] = s[4 * k + 3];
        }
        tulipp::SampleUpH2V1Row(halfU, pairs, u, w);
        tulipp::SampleUpH2V1Row(halfV, pairs, v, w);
        Ipp8u* d = call.DstRow(call.DstRowFor(m));
        for (int x = 0; x < w; ++x, d += 4) {
            d[0] = v[x];
            d[1] = u[x];
            d[2] = s[2 * x];
            d[3] = 0;
        }
    }
}

}  // namespace tul::color
