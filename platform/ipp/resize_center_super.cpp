// Super-sampling kernel of the centre-based resamplers (reduction only), in
// double precision: each destination pixel is the area-weighted mean of the
// source pixels under its footprint. Rows are summed down first over the
// columns in use, then the column footprints are summed across and
// rounded. The plan holds the taps, the rows of the chosen level and the
// row of sums, so a frame allocates nothing.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_taps.h"

#include <vector>

namespace tulipp::resize_center {
namespace {

class SuperPlan final : public KernelPlan {
public:
    SuperPlan(int channels, const Axis& x, const Axis& y, SimdLevel level)
        : m_xt(MakeAreaTaps(x)),
          m_yt(MakeAreaTaps(y)),
          m_across(MakeAcrossTable(m_xt, channels, false)),
          m_sumRow(kSumRowsRows.For(level)),
          m_acrossRow(kSuperAcrossRows.For(level)),
          m_down(static_cast<std::size_t>(m_xt.span) * channels),
          m_rows(static_cast<std::size_t>(m_yt.MaxTaps()))
    {
    }

    void Run(const Frame& f) override
    {
        for (int r = 0; r < m_yt.Count(); ++r) {
            const std::size_t first = m_yt.first[r];
            const int taps = static_cast<int>(m_yt.first[r + 1] - first);
            for (int m = 0; m < taps; ++m)
                m_rows[m] = f.SrcPixel(m_yt.lo + m_yt.index[first + m], m_xt.lo);
            m_sumRow(m_rows.data(), m_yt.weight.data() + first, taps, m_down.data(), m_down.size());
            m_acrossRow(m_down.data(), m_across, f.DstWritten(f.y.begin + r));
        }
    }

private:
    WeightTaps m_xt;
    WeightTaps m_yt;
    AcrossTable m_across;
    SumRowsRow m_sumRow;
    SuperAcrossRow m_acrossRow;
    std::vector<double> m_down;       // one row of vertical sums over the columns in use
    std::vector<const Ipp8u*> m_rows;  // the source rows of one destination row
};

}  // namespace

std::unique_ptr<KernelPlan> PlanSuper(int channels, const Axis& x, const Axis& y, SimdLevel level)
{
    return std::make_unique<SuperPlan>(channels, x, y, level);
}

}  // namespace tulipp::resize_center
