// ippiResizeCenter_8u_C1R / C3R / C4R against a plain model of the mapping
// and kernels (linear's exact integer rule included): status codes and
// their order, the worked placements, random pictures and regions at
// arbitrary factors, sizes and centres, and extreme arguments.
#include "tests/platform/ipp/resize_center_harness.h"

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <tuple>

namespace {

using namespace tultest;

// ---------------------------------------------------------------- statuses

// A good call, then spoiled by one case.
struct StatusArgs {
    explicit StatusArgs(int channels)
        : c(WholeCall(channels, {8, 6}, {5, 4}, 0.5, 0.5, 4, 3, IPPI_INTER_LINEAR)),
          srcStep(8 * channels + 3), dstStep(5 * channels + 2)
    {
    }
    CenterCall c;
    int srcStep, dstStep;
    bool nullSrc = false, nullDst = false;
};

struct StatusCase {
    const char* name;
    IppStatus expected;
    void (*spoil)(StatusArgs& a);
};

const StatusCase kStatusCases[] = {
    {"NullSource", ippStsNullPtrErr, [](StatusArgs& a) { a.nullSrc = true; }},
    {"NullDestination", ippStsNullPtrErr, [](StatusArgs& a) { a.nullDst = true; }},
    {"NullBeforeSize", ippStsNullPtrErr, [](StatusArgs& a) { a.nullSrc = true; a.c.srcSize.width = 0; a.srcStep = 0; }},
    {"ZeroSourceWidth", ippStsSizeErr, [](StatusArgs& a) { a.c.srcSize.width = 0; }},
    {"NegativeSourceHeight", ippStsSizeErr, [](StatusArgs& a) { a.c.srcSize.height = -3; }},
    {"ZeroDestinationHeight", ippStsSizeErr, [](StatusArgs& a) { a.c.dstSize.height = 0; }},
    {"NegativeDestinationWidth", ippStsSizeErr, [](StatusArgs& a) { a.c.dstSize.width = -1; }},
    {"EmptyRoiWidth", ippStsSizeErr, [](StatusArgs& a) { a.c.srcRoi.width = 0; }},
    {"NegativeRoiHeight", ippStsSizeErr, [](StatusArgs& a) { a.c.srcRoi.height = -2; }},
    {"SizeBeforeStep", ippStsSizeErr, [](StatusArgs& a) { a.c.dstSize.width = 0; a.srcStep = 0; }},
    {"RowBeyondInt", ippStsSizeErr,
     [](StatusArgs& a) {
         // One channel always fits; then only the plain size check applies.
         a.c.dstSize.width = a.c.channels == 1 ? 0 : INT_MAX / a.c.channels + 1;
     }},
    {"ZeroSourceStep", ippStsStepErr, [](StatusArgs& a) { a.srcStep = 0; }},
    {"NegativeDestinationStep", ippStsStepErr, [](StatusArgs& a) { a.dstStep = -64; }},
    {"StepBeforeFactor", ippStsStepErr, [](StatusArgs& a) { a.srcStep = -1; a.c.xFactor = 0; }},
    {"SourceStepShorterThanRow", ippStsStrideErr,
     [](StatusArgs& a) { a.srcStep = a.c.srcSize.width * a.c.channels - 1; }},
    {"DestinationStepShorterThanRow", ippStsStrideErr,
     [](StatusArgs& a) { a.dstStep = a.c.dstSize.width * a.c.channels - 1; }},
    // Even a single-row picture needs its row within the step.
    {"SingleRowShortStep", ippStsStrideErr,
     [](StatusArgs& a) { a.c.srcSize.height = a.c.srcRoi.height = 1; a.srcStep = 8 * a.c.channels - 1; }},
    {"ZeroXFactor", ippStsResizeFactorErr, [](StatusArgs& a) { a.c.xFactor = 0; }},
    {"NegativeYFactor", ippStsResizeFactorErr, [](StatusArgs& a) { a.c.yFactor = -0.5; }},
    {"NanFactor", ippStsResizeFactorErr, [](StatusArgs& a) { a.c.xFactor = std::numeric_limits<double>::quiet_NaN(); }},
    {"InfiniteFactor", ippStsResizeFactorErr,
     [](StatusArgs& a) { a.c.yFactor = std::numeric_limits<double>::infinity(); }},
    {"FactorBeforeInterpolation", ippStsResizeFactorErr, [](StatusArgs& a) { a.c.xFactor = 0; a.c.interpolation = 3; }},
    {"InterpolationZero", ippStsInterpolationErr, [](StatusArgs& a) { a.c.interpolation = 0; }},
    {"InterpolationThree", ippStsInterpolationErr, [](StatusArgs& a) { a.c.interpolation = 3; }},
    {"InterpolationLanczos", ippStsInterpolationErr, [](StatusArgs& a) { a.c.interpolation = 16; }},
    {"InterpolationSmoothEdge", ippStsInterpolationErr,
     [](StatusArgs& a) { a.c.interpolation = IPPI_INTER_LINEAR | IPPI_SMOOTH_EDGE; }},
    {"SuperEnlargingX", ippStsResizeFactorErr,
     [](StatusArgs& a) { a.c.interpolation = IPPI_INTER_SUPER; a.c.xFactor = 1.5; }},
    {"SuperEnlargingY", ippStsResizeFactorErr,
     [](StatusArgs& a) { a.c.interpolation = IPPI_INTER_SUPER; a.c.yFactor = 1.01; }},
    {"NanCentre", ippStsBadArgErr, [](StatusArgs& a) { a.c.xCenter = std::numeric_limits<double>::quiet_NaN(); }},
    {"InfiniteCentre", ippStsBadArgErr, [](StatusArgs& a) { a.c.yCenter = -std::numeric_limits<double>::infinity(); }},
    {"RoiRightOfImage", ippStsWrongIntersectROI, [](StatusArgs& a) { a.c.srcRoi.x = 8; }},
    {"RoiAboveImage", ippStsWrongIntersectROI, [](StatusArgs& a) { a.c.srcRoi.y = -6; }},
    {"RoiFarAway", ippStsWrongIntersectROI, [](StatusArgs& a) { a.c.srcRoi = {INT_MAX - 2, INT_MIN, 100, 100}; }},
};

class ResizeCenterStatus : public ::testing::TestWithParam<std::tuple<int, StatusCase>> {};

TEST_P(ResizeCenterStatus, RefusedBeforeWritingAnything)
{
    const auto& [channels, sc] = GetParam();
    StatusArgs a(channels);
    sc.spoil(a);
    const CenterCall& c = a.c;

    // Buffers for the good geometry; the spoiled one is never used to read.
    GuardedBuffer src(256 * 4);
    GuardedBuffer dst(256 * 4, 0x3C);
    FillRandom(src, 5);
    const IppStatus st = CenterFn(channels)(a.nullSrc ? nullptr : src.data(), c.srcSize, a.srcStep, c.srcRoi,
                                            a.nullDst ? nullptr : dst.data(), a.dstStep, c.dstSize, c.xFactor,
                                            c.yFactor, c.xCenter, c.yCenter, c.interpolation);
    EXPECT_EQ(st, sc.expected) << sc.name;
    for (std::size_t i = 0; i < dst.size(); ++i)
        ASSERT_EQ(dst[i], 0x3C) << "byte " << i << " written by a refused call";
    EXPECT_TRUE(dst.GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(All, ResizeCenterStatus,
                         ::testing::Combine(::testing::Values(1, 3, 4), ::testing::ValuesIn(kStatusCases)),
                         [](const auto& info) {
                             std::ostringstream name;
                             name << std::get<1>(info.param).name << "_C" << std::get<0>(info.param);
                             return name.str();
                         });

// ------------------------------------------------------ worked placements

// 720x480 shown 1:1 in a 704-wide frame: source columns 8..711, any kernel;
// and halved by super-sampling.
TEST(ResizeCenterPlacement, FullWidthCroppedToActiveAndHalved)
{
    for (int interp : {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER}) {
        for (int channels : {1, 3, 4}) {
            const CenterCall c = WholeCall(channels, {720, 480}, {704, 480}, 1.0, 1.0, 360, 240, interp);
            const CenterRun run = RunCenter(c, 0, 0, 0, 12);
            ASSERT_EQ(run.status, ippStsNoErr);
            const int n = channels;
            EXPECT_TRUE(SameRows(run.src.data() + 8 * n, 720 * n, run.after.data(), 704 * n, 704 * n, 480))
                << Describe(c);
        }
    }
    // 720x480 to 352x240 super-sampled: the rounded (half up) mean of 2x2
    // blocks starting at source column 2*xd + 8.
    for (int channels : {1, 3}) {
        const CenterCall c = WholeCall(channels, {720, 480}, {352, 240}, 0.5, 0.5, 360, 240, IPPI_INTER_SUPER);
        const CenterRun run = RunCenter(c, 0, 0, 0, 13);
        ASSERT_EQ(run.status, ippStsNoErr);
        const int n = channels;
        const int ss = 720 * n;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 352; ++x)
                for (int ch = 0; ch < n; ++ch) {
                    const unsigned char* b = run.src.data() + 2 * y * ss + (2 * x + 8) * n + ch;
                    const int mean = (b[0] + b[n] + b[ss] + b[ss + n] + 2) / 4;
                    ASSERT_EQ(run.after[y * 352 * n + x * n + ch], mean) << x << "," << y;
                }
    }
}

// ------------------------------------------------------ random pictures

class ResizeCenterRandom : public ::testing::TestWithParam<std::tuple<int, int>> {};

CenterCall RandomCall(std::mt19937& rng, int channels, int interp)
{
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    CenterCall c;
    c.channels = channels;
    c.interpolation = interp;
    const int shape = uni(0, 9);
    c.srcSize = shape == 0 ? IppiSize{1, 1} : shape == 1 ? IppiSize{2, 2} : IppiSize{uni(1, 48), uni(1, 40)};
    // Regions: whole, inside, or hanging over the image's edges.
    switch (uni(0, 2)) {
    case 0:
        c.srcRoi = {0, 0, c.srcSize.width, c.srcSize.height};
        break;
    case 1: {
        const int x = uni(0, c.srcSize.width - 1), y = uni(0, c.srcSize.height - 1);
        c.srcRoi = {x, y, uni(1, c.srcSize.width - x), uni(1, c.srcSize.height - y)};
        break;
    }
    default:
        c.srcRoi = {uni(-5, c.srcSize.width - 1), uni(-5, c.srcSize.height - 1), uni(6, c.srcSize.width + 10),
                    uni(6, c.srcSize.height + 10)};
        break;
    }
    const bool reduceOnly = interp == IPPI_INTER_SUPER;
    auto factor = [&]() {
        switch (uni(0, 4)) {
        case 0:
            return 1.0;
        case 1:
            return reduceOnly ? 0.5 : 2.0;
        case 2:  // eight decades
            return std::pow(10.0, real(-4.0, reduceOnly ? 0.0 : 4.0));
        default:
            return reduceOnly ? real(0.12, 1.0) : real(0.2, 4.5);
        }
    };
    c.xFactor = factor();
    c.yFactor = factor();
    // Destinations smaller or larger than the mapped picture.
    c.dstSize = {uni(1, 64), uni(1, 56)};
    const int cx = std::max(c.srcRoi.x, 0), cy = std::max(c.srcRoi.y, 0);
    const int cw = std::min(c.srcRoi.x + c.srcRoi.width, c.srcSize.width) - cx;
    const int ch = std::min(c.srcRoi.y + c.srcRoi.height, c.srcSize.height) - cy;
    // Centred, anywhere near the region, or far from the picture.
    const int where = uni(0, 4);
    const double far = where == 4 ? 1e4 : 3;
    c.xCenter = where == 0 ? (cw + 1) / 2 + cx : cx + real(-far, cw + far);
    c.yCenter = where == 0 ? (ch + 1) / 2 + cy : cy + real(-far, ch + far);
    return c;
}

TEST_P(ResizeCenterRandom, MatchesModel)
{
    const auto [channels, interp] = GetParam();
    std::mt19937 rng(1000u + channels * 31u + interp);
    // The cubic sums in the order the model does, so it lands on the same
    // double, and linear follows the same integer rule; super-sampling
    // (normalised weights) may round the other way.
    const int tolerance = interp == IPPI_INTER_SUPER ? 1 : 0;
    for (int i = 0; i < 150; ++i) {
        const CenterCall c = RandomCall(rng, channels, interp);
        const int srcPad = static_cast<int>(rng() % 3) * 5;
        const int dstPad = static_cast<int>(rng() % 3) * 3;
        const int misalign = static_cast<int>(rng() % 4);
        const CenterRun run = RunCenter(c, srcPad, dstPad, misalign, rng());
        ASSERT_TRUE(MatchesModel(c, run, tolerance)) << "case " << i << ": " << Describe(c);
    }
}

INSTANTIATE_TEST_SUITE_P(All, ResizeCenterRandom,
                         ::testing::Combine(::testing::Values(1, 3, 4),
                                            ::testing::Values(IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC,
                                                              IPPI_INTER_SUPER)),
                         [](const auto& info) {
                             std::ostringstream name;
                             name << "C" << std::get<0>(info.param) << "_Interp" << std::get<1>(info.param);
                             return name.str();
                         });

// ------------------------------------------------------ odd arguments

// Centres far away, factors near the ends of double: nothing written or
// a well-defined rectangle, never an overflow or a stray write.
TEST(ResizeCenterRegion, ExtremeArgumentsStayInBounds)
{
    const double big = 1e300, tiny = 1e-300;
    const double factors[][2] = {{tiny, tiny}, {big, big}, {tiny, big}, {1e-9, 1e9}};
    const double centres[][2] = {{big, big}, {-big, -big}, {5, 4}, {2e9, -2e9}};
    for (int interp : {IPPI_INTER_NN, IPPI_INTER_LINEAR, IPPI_INTER_CUBIC, IPPI_INTER_SUPER}) {
        for (const auto& f : factors) {
            for (const auto& ctr : centres) {
                const double cap = interp == IPPI_INTER_SUPER ? 1.0 : big;
                const CenterCall c = WholeCall(3, {10, 8}, {17, 11}, std::min(f[0], cap), std::min(f[1], cap),
                                               ctr[0], ctr[1], interp);
                const CenterRun run = RunCenter(c, 2, 2, 0, 31);
                EXPECT_EQ(run.status, ippStsNoErr) << Describe(c);
                EXPECT_TRUE(run.guardsIntact) << Describe(c);
            }
        }
    }
}

}  // namespace
