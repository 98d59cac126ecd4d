// Building the area schedule and the cubic table of the own resampler.
#include "image/resize/vexo_tables.h"

#include "platform/win32/muldiv.h"

#include <algorithm>
#include <cmath>

namespace tul {
namespace {

int GreatestCommonDivisor(int x, int y)
{
    while (y != 0) {
        const int r = x % y;
        x = y;
        y = r;
    }
    return x;
}

AreaScale MakeScale(int b, AreaReciprocal reciprocal)
{
    const auto fine =
        static_cast<std::uint32_t>((std::uint64_t{1} << 32) / static_cast<std::uint64_t>(b));
    if (reciprocal == AreaReciprocal::Packed13) {
        const std::uint32_t coarse = 8192u / static_cast<std::uint32_t>(b);
        // Beyond b = 8192 the 13-bit reciprocal is 0 and every sample would
        // come out black; only there the packed engine takes the fine one.
        if (coarse != 0)
            return {coarse, 13};
    }
    return {fine, 32};
}

}  // namespace

bool BuildAreaPlan(AreaPlan& plan, int n, int m, AreaReciprocal reciprocal)
{
    if (n <= m || m < 1)
        return false;
    const int g = GreatestCommonDivisor(n, m);
    const int common = MulDiv(n, m, g);  // lcm(n, m); -1 when it overflows
    if (common <= 0)
        return false;
    const int a = common / n;
    const int b = common / m;
    plan.a = a;
    plan.b = b;
    plan.scale = MakeScale(b, reciprocal);
    plan.taps.clear();
    plan.taps.reserve(static_cast<std::size_t>(n) + static_cast<std::size_t>(m));
    plan.first.assign(static_cast<std::size_t>(m) + 1, 0);

    // The carry walk: p holds the units of the current source sample that
    // still belong to the next destination sample.
    int p = 0;
    int source = 0;
    for (int j = 0; j < m; ++j) {
        plan.first[static_cast<std::size_t>(j)] = static_cast<int>(plan.taps.size());
        if (p > 0) {
            plan.taps.push_back({source, static_cast<std::uint32_t>(p)});
            ++source;
        }
        while (p + a <= b) {
            plan.taps.push_back({source, static_cast<std::uint32_t>(a)});
            ++source;
            p += a;
        }
        if (p < b) {
            plan.taps.push_back({source, static_cast<std::uint32_t>(b - p)});
            p += a;
        }
        p -= b;
    }
    plan.first[static_cast<std::size_t>(m)] = static_cast<int>(plan.taps.size());

    plan.span = 0;
    for (int j = 0; j < m; ++j)
        plan.span = std::max(plan.span, plan.first[static_cast<std::size_t>(j) + 1] - plan.first[static_cast<std::size_t>(j)]);
    const auto span = static_cast<std::size_t>(plan.span);
    plan.start.assign(static_cast<std::size_t>(m), 0);
    plan.weights.assign(static_cast<std::size_t>(m) * span, 0);
    for (int j = 0; j < m; ++j) {
        const auto jj = static_cast<std::size_t>(j);
        const int begin = plan.first[jj];
        const int from = plan.taps[static_cast<std::size_t>(begin)].source;
        const int start = std::min(from, n - plan.span);
        plan.start[jj] = start;
        for (int t = begin; t < plan.first[jj + 1]; ++t) {
            const auto slot = static_cast<std::size_t>(from - start + t - begin);
            plan.weights[jj * span + slot] = plan.taps[static_cast<std::size_t>(t)].weight;
        }
    }
    return true;
}

void LagrangeWeights(double f, int weight[4])
{
    const double t = f + 1.0;
    const double f1 = t - 1.0;
    const double third = 32768.0 / 3.0;  // 65536 / 6, the cubic Lagrange denominator
    weight[0] = static_cast<int>(0.5 - (t - 3.0) * ((t - 2.0) * f1) * third);
    weight[1] = static_cast<int>((t - 3.0) * (t - 2.0) * t * 32768.0 + 0.5);
    weight[2] = static_cast<int>(0.5 - (t - 3.0) * f1 * t * 32768.0);
    weight[3] = static_cast<int>((t - 2.0) * f1 * t * third + 0.5);
}

void BuildStretchTable(std::vector<StretchEntry>& table, int n, int m)
{
    table.assign(static_cast<std::size_t>(m), StretchEntry{});
    const double span = static_cast<double>(n - 1);
    const double steps = static_cast<double>(m - 1);
    for (int k = 0; k < m; ++k) {
        const double x = (static_cast<double>(k) * span) / steps;
        double whole = 0.0;
        StretchEntry& e = table[static_cast<std::size_t>(k)];
        e.fraction = std::modf(x, &whole);
        e.source = static_cast<int>(x);
        LagrangeWeights(e.fraction, e.weight);
    }
}

bool BuildLinePlan(LinePlan& plan, int n, int m, AreaReciprocal reciprocal)
{
    plan.n = n;
    plan.m = m;
    const std::int64_t twiceN = 2 * static_cast<std::int64_t>(n);
    const std::int64_t twiceM = 2 * static_cast<std::int64_t>(m);
    if (n == m) {
        plan.kind = LineKind::Copy;
    } else if (n == twiceM) {
        plan.kind = LineKind::Halve;
    } else if (n > m) {
        plan.kind = LineKind::Shrink;
        return BuildAreaPlan(plan.area, n, m, reciprocal);
    } else if (n == 1) {
        // The stretch formulas would also yield the one sample, but read a
        // second one that does not exist.
        plan.kind = LineKind::Replicate;
    } else if (m == twiceN) {
        plan.kind = LineKind::Double;
    } else {
        plan.kind = LineKind::Stretch;
        BuildStretchTable(plan.stretch, n, m);
    }
    return true;
}

}  // namespace tul
