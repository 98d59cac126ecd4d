// Super-sampling kernel of the centre-based resamplers (reduction only), in
// double precision: each destination pixel is the area-weighted mean of the
// source pixels under its footprint. Rows are summed down first over the
// columns in use, then the column footprints are summed across and
// rounded, four destination rows per pass so that one read of the taps
// serves all four. The plan holds the taps, the rows of the chosen level
// and the rows of sums, so a frame allocates nothing.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_taps.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tulipp::resize_center {
namespace {

class SuperPlan final : public KernelPlan {
public:
    SuperPlan(AcrossPlacement across, const Axis& y, SimdLevel level)
        : m_yt(MakeAreaTaps(y)),
          m_across(std::move(across.table)),
          m_srcLo(across.srcLo),
          m_dstLo(across.dstLo),
          m_sumRow(kSumDownRows.For(level)),
          m_acrossRow(kSuperAcrossRows.For(level)),
          m_lanes(static_cast<std::size_t>(m_across.span) * 4),
          m_spare(static_cast<std::size_t>(m_across.values)),
          m_rows(4 * static_cast<std::size_t>(m_yt.MaxTaps())),
          m_shifted(m_rows.size())
    {
    }

    void Run(const Frame& f) override
    {
        const int count = m_yt.Count();
        const std::size_t most = m_rows.size() / 4;
        for (int r0 = 0; r0 < count; r0 += 4) {
            const Ipp8u* const* rows[4];
            const double* w[4];
            int taps[4];
            Ipp8u* out[4];
            for (int q = 0; q < 4; ++q) {
                // Fewer than four rows left: repeat the last into the spare.
                const int r = std::min(r0 + q, count - 1);
                const std::size_t first = m_yt.first[r];
                taps[q] = static_cast<int>(m_yt.first[r + 1] - first);
                const Ipp8u** sources = m_rows.data() + most * q;
                for (int m = 0; m < taps[q]; ++m)
                    sources[m] = f.src + (m_yt.lo + m_yt.index[first + m]) * f.srcStep + m_srcLo;
                rows[q] = sources;
                w[q] = m_yt.weight.data() + first;
                out[q] = r0 + q < count ? f.dst + (f.y.begin + r) * f.dstStep + m_dstLo : m_spare.data();
            }
            // Chunk by chunk, so that the sums laid side by side are still in
            // cache when the taps read them.
            for (const AcrossChunk& c : m_across.chunks) {
                const Ipp8u* const* from[4];
                for (int q = 0; q < 4; ++q) {
                    const Ipp8u** shifted = m_shifted.data() + most * q;
                    for (int m = 0; m < taps[q]; ++m)
                        shifted[m] = rows[q][m] + c.x0;
                    from[q] = shifted;
                }
                m_sumRow(from, w, taps, m_lanes.data() + static_cast<std::size_t>(c.x0) * 4,
                         static_cast<std::size_t>(c.x1 - c.x0));
                m_acrossRow(m_lanes.data(), m_across, c.g0, c.g1, out);
            }
        }
    }

private:
    WeightTaps m_yt;
    AcrossTable m_across;
    std::int64_t m_srcLo;  // source byte of the table's value 0
    std::int64_t m_dstLo;  // first destination byte written
    SumDownRow m_sumRow;
    SuperAcrossRow m_acrossRow;
    std::vector<double> m_lanes;       // vertical sums of four destination rows side by side
    std::vector<Ipp8u> m_spare;        // where a short pass writes its repeated row
    std::vector<const Ipp8u*> m_rows;     // the source rows of four destination rows
    std::vector<const Ipp8u*> m_shifted;  // the same from a chunk's first column
};

}  // namespace

std::unique_ptr<KernelPlan> PlanSuper(int channels, const Axis& x, const Axis& y, SimdLevel level)
{
    return PlanSuperAcross(PlaceAcross(MakeAreaTaps(x), channels, x), y, level);
}

std::unique_ptr<KernelPlan> PlanSuperAcross(AcrossPlacement across, const Axis& y, SimdLevel level)
{
    return std::make_unique<SuperPlan>(std::move(across), y, level);
}

}  // namespace tulipp::resize_center
