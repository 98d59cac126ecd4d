// Every instruction-set path of the centre-based resamplers gives the same
// bytes as the scalar one: the linear row operations on their own, and
// whole calls on random pictures, sizes, factors, steps and alignments.
#include "platform/ipp/resize_center_linear.h"
#include "platform/ipp/simd_level.h"
#include "tests/platform/ipp/resize_center_harness.h"

#include <random>
#include <sstream>
#include <vector>

namespace {

using namespace tultest;
using tulipp::SimdLevel;
namespace rc = tulipp::resize_center;

// Restores the detected level however the test ends.
struct LevelGuard {
    ~LevelGuard() { tulipp::SetActiveSimdLevel(tulipp::DetectedSimdLevel()); }
};

std::vector<SimdLevel> FasterLevels()
{
    std::vector<SimdLevel> levels;
    for (SimdLevel l : {SimdLevel::SSE2, SimdLevel::SSSE3, SimdLevel::AVX2})
        if (static_cast<int>(l) <= static_cast<int>(tulipp::DetectedSimdLevel()))
            levels.push_back(l);
    return levels;
}

std::string LevelName(SimdLevel l)
{
    std::ostringstream o;
    o << "level " << static_cast<int>(l);
    return o.str();
}

// Random gather tables: positions within `span` samples, weights 0..256,
// zero where the second sample would be the padding one.
void RandomTaps(std::mt19937& rng, int n, int span, std::vector<std::int32_t>& pos, std::vector<std::int32_t>& pair)
{
    pos.resize(static_cast<std::size_t>(n));
    pair.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        pos[k] = static_cast<std::int32_t>(rng() % static_cast<unsigned>(span));
        int w = static_cast<int>(rng() % 257);
        if (rng() % 8 == 0)
            w = rng() % 2 ? 0 : 256;
        pair[k] = rc::WeightPair(w);
    }
}

class LinearRowOps : public ::testing::TestWithParam<int> {};

TEST_P(LinearRowOps, SameAsScalar)
{
    const int level = GetParam();
    if (level > static_cast<int>(tulipp::DetectedSimdLevel()))
        GTEST_SKIP() << "processor lacks this level";
    const rc::LinearRowOps& ops = level == static_cast<int>(SimdLevel::AVX2) ? rc::Avx2LinearRowOps()
                                                                               : rc::Sse2LinearRowOps();
    const rc::LinearRowOps& ref = rc::ScalarLinearRowOps();
    std::mt19937 rng(77u + level);
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

            std::vector<std::int16_t> ha(n + 8), hb(n + 8);
            for (auto& v : ha)
                v = static_cast<std::int16_t>(static_cast<int>(rng() % 65281) - rc::kWordBias);
            for (auto& v : hb)
                v = static_cast<std::int16_t>(static_cast<int>(rng() % 65281) - rc::kWordBias);
            std::vector<unsigned char> oa(n + 8, 1), ob(n + 8, 1);
            ops.blendWords(ha.data() + offset, hb.data() + offset, w, oa.data() + offset, n);
            ref.blendWords(ha.data() + offset, hb.data() + offset, w, ob.data() + offset, n);
            ASSERT_EQ(oa, ob) << "blendWords n " << n << " w " << w;

            // Gathers: the source holds span samples plus the padding the
            // kernels guarantee.
            const int span = 1 + static_cast<int>(rng() % 300);
            std::vector<std::int32_t> pos, pair;
            RandomTaps(rng, n, span, pos, pair);
            std::vector<std::int16_t> words(span + 1);
            for (auto& v : words)
                v = static_cast<std::int16_t>(static_cast<int>(rng() % 65281) - rc::kWordBias);
            std::fill(oa.begin(), oa.end(), 2);
            std::fill(ob.begin(), ob.end(), 2);
            ops.gatherWords(words.data(), pos.data(), pair.data(), oa.data() + offset, n);
            ref.gatherWords(words.data(), pos.data(), pair.data(), ob.data() + offset, n);
            ASSERT_EQ(oa, ob) << "gatherWords n " << n;

            std::vector<unsigned char> bytes(span + rc::kGatherPadBytes + 1);
            FillRandom(bytes.data(), bytes.size(), rng());
            std::fill(wa.begin(), wa.end(), 3);
            std::fill(wb.begin(), wb.end(), 3);
            ops.gatherBytes(bytes.data(), pos.data(), pair.data(), wa.data() + offset, n);
            ref.gatherBytes(bytes.data(), pos.data(), pair.data(), wb.data() + offset, n);
            ASSERT_EQ(wa, wb) << "gatherBytes n " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, LinearRowOps,
                         ::testing::Values(static_cast<int>(SimdLevel::SSE2), static_cast<int>(SimdLevel::AVX2)));

