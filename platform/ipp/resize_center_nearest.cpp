// Nearest-neighbour kernel of the centre-based resamplers.
//
// The sample is S(floor(xs), floor(ys)), clamped into the region. Truncation
// rather than rounding gives clean pixel replication: x2 repeats each column
// twice, starting on the first written column.
#include "platform/ipp/resize_center_plan.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace tulipp::resize_center {
namespace {

int NearestIndex(const Axis& a, int d)
{
    return a.Clamp(static_cast<std::int64_t>(std::floor(a.Source(d))));
}

template <int N>
void NearestRows(const Frame& f, const std::vector<std::int32_t>& offsets)
{
    const int count = f.x.Count();
    const std::int32_t* off = offsets.data();
    for (int yd = f.y.begin; yd < f.y.end; ++yd) {
        const Ipp8u* row = f.SrcPixel(NearestIndex(f.y, yd), 0);
        Ipp8u* out = f.DstWritten(yd);
        for (int k = 0; k < count; ++k) {
            const Ipp8u* s = row + off[k];
            for (int c = 0; c < N; ++c)
                out[k * N + c] = s[c];
        }
    }
}

}  // namespace

void ResizeNearest(const Frame& f)
{
    // Byte offset of each written column's sample within a source row;
    // width x channels fits an int (checked at the boundary).
    std::vector<std::int32_t> offsets(static_cast<std::size_t>(f.x.Count()));
    for (int k = 0; k < f.x.Count(); ++k)
        offsets[k] = NearestIndex(f.x, f.x.begin + k) * f.channels;

    switch (f.channels) {
    case 1:
        NearestRows<1>(f, offsets);
        break;
    case 3:
        NearestRows<3>(f, offsets);
        break;
    default:
        NearestRows<4>(f, offsets);
        break;
    }
}

}  // namespace tulipp::resize_center
