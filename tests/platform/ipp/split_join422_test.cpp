// Split422 / Join422: a plain model on random data (widths, heights, padded
// steps), the row kernels in the conformance harness (start offsets, every
// tail, every level), and bad arguments.
#include "platform/ipp/ippi.h"
#include "platform/ipp/split_join422.h"
#include "tests/support/ipp_refusals.h"
#include "tests/support/simd_conformance.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using tultest::GuardedBuffer;

// Y[x] = P[2x], and P[2x+1] to U[x/2] for even x, V[x/2] for odd x, byte
// by byte, with the odd-width rule. Every
// plane byte comes from exactly one packed byte, so joining the split
// planes must give back the packed rows: that checks the join as well.
void ModelSplit(const Ipp8u* p, int pStep, Ipp8u* const d[3], const int dStep[3], int w, int h)
{
    for (int r = 0; r < h; ++r) {
        const Ipp8u* s = p + static_cast<std::ptrdiff_t>(r) * pStep;
        Ipp8u* y = d[0] + static_cast<std::ptrdiff_t>(r) * dStep[0];
        Ipp8u* u = d[1] + static_cast<std::ptrdiff_t>(r) * dStep[1];
        Ipp8u* v = d[2] + static_cast<std::ptrdiff_t>(r) * dStep[2];
        for (int x = 0; x < w; ++x) {
            y[x] = s[2 * x];
            if (x % 2 == 0)
                u[x / 2] = s[2 * x + 1];
            else
                v[x / 2] = s[2 * x + 1];
        }
    }
}

// width, padded steps. Start offsets and every tail are the conformance
// harness's, below; here the plane walk: heights, steps of their own per
// plane, and the join giving back the split.
class Split422Random : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Split422Random, MatchesModel)
{
    const auto [width, padded] = GetParam();
    for (int height : {1, 2, 5}) {
        for (int pad = 0; pad < (padded ? 8 : 1); pad += 3) {
            const int pStep = 2 * width + pad;
            int steps[3] = {width + pad, (width + 1) / 2 + 2 * pad, width / 2 + 3 * pad};
            GuardedBuffer packed(static_cast<std::size_t>(pStep) * height, 0x5A);
            for (int r = 0; r < height; ++r)
                tultest::FillRandom(packed.data() + r * pStep, 2 * width, 1000u + width * 37 + pad + r);
            std::vector<GuardedBuffer> expected, actual;
            Ipp8u* e[3];
            Ipp8u* a[3];
            for (int c = 0; c < 3; ++c) {
                expected.emplace_back(static_cast<std::size_t>(steps[c]) * height, 0x5A);
                actual.emplace_back(static_cast<std::size_t>(steps[c]) * height, 0x5A);
                e[c] = expected.back().data();
                a[c] = actual.back().data();
            }
            SCOPED_TRACE("height " + std::to_string(height) + " pad " + std::to_string(pad));
            ModelSplit(packed.data(), pStep, e, steps, width, height);
            ASSERT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, a, steps, {width, height}), ippStsNoErr);
            for (int c = 0; c < 3; ++c) {
                ASSERT_TRUE(tultest::SameBytes(expected[c].Bytes(), actual[c].Bytes())) << "plane " << c;
                ASSERT_TRUE(actual[c].GuardsIntact());
            }
            // Joined back over a buffer of the padding byte: the packed rows again.
            GuardedBuffer joined(packed.size(), 0x5A);
            const Ipp8u* planes[3] = {e[0], e[1], e[2]};
            ASSERT_EQ(ippiJoin422_8u_P3C2R(planes, steps, joined.data(), pStep, {width, height}), ippStsNoErr);
            ASSERT_TRUE(tultest::SameBytes(packed.Bytes(), joined.Bytes())) << "join";
            ASSERT_TRUE(joined.GuardsIntact());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, Split422Random,
                         ::testing::Combine(::testing::Values(2, 3, 15, 16, 17, 31, 33, 64, 65, 127, 719, 720, 1921),
                                            ::testing::Bool()));

