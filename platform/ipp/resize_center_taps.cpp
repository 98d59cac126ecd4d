// Weight tables of the cubic and super-sampling kernels, and their layout
// for the across rows.
#include "platform/ipp/resize_center_taps.h"

#include <algorithm>
#include <cmath>

namespace tulipp::resize_center {
namespace {

// Rebases indices on the lowest one read and records the span.
void Rebase(WeightTaps& t, int lo, int hi)
{
    t.lo = lo;
    t.span = hi >= lo ? hi - lo + 1 : 1;
    for (auto& i : t.index)
        i -= lo;
}

}  // namespace

int WeightTaps::MaxTaps() const
{
    std::size_t most = 0;
    for (std::size_t k = 0; k + 1 < first.size(); ++k)
        most = std::max(most, first[k + 1] - first[k]);
    return static_cast<int>(most);
}

WeightTaps MakeCubicTaps(const Axis& a)
{
    WeightTaps t;
    const int count = a.Count();
    t.first.reserve(static_cast<std::size_t>(count) + 1);
    t.index.reserve(static_cast<std::size_t>(count) * 4);
    t.weight.reserve(static_cast<std::size_t>(count) * 4);
    int lo = a.Last();
    int hi = a.roiStart;
    for (int k = 0; k < count; ++k) {
        const double s = a.Source(a.begin + k);
        const double whole = std::floor(s);
        const double u = s - whole;
        // Lagrange weights for offsets -1, 0, +1, +2 at fraction u.
        const double w[4] = {-u * (u - 1.0) * (u - 2.0) / 6.0, (u + 1.0) * (u - 1.0) * (u - 2.0) / 2.0,
                             -(u + 1.0) * u * (u - 2.0) / 2.0, (u + 1.0) * u * (u - 1.0) / 6.0};
        t.first.push_back(t.index.size());
        for (int m = 0; m < 4; ++m) {
            const int i = a.Clamp(static_cast<std::int64_t>(whole) + m - 1);
            t.index.push_back(i);
            t.weight.push_back(w[m]);
            lo = std::min(lo, i);
            hi = std::max(hi, i);
        }
    }
    t.first.push_back(t.index.size());
    Rebase(t, lo, hi);
    return t;
}

WeightTaps MakeAreaTaps(const Axis& a)
{
    WeightTaps t;
    const int count = a.Count();
    const double width = 1.0 / a.factor;
    t.first.reserve(static_cast<std::size_t>(count) + 1);
    int lo = a.Last();
    int hi = a.roiStart;
    for (int k = 0; k < count; ++k) {
        const double x0 = a.Source(a.begin + k);
        const double x1 = x0 + width;
        const std::size_t start = t.index.size();
        t.first.push_back(start);
        // Pixels m cover [m, m+1); bounds are clamped in double so that a
        // huge footprint cannot overflow the conversion.
        const double mFirst = std::max(std::floor(x0), static_cast<double>(a.roiStart));
        const double mLast = std::min(std::ceil(x1) - 1.0, static_cast<double>(a.Last()));
        double covered = 0.0;
        for (double m = mFirst; m <= mLast; m += 1.0) {
            const double overlap = std::min(x1, m + 1.0) - std::max(x0, m);
            if (overlap <= 0.0)
                continue;
            t.index.push_back(static_cast<std::int32_t>(m));
            t.weight.push_back(overlap);
            covered += overlap;
        }
        if (covered > 0.0) {
            // Dividing by the covered area rather than 1/factor keeps a
            // footprint cut by the region's edge from darkening.
            for (std::size_t m = start; m < t.index.size(); ++m)
                t.weight[m] /= covered;
        } else {
            t.index.push_back(a.Clamp(static_cast<std::int64_t>(std::floor(x0))));
            t.weight.push_back(1.0);
        }
        for (std::size_t m = start; m < t.index.size(); ++m) {
            lo = std::min(lo, static_cast<int>(t.index[m]));
            hi = std::max(hi, static_cast<int>(t.index[m]));
        }
    }
    t.first.push_back(t.index.size());
    Rebase(t, lo, hi);
    return t;
}

AcrossTable MakeAcrossTable(const WeightTaps& t, int channels)
{
    ValueTaps v;
    v.span = t.span * channels;
    v.steps.fill(channels);
    const int count = t.Count();
    v.first.reserve(static_cast<std::size_t>(count) * channels + 1);
    for (int k = 0; k < count; ++k) {
        for (int c = 0; c < channels; ++c) {
            for (std::size_t i = t.first[k]; i < t.first[k + 1]; ++i) {
                v.offset.push_back(t.index[i] * channels + c);
                v.weight.push_back(t.weight[i]);
            }
            v.first.push_back(v.offset.size());
        }
    }
    return LayOutAcross(v);
}

AcrossPlacement PlaceAcross(const WeightTaps& t, int channels, const Axis& x)
{
    AcrossPlacement p;
    p.table = MakeAcrossTable(t, channels);
    p.srcLo = static_cast<std::int64_t>(t.lo) * channels;
    p.dstLo = static_cast<std::int64_t>(x.begin) * channels;
    return p;
}

AcrossTable LayOutAcross(const ValueTaps& v)
{
    constexpr int B = kAcrossBlock;
    AcrossTable table;
    table.values = v.Values();
    table.span = v.span;
    table.steps = v.steps;
    const int blocks = (table.values + B - 1) / B;
    // 512 source values of four rows are 16 KiB of doubles.
    constexpr int kChunkValues = 512;
    for (int g = 0; g < blocks; ++g) {
        const int valid = std::min(B, table.values - g * B);
        int most = 0;
        for (int j = 0; j < valid; ++j) {
            const int u = g * B + j;
            most = std::max(most, static_cast<int>(v.first[u + 1] - v.first[u]));
        }
        table.start.push_back(table.weight.size());
        table.taps.push_back(most);
        for (int m = 0; m < most; ++m) {
            for (int j = 0; j < B; ++j) {
                const int u = g * B + (j < valid ? j : 0);
                const std::size_t n = v.first[u + 1] - v.first[u];
                const std::size_t at = v.first[u] + std::min(static_cast<std::size_t>(m), n - 1);
                const bool real = j < valid && static_cast<std::size_t>(m) < n;
                // Padding reads on along the row while there is row left.
                const std::int32_t next = v.offset[v.first[u]] + m * v.steps[static_cast<std::size_t>(u % B)];
                table.weight.push_back(real ? v.weight[at] : 0.0);
                table.offset.push_back(real || next >= v.span ? v.offset[at] : next);
            }
        }
        const auto first = table.offset.begin() + static_cast<std::ptrdiff_t>(table.start.back());
        bool run = true;
        for (auto o = first + B; o < table.offset.end(); ++o)
            run = run && *o == *(o - B) + v.steps[static_cast<std::size_t>((o - first) % B)];
        table.run.push_back(run ? 1 : 0);
        const int lo = *std::min_element(first, table.offset.end());
        const int hi = *std::max_element(first, table.offset.end()) + 1;
        AcrossChunk* chunk = table.chunks.empty() ? nullptr : &table.chunks.back();
        if (chunk != nullptr && std::max(chunk->x1, hi) - std::min(chunk->x0, lo) <= kChunkValues) {
            chunk->g1 = g + 1;
            chunk->x0 = std::min(chunk->x0, lo);
            chunk->x1 = std::max(chunk->x1, hi);
        } else {
            table.chunks.push_back({g, g + 1, lo, hi});
        }
    }
    // Whole steps of eight columns where the row allows, so that the rows
    // that lay a chunk out rarely finish one column at a time; chunks may
    // then overlap by a few columns, which are simply laid out twice.
    for (AcrossChunk& c : table.chunks) {
        c.x0 -= c.x0 % 8;
        c.x1 = std::min(table.span, c.x0 + (c.x1 - c.x0 + 7) / 8 * 8);
    }
    return table;
}

}  // namespace tulipp::resize_center
