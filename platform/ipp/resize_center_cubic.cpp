// Cubic kernel of the centre-based resamplers, in double precision.
//
// Separable as documented: each of the four source rows around ys is
// interpolated across at every written column, then the four results are
// combined down. A source row is interpolated across once and kept while
// the following destination rows still need it.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_taps.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tulipp::resize_center {
namespace {

template <int N>
void CubicRows(const Frame& f, const WeightTaps& xt, const WeightTaps& yt)
{
    const int count = f.x.Count();
    const std::size_t values = static_cast<std::size_t>(count) * N;
    // The rows one destination row reads are four consecutive (clamped)
    // indices, so row & 3 never puts two of them in the same slot.
    std::array<std::vector<double>, 4> kept;
    std::array<int, 4> keptRow = {-1, -1, -1, -1};
    for (auto& k : kept)
        k.resize(values);
    // The source row in use, as doubles: converted once, read four times.
    std::vector<double> line(static_cast<std::size_t>(xt.span) * N);
    const DoubleRowOps& ops = ActiveDoubleRowOps();

    for (int r = 0; r < f.y.Count(); ++r) {
        const std::int32_t* index = yt.index.data() + 4 * static_cast<std::size_t>(r);
        const double* w = yt.weight.data() + 4 * static_cast<std::size_t>(r);
        const double* h[4];
        for (int m = 0; m < 4; ++m) {
            const int row = yt.lo + index[m];
            const int slot = row & 3;
            if (keptRow[slot] != row) {
                const Ipp8u* s = f.SrcPixel(row, xt.lo);
                std::copy(s, s + line.size(), line.begin());
                ApplyFourTaps<N>(line.data(), xt, kept[slot].data(), count);
                keptRow[slot] = row;
            }
            h[m] = kept[slot].data();
        }
        // One pass down the four kept rows, summed in tap order.
        ops.combineFour(h, w, f.DstWritten(f.y.begin + r), values);
    }
}

}  // namespace

void ResizeCubic(const Frame& f)
{
    const WeightTaps xt = MakeCubicTaps(f.x);
    const WeightTaps yt = MakeCubicTaps(f.y);
    switch (f.channels) {
    case 1:
        CubicRows<1>(f, xt, yt);
        break;
    case 3:
        CubicRows<3>(f, xt, yt);
        break;
    default:
        CubicRows<4>(f, xt, yt);
        break;
    }
}

}  // namespace tulipp::resize_center