// The row kernels in the conformance harness: every level against the
// scalar rows.
struct Split422Rows {
    using Row = tulipp::Split422RowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> packed;
    };
    tulipp::RowSet<Row> rows = tulipp::kSplit422Rows;
    int lanes = 64;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(2 * std::size_t(n), offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{1, std::size_t(n)}, {1, std::size_t(n + 1) / 2}, {1, std::size_t(n) / 2}};
    }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.packed.data(), static_cast<Ipp8u*>(out[0]), static_cast<Ipp8u*>(out[1]), static_cast<Ipp8u*>(out[2]),
            n);
    }
};

struct Join422Rows {
    using Row = tulipp::Join422RowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> y, u, v;
    };
    tulipp::RowSet<Row> rows = tulipp::kJoin422Rows;
    int lanes = 64;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(n, offset, rng, 0, 255),
                tultest::RandomRowInput<Ipp8u>((n + 1) / 2, offset, rng, 0, 255),
                tultest::RandomRowInput<Ipp8u>(n / 2, offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const { return {{1, 2 * std::size_t(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.y.data(), in.u.data(), in.v.data(), static_cast<Ipp8u*>(out[0]), n);
    }
};

TEST(Split422Rows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(Split422Rows{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Join422Rows{}));
}

// Bad arguments, in the order null, size, step, stride, writing nothing:
// the shared table, then what three planes add: each plane and the steps
// array null, a width of one, each plane's step not positive or a byte
// short, and an odd width's U row, one byte longer than its V row.
TEST(Split422BadArgs, StatusesAndNothingWritten)
{
    tultest::ExpectRefusals([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        Ipp8u* planes[3] = {d, d + 128, d + 256};
        int steps[3] = {ds, ds / 2, ds / 2};
        return ippiSplit422_8u_C2P3R(s, ss, d ? planes : nullptr, steps, r);
    }, 8, 4);
    tultest::ExpectRefusals([](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        const Ipp8u* planes[3] = {s, s + 128, s + 256};
        int steps[3] = {ss, ss / 2, ss / 2};
        return ippiJoin422_8u_P3C2R(s ? planes : nullptr, steps, d, ds, r);
    }, 4, 8);
    constexpr int kW = 6, kH = 3;
    GuardedBuffer packed(2 * kW * kH, 0x11), y(kW * kH, 0x22), u(kW * kH, 0x33), v(kW * kH, 0x44);
    Ipp8u* planes[3] = {y.data(), u.data(), v.data()};
    int steps[3] = {kW, kW / 2, kW / 2}, pStep = 2 * kW;
    const auto both = [&](IppStatus expected, IppiSize roi) {
        const Ipp8u* in[3] = {planes[0], planes[1], planes[2]};
        EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, planes, steps, roi), expected) << roi.width;
        EXPECT_EQ(ippiJoin422_8u_P3C2R(in, steps, packed.data(), pStep, roi), expected) << roi.width;
    };
    EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, planes, nullptr, {kW, kH}), ippStsNullPtrErr);
    EXPECT_EQ(ippiJoin422_8u_P3C2R(const_cast<const Ipp8u**>(planes), nullptr, packed.data(), pStep, {kW, kH}),
              ippStsNullPtrErr);
    for (Ipp8u*& plane : planes) {
        Ipp8u* saved = std::exchange(plane, nullptr);
        both(ippStsNullPtrErr, {0, 0});  // null wins over a bad size
        plane = saved;
    }
    for (IppiSize roi : {IppiSize{1, kH}, IppiSize{INT_MAX / 2 + 1, 1}, IppiSize{INT_MAX, 1}})
        both(ippStsSizeErr, roi);
    for (int which = 0; which < 4; ++which) {
        int& step = which == 3 ? pStep : steps[which];
        const int good = step;
        step = -good;
        both(ippStsStepErr, {kW, kH});
        step = good - 1;
        both(ippStsStrideErr, {kW, 1});  // refused even for a single row
        step = good;
    }
    steps[1] = steps[2] = (kW - 1) / 2;
    both(ippStsStrideErr, {kW - 1, kH});
    const std::pair<const GuardedBuffer*, Ipp8u> fills[] = {{&packed, 0x11}, {&y, 0x22}, {&u, 0x33}, {&v, 0x44}};
    for (const auto& [b, fill] : fills)
        EXPECT_EQ(b->Bytes(), std::vector<Ipp8u>(b->size(), fill)) << int(fill);
    steps[1] = kW / 2;
    both(ippStsNoErr, {kW - 1, kH});
}

}  // namespace
