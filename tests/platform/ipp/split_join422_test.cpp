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

// The lone last pixel of an odd row is the first half of a pair: its Y and
// U move, no V is read or written.
TEST(Split422, OddWidthLastPixelCarriesYAndU)
{
    const Ipp8u packed[6] = {1, 2, 3, 4, 5, 6};
    Ipp8u y[3] = {}, u[2] = {}, v[2] = {0xEE, 0xEE};
    Ipp8u* planes[3] = {y, u, v};
    int steps[3] = {3, 2, 1};
    ASSERT_EQ(ippiSplit422_8u_C2P3R(packed, 6, planes, steps, {3, 1}), ippStsNoErr);
    EXPECT_EQ(std::vector<Ipp8u>(y, y + 3), (std::vector<Ipp8u>{1, 3, 5}));
    EXPECT_EQ(std::vector<Ipp8u>(u, u + 2), (std::vector<Ipp8u>{2, 6}));
    EXPECT_EQ(v[0], 4);
    EXPECT_EQ(v[1], 0xEE);

    Ipp8u back[8] = {0, 0, 0, 0, 0, 0, 0xEE, 0xEE};
    const Ipp8u* src[3] = {y, u, v};
    ASSERT_EQ(ippiJoin422_8u_P3C2R(src, steps, back, 6, {3, 1}), ippStsNoErr);
    EXPECT_EQ(std::vector<Ipp8u>(back, back + 8), (std::vector<Ipp8u>{1, 2, 3, 4, 5, 6, 0xEE, 0xEE}));
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
// step, stride, with nothing written.
class Split422BadArgs : public ::testing::Test {
protected:
    static constexpr int kW = 6, kH = 3;
    Split422BadArgs() : packed(2 * kW * kH), y(kW * kH, 0x11), u(kW * kH, 0x22), v(kW * kH, 0x33)
    {
        tultest::FillRandom(packed, 5);
        planes[0] = y.data();
        planes[1] = u.data();
        planes[2] = v.data();
    }
    IppStatus Split(IppiSize roi) { return ippiSplit422_8u_C2P3R(packed.data(), pStep, planes, steps, roi); }
    IppStatus Join(IppiSize roi)
    {
        const Ipp8u* src[3] = {planes[0], planes[1], planes[2]};
        return ippiJoin422_8u_P3C2R(src, steps, packed.data(), pStep, roi);
    }
    bool Untouched() const
    {
        GuardedBuffer p(2 * kW * kH);
        tultest::FillRandom(p, 5);
        return p.Bytes() == packed.Bytes() && y.Bytes() == std::vector<Ipp8u>(kW * kH, 0x11) &&
               u.Bytes() == std::vector<Ipp8u>(kW * kH, 0x22) && v.Bytes() == std::vector<Ipp8u>(kW * kH, 0x33);
    }
    GuardedBuffer packed, y, u, v;
    Ipp8u* planes[3];
    int steps[3] = {kW, kW / 2, kW / 2};
    int pStep = 2 * kW;
};

TEST_F(Split422BadArgs, NullPointers)
{
    const IppiSize roi{kW, kH};
    EXPECT_EQ(ippiSplit422_8u_C2P3R(nullptr, pStep, planes, steps, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, nullptr, steps, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiSplit422_8u_C2P3R(packed.data(), pStep, planes, nullptr, roi), ippStsNullPtrErr);
    const Ipp8u* src[3] = {planes[0], planes[1], planes[2]};
    EXPECT_EQ(ippiJoin422_8u_P3C2R(nullptr, steps, packed.data(), pStep, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiJoin422_8u_P3C2R(src, nullptr, packed.data(), pStep, roi), ippStsNullPtrErr);
    EXPECT_EQ(ippiJoin422_8u_P3C2R(src, steps, nullptr, pStep, roi), ippStsNullPtrErr);
    for (int c = 0; c < 3; ++c) {
        Ipp8u* saved = planes[c];
        planes[c] = nullptr;
        EXPECT_EQ(Split(roi), ippStsNullPtrErr) << c;
        EXPECT_EQ(Join(roi), ippStsNullPtrErr) << c;
        // Null wins over a bad size.
        EXPECT_EQ(Split({0, 0}), ippStsNullPtrErr) << c;
        planes[c] = saved;
    }
    EXPECT_TRUE(Untouched());
}

TEST_F(Split422BadArgs, Sizes)
{
    for (IppiSize roi : {IppiSize{0, kH}, IppiSize{1, kH}, IppiSize{-2, kH}, IppiSize{kW, 0}, IppiSize{kW, -1},
                         IppiSize{INT_MAX / 2 + 1, 1}, IppiSize{INT_MAX, 1}}) {
        EXPECT_EQ(Split(roi), ippStsSizeErr) << roi.width << "x" << roi.height;
        EXPECT_EQ(Join(roi), ippStsSizeErr) << roi.width << "x" << roi.height;
    }
    // Size is checked before steps.
    pStep = 0;
    EXPECT_EQ(Split({1, 1}), ippStsSizeErr);
    EXPECT_TRUE(Untouched());
}

TEST_F(Split422BadArgs, StepsNotPositive)
{
    for (int bad : {0, -1, -2 * kW}) {
        for (int which = 0; which < 4; ++which) {
            int* target = which == 3 ? &pStep : &steps[which];
            const int saved = *target;
            *target = bad;
            EXPECT_EQ(Split({kW, kH}), ippStsStepErr) << which << " " << bad;
            EXPECT_EQ(Join({kW, kH}), ippStsStepErr) << which << " " << bad;
            *target = saved;
        }
    }
    EXPECT_TRUE(Untouched());
}

TEST_F(Split422BadArgs, StepsShorterThanTheirRows)
{
    for (int which = 0; which < 4; ++which) {
        int* target = which == 3 ? &pStep : &steps[which];
        --*target;
        EXPECT_EQ(Split({kW, kH}), ippStsStrideErr) << which;
        EXPECT_EQ(Join({kW, kH}), ippStsStrideErr) << which;
        // Refused at every height, a single row included.
        EXPECT_EQ(Split({kW, 1}), ippStsStrideErr) << which;
        ++*target;
    }
    EXPECT_TRUE(Untouched());
}

// With an odd width the U row holds one byte more than the V row.
TEST_F(Split422BadArgs, OddWidthNeedsTheLastU)
{
    const IppiSize roi{kW - 1, kH};
    steps[0] = kW - 1;
    steps[1] = (kW - 1) / 2;
    steps[2] = (kW - 1) / 2;
    pStep = 2 * (kW - 1);
    EXPECT_EQ(Split(roi), ippStsStrideErr);
    EXPECT_EQ(Join(roi), ippStsStrideErr);
    EXPECT_TRUE(Untouched());
    steps[1] = kW / 2;
    EXPECT_EQ(Split(roi), ippStsNoErr);
    EXPECT_EQ(Join(roi), ippStsNoErr);
}

}  // namespace
