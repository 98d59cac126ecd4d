// The own resampler's line kernels (copy, halve, double, replicate, area
// shrink, cubic stretch), written once over a "line" policy. A line is a
// sequence of samples; the policy says what one sample is:
//  - SampleLine: the bytes of one plane row;
//  - RowLine: whole rows of a block, so the vertical pass works a
//    destination row at a time instead of walking columns with a stride.
// Both policies use the same per-value formulas below, so the horizontal
// and vertical passes give the bytes the column-by-column math defines.
#pragma once

#include "image/resize/vexo_tables.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tul {

// ---- Per-value formulas ---------------------------------------------------

inline unsigned char HalfSum(unsigned x, unsigned y)
{
    return static_cast<unsigned char>((x + y) >> 1);
}

// The ends of a stretched line interpolate linearly in double precision and
// round half up by truncating after +0.5 (the result is never negative).
inline unsigned char LinearSample(unsigned x, unsigned y, double f)
{
    return static_cast<unsigned char>(
        static_cast<int>((1.0 - f) * static_cast<double>(x) + f * static_cast<double>(y) + 0.5));
}

// 16.16 four-tap sum; |weights| stay below 2^17, so 32 bits never overflow.
inline unsigned char CubicSample(int s0, int s1, int s2, int s3, int w0, int w1, int w2, int w3)
{
    std::int32_t v = s0 * w0 + s1 * w1 + s2 * w2 + s3 * w3 + 0x8000;
    v = v < 0 ? 0 : (v > 0xFF0000 ? 0xFF0000 : v);
    return static_cast<unsigned char>(v >> 16);
}

// ---- Line policies --------------------------------------------------------

// Samples are the bytes of one plane row (a YUY2 row is split into its
// Y, U and V rows first).
struct SampleLine {
    const unsigned char* s;
    unsigned char* d;

    void Copy(int j, int i) const { d[j] = s[i]; }
    void Average(int j, int i0, int i1) const { d[j] = HalfSum(s[i0], s[i1]); }
    void Linear(int j, int i, double f) const { d[j] = LinearSample(s[i], s[i + 1], f); }
    void Cubic(int j, int i, const int* w) const
    {
        d[j] = CubicSample(s[i - 1], s[i], s[i + 1], s[i + 2], w[0], w[1], w[2], w[3]);
    }
    void Area(int j, const AreaTap* taps, int count, const AreaScale& scale) const
    {
        std::uint32_t sum = 0;
        for (int t = 0; t < count; ++t)
            sum += taps[t].weight * s[taps[t].source];
        d[j] = scale.Apply(sum);
    }
};

// Samples are rows of `bytes` bytes; `acc` holds one 32-bit sum per byte
// (needed only by Area).
struct RowLine {
    const unsigned char* s;
    std::ptrdiff_t sStep;
    unsigned char* d;
    std::ptrdiff_t dStep;
    int bytes;
    std::uint32_t* acc;

    const unsigned char* In(int i) const { return s + i * sStep; }
    unsigned char* Out(int j) const { return d + j * dStep; }

    // Each loop keeps its pointers and length in locals: stores through
    // unsigned char may alias anything, which would otherwise force a
    // reload of the members per byte and stop vectorisation.
    void Copy(int j, int i) const { std::memcpy(Out(j), In(i), static_cast<std::size_t>(bytes)); }
    void Average(int j, int i0, int i1) const
    {
        const unsigned char* x = In(i0);
        const unsigned char* y = In(i1);
        unsigned char* o = Out(j);
        const int count = bytes;
        for (int c = 0; c < count; ++c)
            o[c] = HalfSum(x[c], y[c]);
    }
    void Linear(int j, int i, double f) const
    {
        const unsigned char* x = In(i);
        const unsigned char* y = In(i + 1);
        unsigned char* o = Out(j);
        const int count = bytes;
        for (int c = 0; c < count; ++c)
            o[c] = LinearSample(x[c], y[c], f);
    }
    void Cubic(int j, int i, const int* w) const
    {
        const unsigned char* r0 = In(i - 1);
        const unsigned char* r1 = In(i);
        const unsigned char* r2 = In(i + 1);
        const unsigned char* r3 = In(i + 2);
        unsigned char* o = Out(j);
        const int w0 = w[0], w1 = w[1], w2 = w[2], w3 = w[3];
        const int count = bytes;
        for (int c = 0; c < count; ++c)
            o[c] = CubicSample(r0[c], r1[c], r2[c], r3[c], w0, w1, w2, w3);
    }
    void Area(int j, const AreaTap* taps, int count, const AreaScale& scale) const
    {
        // Sums are exact integers, so adding row by row gives the same
        // totals as the per-column walk.
        std::uint32_t* sum = acc;
        const int width = bytes;
        const std::uint32_t w0 = taps[0].weight;
        const unsigned char* r = In(taps[0].source);
        for (int c = 0; c < width; ++c)
            sum[c] = w0 * r[c];
        for (int t = 1; t < count; ++t) {
            const std::uint32_t w = taps[t].weight;
            r = In(taps[t].source);
            for (int c = 0; c < width; ++c)
                sum[c] += w * r[c];
        }
        unsigned char* o = Out(j);
        const AreaScale k = scale;
        for (int c = 0; c < width; ++c)
            o[c] = k.Apply(sum[c]);
    }
};

