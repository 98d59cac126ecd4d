// The double-precision kernels (cubic and super-sampling) give the same
// bytes at every instruction-set level: their row families against the
// scalar rows in the conformance harness, super-sampling's across row
// against plain sums straight from the weight table (the sums in tap order
// the kernel has always made, so laying four rows side by side changes no
// bit). Whole
// calls at every level are compared with the other kernels' in
// resize_center_simd_test.cpp.
#include "platform/ipp/resize_center_double_rows.h"
#include "tests/support/simd_conformance.h"

#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

namespace {

using namespace tultest;
using tulipp::SimdLevel;
namespace rc = tulipp::resize_center;

double Real(std::mt19937& rng, double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }

// `count` written outputs at `factor` over a region just wide enough, the
// centre jittered so that the fractions vary.
rc::Axis TestAxis(int count, double factor, std::mt19937& rng)
{
    rc::Axis a;
    a.factor = factor;
    a.roiLen = std::max(1, static_cast<int>(std::ceil(count / factor)));
    a.center = a.roiLen / 2.0 + Real(rng, -0.5, 0.5);
    a.half = count / 2.0;
    a.end = count;
    return a;
}

// Enlargement, mild and strong reduction (blocks within one 16-byte load
// and beyond it), for each channel count.
struct Shape {
    int channels;
    double factor;
};
constexpr Shape kCubicShapes[] = {{1, 2.7}, {1, 0.667}, {1, 0.45}, {1, 0.13}, {3, 1.9}, {3, 0.667}, {4, 0.5}, {4, 0.3}};
constexpr Shape kSuperShapes[] = {{1, 1.0}, {1, 0.667}, {1, 0.45}, {1, 0.13}, {3, 0.7}, {3, 0.29}, {4, 0.5}, {4, 0.21}};

// Four rows side by side (exactly t.span values each) through an across row;
// sums, here and below, take any value the area weights give, 0 to 255.
template <typename Out, typename RowFn>
struct AcrossRows {
    using Row = RowFn;
    using Inputs = std::pair<rc::AcrossTable, RowInput<double>>;
    tulipp::RowSet<Row> rows;
    rc::WeightTaps (*make)(const rc::Axis&);
    const Shape* shapes;
    int lanes = 4;
    int variants = 8;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        const Shape s = shapes[variant];
        rc::AcrossTable t = rc::MakeAcrossTable(make(TestAxis(n, s.factor, rng)), s.channels);
        RowInput<double> lanesIn = RandomRowInput<double>(static_cast<std::size_t>(t.span) * 4, offset, rng, 0, 255);
        return {std::move(t), std::move(lanesIn)};
    }
    std::vector<RowOutput> Outputs(const Inputs& in, int) const
    {
        return std::vector<RowOutput>(4, {sizeof(Out), static_cast<std::size_t>(in.first.values)});
    }
    void Call(Row row, const Inputs& in, void* const* out, int) const
    {
        Out* const outs[4] = {static_cast<Out*>(out[0]), static_cast<Out*>(out[1]), static_cast<Out*>(out[2]),
                              static_cast<Out*>(out[3])};
        row(in.second.data(), in.first, 0, in.first.Blocks(), outs);
    }
};

// Four 8-bit rows laid side by side.
struct InterleaveRows {
    using Row = rc::InterleaveRow;
    using Inputs = std::vector<RowInput<Ipp8u>>;
    tulipp::RowSet<Row> rows = rc::kInterleaveRows;
    int lanes = 8;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        Inputs in;
        for (int q = 0; q < 4; ++q)
            in.push_back(RandomRowInput<Ipp8u>(static_cast<std::size_t>(n), offset, rng, 0, 255));
        return in;
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{sizeof(double), 4 * static_cast<std::size_t>(n)}};
    }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        const Ipp8u* const rows[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
        row(rows, static_cast<double*>(out[0]), static_cast<std::size_t>(n));
    }
};

// Sums down 1 to 7 rows with area weights for four destination rows, each
// with its own count.
struct SumDownRows {
    using Row = rc::SumDownRow;
    struct Inputs {
        std::vector<RowInput<Ipp8u>> r[4];
        std::vector<double> w[4];
    };
    tulipp::RowSet<Row> rows = rc::kSumDownRows;
    int lanes = 4;
    int variants = 3;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        Inputs in;
        for (int q = 0; q < 4; ++q) {
            const int taps = variant == 0 ? 1 : variant == 1 ? 2 + q % 2 : 7 - q;
            for (int m = 0; m < taps; ++m) {
                in.r[q].push_back(RandomRowInput<Ipp8u>(static_cast<std::size_t>(n), offset, rng, 0, 255));
                in.w[q].push_back(Real(rng, 0.01, 1.0) / taps);
            }
        }
        return in;
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{sizeof(double), 4 * static_cast<std::size_t>(n)}};
    }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        std::vector<const Ipp8u*> r[4];
        const Ipp8u* const* rows[4];
        const double* w[4];
        int taps[4];
        for (int q = 0; q < 4; ++q) {
            for (const auto& input : in.r[q])
                r[q].push_back(input.data());
            rows[q] = r[q].data();
            w[q] = in.w[q].data();
            taps[q] = static_cast<int>(r[q].size());
        }
        row(rows, w, taps, static_cast<double*>(out[0]), static_cast<std::size_t>(n));
    }
};

