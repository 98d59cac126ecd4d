// Nearest-neighbour kernel of the centre-based resamplers: the plan (the
// source column and row of every written pixel, the level's row, the
// shuffle tables) and its frame loop.
//
// The sample is S(floor(xs), floor(ys)), clamped into the region. Truncation
// rather than rounding gives clean pixel replication: x2 repeats each column
// twice, starting on the first written column.
#include "platform/ipp/resize_center_nearest.h"

#include "platform/ipp/resize_center_plan.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tulipp::resize_center {

void BuildNearestTable(NearestTaps& taps, int channels, int spanBytes)
{
    const int count = static_cast<int>(taps.offset.size());
    const std::int32_t* off = taps.offset.data();
    // Offsets never decrease, so the outputs whose 4-byte load fits come first.
    taps.wide = 0;
    while (taps.wide < count && off[taps.wide] + 4 <= spanBytes)
        ++taps.wide;
    taps.kind.clear();
    taps.shuffle.clear();
    if (channels != 1)
        return;
    const int blocks = count / kNearestBlock;
    taps.kind.assign(static_cast<std::size_t>(blocks), kNearestBytewise);
    taps.shuffle.assign(static_cast<std::size_t>(blocks) * 32, 0x80);
    for (int b = 0; b < blocks; ++b) {
        const std::int32_t* o = off + static_cast<std::ptrdiff_t>(b) * kNearestBlock;
        const int reach = o[kNearestBlock - 1] - o[0] + 1;
        const int load = reach <= 16 ? 16 : 32;
        if (reach > 32 || o[0] + load > spanBytes)
            continue;
        taps.kind[b] = load == 16 ? kNearestOneLoad : kNearestTwoLoads;
        Ipp8u* low = taps.shuffle.data() + static_cast<std::size_t>(b) * 32;
        Ipp8u* high = low + 16;
        for (int j = 0; j < kNearestBlock; ++j) {
            const int d = o[j] - o[0];
            if (d < 16)
                low[j] = static_cast<Ipp8u>(d);
            else
                high[j] = static_cast<Ipp8u>(d - 16);
        }
    }
}

namespace {

int NearestIndex(const Axis& a, int d)
{
    return a.Clamp(static_cast<std::int64_t>(std::floor(a.Source(d))));
}

class NearestPlan final : public KernelPlan {
public:
    NearestPlan(int channels, const Axis& x, const Axis& y, SimdLevel level)
    {
        const int count = x.Count();
        m_x.offset.resize(static_cast<std::size_t>(count));
        m_lo = count > 0 ? NearestIndex(x, x.begin) : x.roiStart;
        int hi = m_lo;
        // Byte offset of each written column's pixel from the first one
        // used; width x channels fits an int (checked at the boundary).
        for (int k = 0; k < count; ++k) {
            const int i = NearestIndex(x, x.begin + k);
            m_x.offset[k] = (i - m_lo) * channels;
            hi = std::max(hi, i);
        }
        const RowSet<NearestRow> rows = NearestRowsOf(channels);
        m_row = rows.For(level);
        if (rows.Vectorised(level))
            BuildNearestTable(m_x, channels, (hi - m_lo + 1) * channels);
        m_table = m_x.Table();
        m_srcRow.resize(static_cast<std::size_t>(y.Count()));
        for (int r = 0; r < y.Count(); ++r)
            m_srcRow[r] = NearestIndex(y, y.begin + r);
    }

    void Run(const Frame& f) override
    {
        const int count = f.x.Count();
        const std::size_t rowBytes = static_cast<std::size_t>(count) * f.channels;
        const Ipp8u* previous = nullptr;
        for (int r = 0; r < f.y.Count(); ++r) {
            Ipp8u* out = f.DstWritten(f.y.begin + r);
            // A row taken from the same source row as the one above it is
            // that row again: copy what was just written.
            if (previous != nullptr && m_srcRow[r] == m_srcRow[r - 1])
                std::memcpy(out, previous, rowBytes);
            else
                m_row(f.SrcPixel(m_srcRow[r], m_lo), m_table, out, count);
            previous = out;
        }
    }

private:
    NearestTaps m_x;
    NearestTable m_table{};
    NearestRow m_row = nullptr;
    int m_lo = 0;
    std::vector<int> m_srcRow;
};

}  // namespace

std::unique_ptr<KernelPlan> PlanNearest(int channels, const Axis& x, const Axis& y, SimdLevel level)
{
    return std::make_unique<NearestPlan>(channels, x, y, level);
}

}  // namespace tulipp::resize_center
