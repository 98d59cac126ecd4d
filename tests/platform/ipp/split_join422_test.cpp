// Split422 / Join422: known pictures, a plain model on random data (widths,
// padded steps, start offsets), the row kernels in the conformance harness,
// and bad arguments.
#include "platform/ipp/ippi.h"
#include "platform/ipp/split_join422.h"
#include "tests/support/picture.h"
#include "tests/support/simd_conformance.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using tultest::GuardedBuffer;

// Three planes laid out in one guarded buffer each, with their own steps.
struct Planes {
    Planes(int height, const int steps[3], const int offsets[3], unsigned char fill)
    {
        for (int c = 0; c < 3; ++c) {
            step[c] = steps[c];
            buffers.emplace_back(static_cast<std::size_t>(offsets[c]) + static_cast<std::size_t>(steps[c]) * height,
                                 fill);
            ptr[c] = buffers.back().data() + offsets[c];
        }
    }
    bool GuardsIntact() const
    {
        for (const auto& b : buffers)
            if (!b.GuardsIntact())
                return false;
        return true;
    }
    std::vector<GuardedBuffer> buffers;
    Ipp8u* ptr[3];
    int step[3];
};

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

// width, padded steps
class Split422Random : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Split422Random, MatchesModel)
{
    const auto [width, padded] = GetParam();
    const int rowU = (width + 1) / 2;
    for (int height : {1, 2, 5}) {
        for (int offset = 0; offset < 32; ++offset) {
            const int pad = padded ? 1 + offset % 7 : 0;
            const int pStep = 2 * width + pad;
            const int steps[3] = {width + pad, rowU + 2 * pad, width / 2 + (offset % 2 + 1) * pad};
            const int offsets[3] = {(offset * 7) % 32, (offset * 13) % 32, (offset * 5) % 32};
            const std::size_t packedBytes = static_cast<std::size_t>(offset) + static_cast<std::size_t>(pStep) * height;
            GuardedBuffer packed(packedBytes, 0x5A);
            for (int r = 0; r < height; ++r)
                tultest::FillRandom(packed.data() + offset + r * pStep, 2 * width, 1000u + width * 37 + offset + r);
            const Ipp8u* src = packed.data() + offset;

            Planes expected(height, steps, offsets, 0x5A);
            ModelSplit(src, pStep, expected.ptr, steps, width, height);
            SCOPED_TRACE("height " + std::to_string(height) + " offset " + std::to_string(offset));
            Planes actual(height, steps, offsets, 0x5A);
            int planeSteps[3] = {steps[0], steps[1], steps[2]};
            ASSERT_EQ(ippiSplit422_8u_C2P3R(src, pStep, actual.ptr, planeSteps, {width, height}), ippStsNoErr);
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(tultest::SameBytes(expected.buffers[c].Bytes(), actual.buffers[c].Bytes()))
                    << "plane " << c;
            ASSERT_TRUE(actual.GuardsIntact());

            // Joined back over a buffer of the padding byte: the packed rows again.
            GuardedBuffer joined(packedBytes, 0x5A);
            const Ipp8u* planes[3] = {expected.ptr[0], expected.ptr[1], expected.ptr[2]};
            ASSERT_EQ(ippiJoin422_8u_P3C2R(planes, planeSteps, joined.data() + offset, pStep, {width, height}),
                      ippStsNoErr);
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

// Bad arguments: each has its status, checked in the order null, size,
// step, stride, with nothing written (checked as each test ends).
class Split422BadArgs : public ::testing::Test {
protected:
    static constexpr int kW = 6, kH = 3;
    void Both(IppStatus expected, IppiSize roi)
    {
        const Ipp8u* src[3] = {planes[0], planes[1], planes[2]};
        EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, planes, steps, roi), expected)
            << roi.width << "x" << roi.height;
        EXPECT_EQ(ippiJoin422_8u_P3C2R(src, steps, packed.data(), pStep, roi), expected)
            << roi.width << "x" << roi.height;
    }
    void TearDown() override
    {
        const std::pair<const GuardedBuffer*, Ipp8u> fills[] = {{&packed, 0x11}, {&y, 0x22}, {&u, 0x33}, {&v, 0x44}};
        for (const auto& [b, fill] : fills)
            EXPECT_TRUE(!refusedOnly || b->Bytes() == std::vector<Ipp8u>(b->size(), fill)) << int(fill);
    }
    GuardedBuffer packed{2 * kW * kH, 0x11}, y{kW * kH, 0x22}, u{kW * kH, 0x33}, v{kW * kH, 0x44};
    Ipp8u* planes[3] = {y.data(), u.data(), v.data()};
    int steps[3] = {kW, kW / 2, kW / 2};
    int pStep = 2 * kW;
    bool refusedOnly = true;
};

TEST_F(Split422BadArgs, NullPointers)
{
    const IppiSize roi{kW, kH};
    const Ipp8u* src[3] = {planes[0], planes[1], planes[2]};
    EXPECT_EQ(ippiSplit422_8u_C2P3R(nullptr, pStep, planes, steps, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, nullptr, steps, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, planes, nullptr, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiJoin422_8u_P3C2R(nullptr, steps, packed.data(), pStep, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiJoin422_8u_P3C2R(src, nullptr, packed.data(), pStep, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiJoin422_8u_P3C2R(src, steps, nullptr, pStep, roi), ippStsNullPtrErr);
    for (Ipp8u*& plane : planes) {
        Ipp8u* saved = std::exchange(plane, nullptr);
        Both(ippStsNullPtrErr, roi);
        Both(ippStsNullPtrErr, {0, 0});  // null wins over a bad size
        plane = saved;
    }
}

TEST_F(Split422BadArgs, Sizes)
{
    for (IppiSize roi : {IppiSize{0, kH}, IppiSize{1, kH}, IppiSize{-2, kH}, IppiSize{kW, 0}, IppiSize{kW, -1},
                         IppiSize{INT_MAX / 2 + 1, 1}, IppiSize{INT_MAX, 1}})
        Both(ippStsSizeErr, roi);
    pStep = 0;
    Both(ippStsSizeErr, {1, 1});  // size before steps
}

// Each of the four steps not positive, then one byte shorter than its row
// (refused at every height, a single row included).
TEST_F(Split422BadArgs, Steps)
{
    for (int which = 0; which < 4; ++which) {
        int& step = which == 3 ? pStep : steps[which];
        const int good = step;
        for (int bad : {0, -1, -2 * kW}) {
            step = bad;
            Both(ippStsStepErr, {kW, kH});
        }
        step = good - 1;
        Both(ippStsStrideErr, {kW, kH});
        Both(ippStsStrideErr, {kW, 1});
        step = good;
    }
}

// With an odd width the U row holds one byte more than the V row.
TEST_F(Split422BadArgs, OddWidthNeedsTheLastU)
{
    const IppiSize roi{kW - 1, kH};
    steps[0] = kW - 1;
    steps[1] = steps[2] = (kW - 1) / 2;
    pStep = 2 * (kW - 1);
    Both(ippStsStrideErr, roi);
    refusedOnly = false;
    steps[1] = kW / 2;
    Both(ippStsNoErr, roi);
}

}  // namespace