// ---- Kernels --------------------------------------------------------------

template <class Line>
void CopyLine(const Line line, int n)
{
    for (int j = 0; j < n; ++j)
        line.Copy(j, j);
}

template <class Line>
void HalveLine(const Line line, int m)
{
    for (int j = 0; j < m; ++j)
        line.Average(j, 2 * j, 2 * j + 1);
}

template <class Line>
void DoubleLine(const Line line, int n)
{
    for (int i = 0; i < n - 1; ++i) {
        line.Copy(2 * i, i);
        line.Average(2 * i + 1, i, i + 1);
    }
    line.Copy(2 * n - 2, n - 1);
    line.Copy(2 * n - 1, n - 1);
}

template <class Line>
void ReplicateLine(const Line line, int m)
{
    for (int j = 0; j < m; ++j)
        line.Copy(j, 0);
}

template <class Line>
void ShrinkLine(const Line line, const AreaPlan& plan, int m)
{
    // Locals, not the plan's members: byte stores may alias the plan, which
    // would otherwise reload them for every sample.
    const AreaTap* taps = plan.taps.data();
    const int* first = plan.first.data();
    const AreaScale scale = plan.scale;
    for (int j = 0; j < m; ++j)
        line.Area(j, taps + first[j], first[j + 1] - first[j], scale);
}

// A plane row's area shrink: every sample takes the same number of taps,
// so the tap loop has one trip count the compiler can unroll for the
// common spans and no per-sample bounds to fetch. The sums are the taps'
// sums plus zeros: the same bytes as the general walk.
template <int Span>
void ShrinkRow(const unsigned char* s, unsigned char* d, const AreaPlan& plan, int m, int span)
{
    const int* start = plan.start.data();
    const std::uint32_t* w = plan.weights.data();
    const AreaScale scale = plan.scale;
    const int k = Span > 0 ? Span : span;
    for (int j = 0; j < m; ++j, w += k) {
        const unsigned char* p = s + start[j];
        std::uint32_t sum = 0;
        for (int t = 0; t < k; ++t)
            sum += w[t] * p[t];
        d[j] = scale.Apply(sum);
    }
}

inline void ShrinkLine(const SampleLine line, const AreaPlan& plan, int m)
{
    switch (plan.span) {
    case 2:
        ShrinkRow<2>(line.s, line.d, plan, m, 2);
        break;
    case 3:
        ShrinkRow<3>(line.s, line.d, plan, m, 3);
        break;
    default:
        ShrinkRow<0>(line.s, line.d, plan, m, plan.span);
        break;
    }
}

// Linear for positions below 1, cubic while all four taps exist (i < n - 2),
// linear again up to n - 1, and the last sample is the last source sample.
template <class Line>
void StretchLine(const Line line, const std::vector<StretchEntry>& table, int n, int m)
{
    const StretchEntry* e = table.data();
    const int last = m - 1;
    int k = 0;
    for (; k < last && e[k].source < 1; ++k)
        line.Linear(k, e[k].source, e[k].fraction);
    for (; k < last && e[k].source < n - 2; ++k)
        line.Cubic(k, e[k].source, e[k].weight);
    for (; k < last && e[k].source < n - 1; ++k)
        line.Linear(k, e[k].source, e[k].fraction);
    for (; k < m; ++k)
        line.Copy(k, n - 1);
}

template <class Line>
void RunLine(const Line line, const LinePlan& plan)
{
    switch (plan.kind) {
    case LineKind::Copy:
        CopyLine(line, plan.n);
        break;
    case LineKind::Halve:
        HalveLine(line, plan.m);
        break;
    case LineKind::Shrink:
        ShrinkLine(line, plan.area, plan.m);
        break;
    case LineKind::Replicate:
        ReplicateLine(line, plan.m);
        break;
    case LineKind::Double:
        DoubleLine(line, plan.n);
        break;
    case LineKind::Stretch:
        StretchLine(line, plan.stretch, plan.n, plan.m);
        break;
    }
}

}  // namespace tul
