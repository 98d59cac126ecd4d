// Cubic kernel of the centre-based resamplers, in double precision.
//
// Separable: each of the four source rows around ys is interpolated across
// at every written column, then the four results are combined down. A
// source row is interpolated across once and kept while the following
// destination rows still need it. The plan holds the taps, the rows of the
// chosen level and the four kept rows, so a frame allocates nothing.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_taps.h"

#include <array>
#include <vector>

namespace tulipp::resize_center {
namespace {

class CubicPlan final : public KernelPlan {
public:
    CubicPlan(int channels, const Axis& x, const Axis& y, SimdLevel level)
        : m_xt(MakeCubicTaps(x)),
          m_yt(MakeCubicTaps(y)),
          m_across(MakeAcrossTable(m_xt, channels, true)),
          m_acrossRow(kCubicAcrossRows.For(level)),
          m_combineRow(kCombineFourRows.For(level))
    {
        for (auto& k : m_kept)
            k.resize(static_cast<std::size_t>(m_across.values));
    }

    void Run(const Frame& f) override
    {
        // The rows one destination row reads are four consecutive (clamped)
        // indices, so row & 3 never puts two of them in the same slot.
        std::array<int, 4> keptRow = {-1, -1, -1, -1};
        const std::size_t values = static_cast<std::size_t>(m_across.values);
        for (int r = 0; r < m_yt.Count(); ++r) {
            const std::int32_t* index = m_yt.index.data() + 4 * static_cast<std::size_t>(r);
            const double* w = m_yt.weight.data() + 4 * static_cast<std::size_t>(r);
            const double* h[4];
            for (int m = 0; m < 4; ++m) {
                const int row = m_yt.lo + index[m];
                const int slot = row & 3;
                if (keptRow[slot] != row) {
                    m_acrossRow(f.SrcPixel(row, m_xt.lo), m_across, m_kept[slot].data());
                    keptRow[slot] = row;
                }
                h[m] = m_kept[slot].data();
            }
            // One pass down the four kept rows, summed in tap order.
            m_combineRow(h, w, f.DstWritten(f.y.begin + r), values);
        }
    }

private:
    WeightTaps m_xt;
    WeightTaps m_yt;
    AcrossTable m_across;
    CubicAcrossRow m_acrossRow;
    CombineFourRow m_combineRow;
    std::array<std::vector<double>, 4> m_kept;
};

}  // namespace

std::unique_ptr<KernelPlan> PlanCubic(int channels, const Axis& x, const Axis& y, SimdLevel level)
{
    return std::make_unique<CubicPlan>(channels, x, y, level);
}

}  // namespace tulipp::resize_center
