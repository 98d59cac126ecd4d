// Every instruction-set path of the centre-based resamplers gives the same
// bytes as the scalar one: the linear row operations on their own, and
// whole calls on random pictures, sizes, factors, steps and alignments.
#include "platform/ipp/resize_center_double_rows.h"
#include "platform/ipp/resize_center_linear.h"
#include "platform/ipp/simd_level.h"
#include "tests/platform/ipp/resize_center_harness.h"
#include "tests/platform/ipp/simd_levels.h"

#include <random>
#include <sstream>
#include <vector>

namespace {

using namespace tultest;
using tulipp::SimdLevel;
namespace rc = tulipp::resize_center;

// Random gather tables as the kernels make them: positions never
// decrease, by steps that range from enlargement (0 or 1) to strong
// reduction (so that some shuffle blocks fit 16 bytes and some do not);
// weights 0..256 with the ends favoured.
rc::LinearTaps RandomTaps(std::mt19937& rng, int n, int maxStep)
{
    rc::LinearTaps t;
    t.pos.resize(static_cast<std::size_t>(n));
    t.pair.resize(static_cast<std::size_t>(n));
    int p = static_cast<int>(rng() % 5);
    for (int k = 0; k < n; ++k) {
        p += static_cast<int>(rng() % static_cast<unsigned>(maxStep + 1));
        t.pos[k] = p;
        int w = static_cast<int>(rng() % 257);
        if (rng() % 8 == 0)
            w = rng() % 2 ? 0 : 256;
        t.pair[k] = rc::WeightPair(w);
    }
    t.lo = 0;
    t.span = p + 1;
    return t;
}

// Biased words as the linear passes keep them between rows.
std::vector<std::int16_t> RandomWords(std::mt19937& rng, std::size_t n)
{
    std::vector<std::int16_t> words(n);
    for (auto& v : words)
        v = static_cast<std::int16_t>(static_cast<int>(rng() % 65281) - rc::kWordBias);
    return words;
}

const rc::LinearRowOps& OpsOfLevel(SimdLevel level)
{
    switch (level) {
    case SimdLevel::AVX2:
        return rc::Avx2LinearRowOps();
    case SimdLevel::SSSE3:
        return rc::Ssse3LinearRowOps();
    default:
        return rc::Sse2LinearRowOps();
    }
}

class LinearRowOps : public ::testing::TestWithParam<int> {};

TEST_P(LinearRowOps, BlendsSameAsScalar)
{
    const SimdLevel level = static_cast<SimdLevel>(GetParam());
    if (level > tulipp::DetectedSimdLevel())
        GTEST_SKIP() << "processor lacks this level";
    const rc::LinearRowOps& ops = OpsOfLevel(level);
    const rc::LinearRowOps& ref = rc::ScalarLinearRowOps();
    std::mt19937 rng(77u + GetParam());
    for (int n : {0, 1, 2, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 100, 257}) {
        for (int offset = 0; offset < 4; ++offset) {
            const int w = n % 3 == 0 ? 0 : n % 3 == 1 ? 256 : static_cast<int>(rng() % 257);
            std::vector<unsigned char> a(n + 8), b(n + 8);
            FillRandom(a.data(), a.size(), rng());
            FillRandom(b.data(), b.size(), rng());
            std::vector<std::int16_t> wa(n + 8, 0), wb(n + 8, 0);
            ops.blendBytes(a.data() + offset, b.data() + offset, w, wa.data() + offset, n);
            ref.blendBytes(a.data() + offset, b.data() + offset, w, wb.data() + offset, n);
            ASSERT_EQ(wa, wb) << "blendBytes n " << n << " w " << w;

            const std::vector<std::int16_t> ha = RandomWords(rng, n + 8), hb = RandomWords(rng, n + 8);
            std::vector<unsigned char> oa(n + 8, 1), ob(n + 8, 1);
            ops.blendWords(ha.data() + offset, hb.data() + offset, w, oa.data() + offset, n);
            ref.blendWords(ha.data() + offset, hb.data() + offset, w, ob.data() + offset, n);
            ASSERT_EQ(oa, ob) << "blendWords n " << n << " w " << w;
        }
    }
}

// Gathers read span pixels, the zero-weight pixel after them and the
// padding the kernels guarantee; buffers are sized exactly to that, so the
// sanitizer build catches a longer read.
TEST_P(LinearRowOps, GathersSameAsScalar)
{
    const SimdLevel level = static_cast<SimdLevel>(GetParam());
    if (level > tulipp::DetectedSimdLevel())
        GTEST_SKIP() << "processor lacks this level";
    const rc::LinearRowOps& ops = OpsOfLevel(level);
    const rc::LinearRowOps& ref = rc::ScalarLinearRowOps();
    std::mt19937 rng(177u + GetParam());
    for (int n : {0, 1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 33, 100, 257}) {
        for (int maxStep : {1, 2, 4, 9}) {
            for (int channels : {1, 3, 4}) {
                for (bool shuffled : {false, true}) {
                    rc::LinearTaps taps = RandomTaps(rng, n, maxStep);
                    const int offset = static_cast<int>(rng() % 4);

                    if (shuffled)
                        rc::BuildShuffle(taps, true);
                    rc::GatherTable table{taps.pos.data(), taps.pair.data(),
                                          taps.shuffle.empty() ? nullptr : taps.shuffle.data()};
                    const std::vector<std::int16_t> words =
                        RandomWords(rng, static_cast<std::size_t>(taps.span + 1) * channels + rc::kGatherPadWords);
                    std::vector<unsigned char> ga(static_cast<std::size_t>(n) * channels + 8, 2), gb = ga;
                    ops.gatherWords(channels, words.data(), table, ga.data() + offset, n);
                    ref.gatherWords(channels, words.data(), table, gb.data() + offset, n);
                    ASSERT_EQ(ga, gb) << "gatherWords n " << n << " step " << maxStep << " channels " << channels
                                      << (table.shuffle ? " shuffled" : "");

                    if (shuffled)
                        rc::BuildShuffle(taps, false);
                    table.shuffle = taps.shuffle.empty() ? nullptr : taps.shuffle.data();
                    std::vector<unsigned char> bytes(static_cast<std::size_t>(taps.span + 1) * channels +
                                                     rc::kGatherPadBytes);
                    FillRandom(bytes.data(), bytes.size(), rng());
                    std::vector<std::int16_t> ha(static_cast<std::size_t>(n) * channels + 8, 3), hb = ha;
                    ops.gatherBytes(channels, bytes.data(), table, ha.data() + offset, n);
                    ref.gatherBytes(channels, bytes.data(), table, hb.data() + offset, n);
                    ASSERT_EQ(ha, hb) << "gatherBytes n " << n << " step " << maxStep << " channels " << channels
                                      << (table.shuffle ? " shuffled" : "");
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, LinearRowOps,
                         ::testing::Values(static_cast<int>(SimdLevel::SSE2), static_cast<int>(SimdLevel::SSSE3),
                                           static_cast<int>(SimdLevel::AVX2)));

// A block that reaches beyond 16 bytes is marked, never shuffled.
TEST(LinearShuffle, MarksBlocksBeyondOneLoad)
{
    rc::LinearTaps t;
    t.pos = {0, 1, 2, 3, 10, 11, 12, 17};
    t.pair.assign(8, rc::WeightPair(128));
    rc::BuildShuffle(t, false);
    ASSERT_EQ(t.shuffle.size(), 32u);
    EXPECT_EQ(t.shuffle[0], 0);
    EXPECT_EQ(t.shuffle[16], 0);  // 10..18 spans 9 bytes
    rc::BuildShuffle(t, true);    // 10..18 as words spans 18 bytes
    EXPECT_TRUE(t.shuffle.empty()) << "half the blocks misfit: not worth a table";
}

// The same random pictures (same seed) at every level.
void ExpectSameAtEveryLevel(const CenterCall& c, int srcPad, int dstPad, int misalign, std::uint32_t seed)
{
    CenterRun scalar;
    for (SimdLevel level : AvailableSimdLevels()) {
        ScopedSimdLevel scoped(level);
        const CenterRun run = RunCenter(c, srcPad, dstPad, misalign, seed);
        ASSERT_EQ(run.status, ippStsNoErr) << SimdLevelName(level) << " " << Describe(c);
        ASSERT_TRUE(run.guardsIntact);
        if (level == SimdLevel::Scalar)
            scalar = run;
        else
            ASSERT_TRUE(SameBytes(scalar.after, run.after)) << SimdLevelName(level) << " " << Describe(c);
    }
}

TEST(ResizeCenterLevels, RandomCallsSameAsScalar)
{
    std::mt19937 rng(4242);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    for (int i = 0; i < 150; ++i) {
        CenterCall c;
        c.channels = i % 5 == 0 ? 3 : i % 7 == 0 ? 4 : 1;
        c.interpolation = IPPI_INTER_LINEAR;
        if (i % 4 == 3)
            c.interpolation = IPPI_INTER_CUBIC;
        if (i % 13 == 0)
            c.interpolation = IPPI_INTER_NN;
        if (i % 4 == 1)
            c.interpolation = IPPI_INTER_SUPER;
        c.srcSize = {uni(1, 200), uni(1, 60)};
        const int x = uni(0, c.srcSize.width - 1), y = uni(0, c.srcSize.height - 1);
        c.srcRoi = i % 3 == 0 ? IppiRect{x, y, uni(1, 300), uni(1, 80)}
                              : IppiRect{0, 0, c.srcSize.width, c.srcSize.height};
        // Both row-first (reduction) and column-first (enlargement) paths.
        c.xFactor = real(0.15, 5.0);
        c.yFactor = i % 2 == 0 ? real(0.15, 1.0) : real(1.0, 4.0);
        if (c.interpolation == IPPI_INTER_SUPER) {
            c.xFactor = real(0.1, 1.0);
            c.yFactor = real(0.1, 1.0);
        }
        c.dstSize = {uni(1, 333), uni(1, 70)};
        c.xCenter = x + real(-2, 40);
        c.yCenter = y + real(-2, 20);
        ExpectSameAtEveryLevel(c, uni(0, 9), uni(0, 9), uni(0, 3), rng());
    }
}

// The sizes the product runs: luma and chroma planes of 720x480 -> 320x240
// (linear), HD reductions and SD to HD enlargement; RGB as the library's
// automatic choice resizes it (super-sampling down, cubic up).
TEST(ResizeCenterLevels, ProductSizesSameAsScalar)
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
            ExpectSameAtEveryLevel(WholeCall(channels, s.src, s.dst, double(s.dst.width) / s.src.width,
                                             double(s.dst.height) / s.src.height, (s.src.width + 1) / 2,
                                             (s.src.height + 1) / 2, interp),
                                   0, 5, 1, 99);
        }
    }
}

}  // namespace
