// Cubic kernel of the centre-based resamplers, in double precision.
//
// Separable: each of the four source rows around ys is interpolated across
// at every written column, then the four results are combined down. Every
// source row in use is interpolated across once, four rows per pass (one
// read of the taps serves all four), and kept while destination rows still
// need it. Which rows go together, when, and into which kept buffer is the
// same for every frame, so the plan works it out once, with the taps, the
// rows of the chosen level and every buffer: a frame allocates nothing.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_taps.h"

#include <array>
#include <utility>
#include <vector>

namespace tulipp::resize_center {
namespace {

// Four source rows interpolated across in one pass, and the kept buffers
// they go to. A pass with fewer rows repeats its last one into the spare.
struct AcrossPass {
    std::array<int, 4> row{};  // image rows
    std::array<int, 4> slot{};
};

// What destination row r does: run passes [.., passEnd), then combine the
// kept buffers of its four rows.
struct DestStep {
    std::size_t passEnd = 0;
    std::array<int, 4> slot{};
};

class CubicPlan final : public KernelPlan {
public:
    CubicPlan(AcrossPlacement across, const Axis& y, SimdLevel level)
        : m_yt(MakeCubicTaps(y)),
          m_across(std::move(across.table)),
          m_srcLo(across.srcLo),
          m_dstLo(across.dstLo),
          m_interleaveRow(kInterleaveRows.For(level)),
          m_acrossRow(kCubicAcrossRows.For(level)),
          m_combineRow(kCombineFourRows.For(level)),
          m_lanes(static_cast<std::size_t>(m_across.span) * 4)
    {
        Schedule();
        const std::size_t values = static_cast<std::size_t>(m_across.values);
        m_kept.assign(m_slots + 1, std::vector<double>(values));  // the last one is the spare
    }

    void Run(const Frame& f) override
    {
        std::size_t p = 0;
        for (int r = 0; r < m_yt.Count(); ++r) {
            const DestStep& step = m_steps[static_cast<std::size_t>(r)];
            for (; p < step.passEnd; ++p) {
                const AcrossPass& pass = m_passes[p];
                const Ipp8u* rows[4];
                double* out[4];
                for (int q = 0; q < 4; ++q) {
                    rows[q] = f.src + pass.row[q] * f.srcStep + m_srcLo;
                    out[q] = m_kept[static_cast<std::size_t>(pass.slot[q])].data();
                }
                // Chunk by chunk, so that the rows laid side by side are
                // still in cache when the taps read them.
                for (const AcrossChunk& c : m_across.chunks) {
                    const Ipp8u* const from[4] = {rows[0] + c.x0, rows[1] + c.x0, rows[2] + c.x0, rows[3] + c.x0};
                    m_interleaveRow(from, m_lanes.data() + static_cast<std::size_t>(c.x0) * 4,
                                    static_cast<std::size_t>(c.x1 - c.x0));
                    m_acrossRow(m_lanes.data(), m_across, c.g0, c.g1, out);
                }
            }
            const double* h[4];
            for (int m = 0; m < 4; ++m)
                h[m] = m_kept[static_cast<std::size_t>(step.slot[m])].data();
            // One pass down the four kept rows, summed in tap order.
            m_combineRow(h, m_yt.weight.data() + 4 * static_cast<std::size_t>(r),
                         f.dst + (f.y.begin + r) * f.dstStep + m_dstLo, m_kept[0].size());
        }
    }

private:
    // Rows are needed in increasing order (the source position grows with
    // the destination row), so each distinct row is interpolated when the
    // first destination row that needs it comes, together with the next
    // three. A kept buffer is reused once no later destination row needs
    // its row.
    void Schedule()
    {
        const int count = m_yt.Count();
        std::vector<int> order;                                               // distinct rows, rebased
        std::vector<int> lastUse(static_cast<std::size_t>(m_yt.span), -1);    // by rebased row
        std::vector<int> slotOf(static_cast<std::size_t>(m_yt.span), -1);
        for (int r = 0; r < count; ++r) {
            for (int m = 0; m < 4; ++m) {
                const int row = m_yt.index[4 * static_cast<std::size_t>(r) + m];
                if (order.empty() || row > order.back())
                    order.push_back(row);
                lastUse[static_cast<std::size_t>(row)] = r;
            }
        }
        std::vector<int> slotFreeAfter;  // last destination row using each slot
        std::size_t next = 0;
        for (int r = 0; r < count; ++r) {
            const int highest = m_yt.index[4 * static_cast<std::size_t>(r) + 3];
            while (next < order.size() && order[next] <= highest) {
                AcrossPass pass;
                for (int q = 0; q < 4; ++q) {
                    if (next + q >= order.size()) {
                        pass.row[q] = pass.row[q - 1];
                        pass.slot[q] = kSpare;
                        continue;
                    }
                    const int row = order[next + q];
                    int slot = 0;
                    while (slot < static_cast<int>(slotFreeAfter.size()) && slotFreeAfter[slot] >= r)
                        ++slot;
                    if (slot == static_cast<int>(slotFreeAfter.size()))
                        slotFreeAfter.push_back(0);
                    slotFreeAfter[slot] = lastUse[static_cast<std::size_t>(row)];
                    slotOf[static_cast<std::size_t>(row)] = slot;
                    pass.row[q] = m_yt.lo + row;
                    pass.slot[q] = slot;
                }
                m_passes.push_back(pass);
                next += 4;
            }
            DestStep step;
            step.passEnd = m_passes.size();
            for (int m = 0; m < 4; ++m)
                step.slot[m] = slotOf[static_cast<std::size_t>(m_yt.index[4 * static_cast<std::size_t>(r) + m])];
            m_steps.push_back(step);
        }
        m_slots = slotFreeAfter.size();
        for (AcrossPass& pass : m_passes)
            for (int& s : pass.slot)
                if (s == kSpare)
                    s = static_cast<int>(m_slots);
    }

    static constexpr int kSpare = -1;

    WeightTaps m_yt;
    AcrossTable m_across;
    std::int64_t m_srcLo;  // source byte of the table's value 0
    std::int64_t m_dstLo;  // first destination byte written
    InterleaveRow m_interleaveRow;
    CubicAcrossRow m_acrossRow;
    CombineFourRow m_combineRow;
    std::vector<double> m_lanes;  // the four source rows of a pass side by side
    std::vector<AcrossPass> m_passes;
    std::vector<DestStep> m_steps;
    std::size_t m_slots = 0;
    std::vector<std::vector<double>> m_kept;  // m_slots kept rows, then the spare
};

}  // namespace

std::unique_ptr<KernelPlan> PlanCubic(int channels, const Axis& x, const Axis& y, SimdLevel level)
{
    return PlanCubicAcross(PlaceAcross(MakeCubicTaps(x), channels, x), y, level);
}

std::unique_ptr<KernelPlan> PlanCubicAcross(AcrossPlacement across, const Axis& y, SimdLevel level)
{
    return std::make_unique<CubicPlan>(std::move(across), y, level);
}

}  // namespace tulipp::resize_center
