// Super-sampling kernel of the centre-based resamplers (reduction only), in
// double precision: each destination pixel is the area-weighted mean of the
// source pixels under its footprint. Rows are summed down first over the
// columns in use, then the column footprints are summed across.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_taps.h"

#include <algorithm>
#include <vector>

namespace tulipp::resize_center {
namespace {

template <int N>
void SuperRows(const Frame& f, const WeightTaps& xt, const WeightTaps& yt)
{
    const int count = f.x.Count();
    const std::size_t spanValues = static_cast<std::size_t>(xt.span) * N;
    std::vector<double> down(spanValues);
    std::vector<double> across(static_cast<std::size_t>(count) * N);
    const DoubleRowOps& ops = ActiveDoubleRowOps();

    for (int r = 0; r < f.y.Count(); ++r) {
        std::fill(down.begin(), down.end(), 0.0);
        for (std::size_t m = yt.first[r]; m < yt.first[r + 1]; ++m) {
            ops.accumulate(f.SrcPixel(yt.lo + yt.index[m], xt.lo), yt.weight[m], down.data(), spanValues);
        }
        ApplyTaps<N>(down.data(), xt, across.data(), count);
        ops.round(across.data(), f.DstWritten(f.y.begin + r), across.size());
    }
}

}  // namespace

void ResizeSuper(const Frame& f)
{
    const WeightTaps xt = MakeAreaTaps(f.x);
    const WeightTaps yt = MakeAreaTaps(f.y);
    switch (f.channels) {
    case 1:
        SuperRows<1>(f, xt, yt);
        break;
    case 3:
        SuperRows<3>(f, xt, yt);
        break;
    default:
        SuperRows<4>(f, xt, yt);
        break;
    }
}

}  // namespace tulipp::resize_center