// Runs the call at a given level; same random pictures for every level.
CenterRun RunAt(SimdLevel level, const CenterCall& c, int srcPad, int dstPad, int misalign, std::uint32_t seed)
{
    tulipp::SetActiveSimdLevel(level);
    return RunCenter(c, srcPad, dstPad, misalign, seed);
}

void ExpectSameAtEveryLevel(const CenterCall& c, int srcPad, int dstPad, int misalign, std::uint32_t seed)
{
    LevelGuard guard;
    const CenterRun scalar = RunAt(SimdLevel::Scalar, c, srcPad, dstPad, misalign, seed);
    ASSERT_EQ(scalar.status, ippStsNoErr) << Describe(c);
    for (SimdLevel level : FasterLevels()) {
        const CenterRun fast = RunAt(level, c, srcPad, dstPad, misalign, seed);
        ASSERT_EQ(fast.status, ippStsNoErr);
        ASSERT_TRUE(fast.guardsIntact);
        ASSERT_TRUE(SameBytes(scalar.after, fast.after)) << LevelName(level) << " " << Describe(c);
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
        if (i % 11 == 0)
            c.interpolation = IPPI_INTER_CUBIC;
        if (i % 13 == 0)
            c.interpolation = IPPI_INTER_NN;
        c.srcSize = {uni(1, 200), uni(1, 60)};
        const int x = uni(0, c.srcSize.width - 1), y = uni(0, c.srcSize.height - 1);
        c.srcRoi = i % 3 == 0 ? IppiRect{x, y, uni(1, 300), uni(1, 80)}
                              : IppiRect{0, 0, c.srcSize.width, c.srcSize.height};
        // Both row-first (reduction) and column-first (enlargement) paths.
        c.xFactor = real(0.15, 5.0);
        c.yFactor = i % 2 == 0 ? real(0.15, 1.0) : real(1.0, 4.0);
        c.dstSize = {uni(1, 333), uni(1, 70)};
        c.xCenter = x + real(-2, 40);
        c.yCenter = y + real(-2, 20);
        ExpectSameAtEveryLevel(c, uni(0, 9), uni(0, 9), uni(0, 3), rng());
    }
}

// The sizes the product runs: luma and chroma planes of 720x480 -> 320x240,
// HD reductions and SD to HD enlargement.
TEST(ResizeCenterLevels, ProductSizesSameAsScalar)
{
    struct Size {
        IppiSize src, dst;
    };
    for (const Size s : {Size{{720, 480}, {320, 240}}, Size{{360, 480}, {160, 240}}, Size{{1920, 1080}, {1280, 720}},
                         Size{{720, 480}, {1920, 1080}}, Size{{352, 480}, {720, 480}}}) {
        for (int channels : {1, 3}) {
            CenterCall c;
            c.channels = channels;
            c.interpolation = IPPI_INTER_LINEAR;
            c.srcSize = s.src;
            c.srcRoi = {0, 0, s.src.width, s.src.height};
            c.dstSize = s.dst;
            c.xFactor = double(s.dst.width) / s.src.width;
            c.yFactor = double(s.dst.height) / s.src.height;
            c.xCenter = (s.src.width + 1) / 2;
            c.yCenter = (s.src.height + 1) / 2;
            ExpectSameAtEveryLevel(c, 0, 5, 1, 99);
        }
    }
}

}  // namespace