// The cubic's four weights at a random fraction (some negative, so sums
// overshoot), or (0, 1, 0, 0) over values at and beyond the 8-bit range
// and exact halves, so that the clamp and the round-half-up are exercised.
struct CombineFourRows {
    using Row = rc::CombineFourRow;
    struct Inputs {
        RowInput<double> r[4];
        double w[4];
    };
    tulipp::RowSet<Row> rows = rc::kCombineFourRows;
    int lanes = 8;
    int variants = 2;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        Inputs in;
        for (auto& r : in.r)
            r = RandomRowInput<double>(static_cast<std::size_t>(n), offset, rng, 0, 255);
        const double u = variant == 0 ? Real(rng, 0.0, 1.0) : 0.0;
        const double w[4] = {-u * (u - 1) * (u - 2) / 6, (u + 1) * (u - 1) * (u - 2) / 2, -(u + 1) * u * (u - 2) / 2,
                             (u + 1) * u * (u - 1) / 6};
        std::copy(w, w + 4, in.w);
        for (int i = 0; variant == 1 && i < n; ++i)
            in.r[1].data()[i] = i % 2 ? static_cast<int>(rng() % 300) - 20 + 0.5 : Real(rng, -40.0, 300.0);
        return in;
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const { return {{1, static_cast<std::size_t>(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        const double* const r[4] = {in.r[0].data(), in.r[1].data(), in.r[2].data(), in.r[3].data()};
        row(r, in.w, static_cast<Ipp8u*>(out[0]), static_cast<std::size_t>(n));
    }
};

TEST(ResizeCenterDoubleRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(RowsMatchScalar(AcrossRows<double, rc::CubicAcrossRow>{rc::kCubicAcrossRows, rc::MakeCubicTaps,
                                                                       kCubicShapes}));
    EXPECT_TRUE(RowsMatchScalar(AcrossRows<Ipp8u, rc::SuperAcrossRow>{rc::kSuperAcrossRows, rc::MakeAreaTaps,
                                                                      kSuperShapes}));
    EXPECT_TRUE(RowsMatchScalar(CombineFourRows{}));
    EXPECT_TRUE(RowsMatchScalar(InterleaveRows{}));
    EXPECT_TRUE(RowsMatchScalar(SumDownRows{}));
}

// Super-sampling's across row against plain sums straight from the weight
// table of row q of four rows side by side, in tap order (0 + w*p + ...,
// rounded), chunk by chunk as the kernels call it: the whole-call model
// comparison allows super-sampling a unit, so its exact rounding is held
// here. The cubic's whole calls match the model exactly.
std::vector<unsigned char> PlainSuper(const rc::WeightTaps& t, int channels, const double* lanes, int q)
{
    std::vector<unsigned char> out;
    for (int k = 0; k < t.Count(); ++k) {
        for (int c = 0; c < channels; ++c) {
            double sum = 0.0;
            for (std::size_t m = t.first[k]; m < t.first[k + 1]; ++m)
                sum += t.weight[m] * lanes[(t.index[m] * channels + c) * 4 + q];
            out.push_back(rc::RoundSample(sum));
        }
    }
    return out;
}

TEST(ResizeCenterDoubleRows, SuperAcrossRowIsThePlainTapSum)
{
    std::mt19937 rng(2024);
    for (int count : {1, 7, 16, 45}) {
        for (const Shape ss : kSuperShapes) {
            const rc::WeightTaps st = rc::MakeAreaTaps(TestAxis(count, ss.factor, rng));
            const rc::AcrossTable sTable = rc::MakeAcrossTable(st, ss.channels);
            const auto sums = RandomRowInput<double>(static_cast<std::size_t>(sTable.span) * 4, 0, rng, 0, 255);
            std::vector<unsigned char> s[4];
            Ipp8u* sOut[4];
            for (int q = 0; q < 4; ++q) {
                s[q].resize(static_cast<std::size_t>(sTable.values));
                sOut[q] = s[q].data();
            }
            for (const rc::AcrossChunk& k : sTable.chunks)
                rc::kSuperAcrossRows.For(SimdLevel::Scalar)(sums.data(), sTable, k.g0, k.g1, sOut);
            for (int q = 0; q < 4; ++q)
                EXPECT_EQ(s[q], PlainSuper(st, ss.channels, sums.data(), q)) << count << " x " << ss.factor;
        }
    }
}

}  // namespace
