// Every instruction-set path of the centre-based resamplers gives the same
// bytes as the scalar one: the linear and nearest row families in the
// conformance harness, and whole calls of every kernel on random pictures,
// sizes, factors, steps and alignments.
#include "platform/ipp/resize_center_linear.h"
#include "platform/ipp/resize_center_nearest.h"
#include "platform/ipp/simd_level.h"
#include "tests/platform/ipp/resize_center_harness.h"
#include "tests/support/simd_conformance.h"

#include <random>
#include <sstream>
#include <vector>

namespace {

using namespace tultest;
using tulipp::SimdLevel;
namespace rc = tulipp::resize_center;

// Biased words as the linear passes keep them between rows.
constexpr int kWordMin = -rc::kWordBias, kWordMax = 65280 - rc::kWordBias;

// Blends of two rows by one weight: 0, 256 and random ones.
template <typename In, typename Out, typename RowFn>
struct LinearBlendRows {
    using Row = RowFn;
    struct Inputs {
        RowInput<In> a, b;
        int w;
    };
    tulipp::RowSet<Row> rows;
    int lo, hi;
    int lanes = 16;
    int variants = 3;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        const int w = variant == 0 ? 0 : variant == 1 ? 256 : static_cast<int>(rng() % 257);
        return {RandomRowInput<In>(n, offset, rng, lo, hi), RandomRowInput<In>(n, offset, rng, lo, hi), w};
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const { return {{sizeof(Out), std::size_t(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.a.data(), in.b.data(), in.w, static_cast<Out*>(out[0]), n);
    }
};

// Gathers of N-channel pixels through random taps as the kernels make
// them: positions never decrease, by steps from enlargement (0 or 1) to
// strong reduction (so some shuffle blocks fit 16 bytes and some do not);
// weights 0..256 with the ends favoured. The samples are exactly the span,
// the zero-weight pixel after it and the padding the kernels guarantee.
template <typename In, typename Out, typename RowFn, int N>
struct LinearGatherRows {
    using Row = RowFn;
    struct Inputs {
        rc::LinearTaps taps;
        RowInput<In> samples;
    };
    tulipp::RowSet<Row> rows;
    bool shuffled = false;
    int lanes = 16;
    int variants = 4;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        const int maxStep = variant == 0 ? 1 : variant == 1 ? 2 : variant == 2 ? 4 : 9;
        Inputs in;
        rc::LinearTaps& t = in.taps;
        int p = static_cast<int>(rng() % 5);
        for (int k = 0; k < n; ++k) {
            p += static_cast<int>(rng() % static_cast<unsigned>(maxStep + 1));
            int w = static_cast<int>(rng() % 257);
            if (rng() % 8 == 0)
                w = rng() % 2 ? 0 : 256;
            t.pos.push_back(p);
            t.pair.push_back(rc::WeightPair(w));
        }
        t.span = p + 1;
        if (shuffled)
            rc::BuildShuffle(t, sizeof(In) == 2);
        const bool words = sizeof(In) == 2;
        in.samples = RandomRowInput<In>(static_cast<std::size_t>(t.span + 1) * N, offset, rng, words ? kWordMin : 0,
                                        words ? kWordMax : 255, words ? rc::kGatherPadWords : rc::kGatherPadBytes);
        return in;
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const { return {{sizeof(Out), std::size_t(n) * N}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        const rc::GatherTable table{in.taps.pos.data(), in.taps.pair.data(),
                                    in.taps.shuffle.empty() ? nullptr : in.taps.shuffle.data()};
        row(in.samples.data(), table, static_cast<Out*>(out[0]), n);
    }
};

template <int N>
using GatherWords = LinearGatherRows<std::int16_t, Ipp8u, rc::GatherWordsRow, N>;
template <int N>
using GatherBytes = LinearGatherRows<Ipp8u, std::int16_t, rc::GatherBytesRow, N>;

TEST(LinearRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(RowsMatchScalar(LinearBlendRows<Ipp8u, std::int16_t, rc::BlendBytesRow>{rc::kBlendBytesRows, 0, 255}));
    EXPECT_TRUE(RowsMatchScalar(LinearBlendRows<Ipp8u, std::int16_t, rc::BlendBytesRow>{rc::kBlendSplitRows, 0, 255}));
    EXPECT_TRUE(RowsMatchScalar(
        LinearBlendRows<std::int16_t, Ipp8u, rc::BlendWordsRow>{rc::kBlendWordsRows, kWordMin, kWordMax}));
    EXPECT_TRUE(RowsMatchScalar(GatherWords<1>{rc::kGatherWordsGrayRows}));
    EXPECT_TRUE(RowsMatchScalar(GatherWords<1>{rc::kGatherWordsShuffledRows, true}));
    EXPECT_TRUE(RowsMatchScalar(GatherWords<3>{rc::kGatherWordsRgbRows}));
    EXPECT_TRUE(RowsMatchScalar(GatherWords<4>{rc::kGatherWordsRgbaRows}));
    EXPECT_TRUE(RowsMatchScalar(GatherBytes<1>{rc::kGatherBytesGrayRows}));
    EXPECT_TRUE(RowsMatchScalar(GatherBytes<1>{rc::kGatherBytesShuffledRows, true}));
    EXPECT_TRUE(RowsMatchScalar(GatherBytes<3>{rc::kGatherBytesRgbRows}));
    EXPECT_TRUE(RowsMatchScalar(GatherBytes<4>{rc::kGatherBytesRgbaRows}));
}

// Nearest rows of N-channel pixels through random offsets that never
// decrease (enlargement to strong reduction), reading a source row of
// exactly the span the offsets use, tables built as the plan builds them.
template <int N>
struct NearestRows {
    using Row = rc::NearestRow;
    struct Inputs {
        rc::NearestTaps taps;
        RowInput<Ipp8u> src;
    };
    tulipp::RowSet<Row> rows = rc::NearestRowsOf(N);
    int lanes = 16;
    int variants = 4;
    Inputs Make(int n, int variant, int offset, std::mt19937& rng) const
    {
        const unsigned maxStep = variant == 0 ? 1 : variant == 1 ? 2 : variant == 2 ? 3 : 40;
        Inputs in;
        int p = 0;
        for (int k = 0; k < n; ++k) {
            in.taps.offset.push_back(p * N);
            p += static_cast<int>(rng() % (maxStep + 1));
        }
        const int span = n > 0 ? in.taps.offset.back() + N : 0;
        rc::BuildNearestTable(in.taps, N, span);
        in.src = RandomRowInput<Ipp8u>(span, offset, rng, 0, 255);
        return in;
    }
    std::vector<RowOutput> Outputs(const Inputs&, int n) const { return {{1, std::size_t(n) * N}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.src.data(), in.taps.Table(), static_cast<Ipp8u*>(out[0]), n);
    }
};

TEST(NearestRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(RowsMatchScalar(NearestRows<1>{}));
    EXPECT_TRUE(RowsMatchScalar(NearestRows<3>{}));
    EXPECT_TRUE(RowsMatchScalar(NearestRows<4>{}));
}

// Whole calls of every kernel at every level give the scalar bytes and
// stay inside their buffers: 1, 3 and 4 channels; regions inside and
// hanging over the picture; reductions (row-first for linear) and, but for
// super-sampling, enlargements (column-first); a third of the calls
// reducing across below 0.6 with at least 16 outputs, so vector blocks of
// gathered outputs run, not only tails; padded steps, misaligned pictures.
class ResizeCenterLevels : public ::testing::TestWithParam<int> {};

TEST_P(ResizeCenterLevels, RandomCallsSameAsScalar)
{
    const int interp = GetParam();
    std::mt19937 rng(4242u + interp);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    for (int i = 0; i < 60; ++i) {
        CenterCall c;
        c.interpolation = interp;
        c.channels = i % 3 == 0 ? 1 : i % 3 == 1 ? 3 : 4;
        const bool enlarge = interp != IPPI_INTER_SUPER && i % 2 == 1;
        c.xFactor = enlarge ? real(1.0, 5.0) : real(0.12, 1.0);
        c.yFactor = enlarge ? real(1.0, 4.0) : real(0.12, 1.0);
        c.srcSize = {uni(1, 200), uni(1, 60)};
        c.dstSize = {uni(1, 333), uni(1, 60)};
        if (i % 3 == 2) {
            c.xFactor = real(0.12, 0.6);
            c.srcSize.width = uni(static_cast<int>(20 / c.xFactor), 400);
            c.dstSize.width = uni(16, 333);
        }
        const int x = uni(0, c.srcSize.width - 1), y = uni(0, c.srcSize.height - 1);
        c.srcRoi = i % 4 == 3 ? IppiRect{x, y, uni(1, 300), uni(1, 80)}
                              : IppiRect{0, 0, c.srcSize.width, c.srcSize.height};
        c.xCenter = i % 4 == 3 ? x + real(-2, 40) : c.srcSize.width / 2.0 + real(-2, 2);
        c.yCenter = i % 4 == 3 ? y + real(-2, 20) : c.srcSize.height / 2.0 + real(-2, 2);
        ASSERT_TRUE(SameAtEveryLevel(c, uni(0, 9), uni(0, 9), uni(0, 3), rng())) << "case " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, ResizeCenterLevels,
                         ::testing::Values(IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER));

// The sizes the product runs: luma and chroma planes of 720x480 -> 320x240
// (linear), HD reductions and SD to HD enlargement; RGB as the library's
// automatic choice resizes it (super-sampling down, cubic up).
TEST(ResizeCenterProductLevels, SameAsScalar)
{
    struct Size {
        IppiSize src, dst;
    };
    for (const Size s : {Size{{720, 480}, {320, 240}}, Size{{360, 480}, {160, 240}}, Size{{1920, 1080}, {1280, 720}},
                         Size{{720, 480}, {1920, 1080}}, Size{{352, 480}, {720, 480}}}) {
        for (int channels : {1, 3}) {
            const int interp = channels == 1 ? IPPI_INTER_LINEAR
                               : s.dst.width > s.src.width ? IPPI_INTER_CUBIC
                                                           : IPPI_INTER_SUPER;
            EXPECT_TRUE(SameAtEveryLevel(WholeCall(channels, s.src, s.dst, double(s.dst.width) / s.src.width,
                                                   double(s.dst.height) / s.src.height, (s.src.width + 1) / 2,
                                                   (s.src.height + 1) / 2, interp),
                                         0, 5, 1, 99));
        }
    }
}

}  // namespace
