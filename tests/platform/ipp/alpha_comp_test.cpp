// Compositing primitives: the twelve types against a model written from the
// 8-bit formulas (constant alphas on 1, 3, 4 channels; per-pixel alphas on
// AC4 with alphas 0, 255 and random; padded steps; in place), both row
// families in the conformance harness, and the refusals.
#include "platform/ipp/alpha_comp_rows.h"
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"
#include "tests/support/simd_conformance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

namespace {

using tultest::GuardedBuffer;

// The colour of type t for alphas a, b and channel values A, B, as a
// fraction of 255^2, rounded half up and saturated.
int ModelColour(int t, int a, int b, int A, int B)
{
    const int na = 255 - a, nb = 255 - b;
    long v = 0;
    switch (t) {
    case 0: v = a * 255L * A + long(na) * b * B; break;
    case 1: v = long(a) * b * A; break;
    case 2: v = long(a) * nb * A; break;
    case 3: v = long(a) * b * A + long(na) * b * B; break;
    case 4: v = long(a) * nb * A + long(na) * b * B; break;
    case 5: v = 255L * (a * A + b * B); break;
    case 6: v = 255L * (255 * A + na * B); break;
    case 7: v = 255L * A * b; break;
    case 8: v = 255L * A * nb; break;
    case 9: v = 255L * (A * b + na * B); break;
    case 10: v = 255L * (A * nb + na * B); break;
    case 11: v = 255L * 255 * (A + B); break;
    }
    const double r = std::floor(double(v) / 65025.0 + 0.5);
    return r > 255 ? 255 : int(r);
}

// Result alpha: a + (255-a) b / 255 for OVER and so on; every premultiplied
// type has its straight type's alpha.
int ModelAlpha(int t, int a, int b)
{
    const double x = a / 255.0, y = b / 255.0;
    const double r[6] = {x + (1 - x) * y, x * y, x * (1 - y), y, x * (1 - y) + (1 - x) * y, x + y};
    const double v = std::floor(r[t % 6] * 255.0 + 0.5 + 1e-9);
    return v > 255 ? 255 : int(v);
}

// channels 1, 3, 4 (constant alphas) or 0 (AC4); type; width; padded steps.
class AlphaCompModel : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(AlphaCompModel, EveryTypeMatchesModel)
{
    const auto [channels, width, pad] = GetParam();
    const int pixelBytes = channels == 0 ? 4 : channels, height = 3, row = width * pixelBytes;
    const int s1 = row + pad, s2 = row + 2 * pad, sd = row + 3 * pad;
    for (int t = 0; t < 12; ++t) {
        for (int alphas = 0; alphas < 4; ++alphas) {  // 0, 255, random, and the destination as background
            GuardedBuffer fg(std::size_t(s1 * height) & 0xFFFF), bg(std::size_t(s2 * height) & 0xFFFF),
                out(std::size_t(sd * height) & 0xFFFF, 0x5A);
            tultest::FillRandom(fg, 31u * t + alphas + width);
            tultest::FillRandom(bg, 77u * t + alphas + width);
            const Ipp8u ca = alphas == 0 ? 0 : alphas == 1 ? 255 : Ipp8u(37 * t + 11), cb = Ipp8u(255 - 19 * t);
            for (int i = 0; channels == 0 && alphas < 2 && i < width * height; ++i)
                fg[i / width * s1 + i % width * 4 + 3] = ca;
            const bool inPlace = alphas == 3;
            Ipp8u* dst = inPlace ? bg.data() : out.data();
            const int dStep = inPlace ? s2 : sd;
            std::vector<Ipp8u> expected(dst, dst + std::size_t(dStep) * height);
            for (int y = 0; y < height; ++y) {
                for (int i = 0; i < row; ++i) {
                    const int a = channels == 0 ? fg[y * s1 + i / 4 * 4 + 3] : ca;
                    const int b = channels == 0 ? bg[y * s2 + i / 4 * 4 + 3] : cb;
                    expected[y * dStep + i] = Ipp8u(channels == 0 && i % 4 == 3 ? ModelAlpha(t, a, b)
                                                    : ModelColour(t, a, b, fg[y * s1 + i], bg[y * s2 + i]));
                }
            }
            const IppiSize roi{width, height};
            const auto type = static_cast<IppiAlphaType>(t);
            const auto f = channels == 1 ? ippiAlphaCompC_8u_C1R : channels == 3 ? ippiAlphaCompC_8u_C3R : ippiAlphaCompC_8u_C4R;
            ASSERT_EQ(channels == 0 ? ippiAlphaComp_8u_AC4R(fg.data(), s1, bg.data(), s2, dst, dStep, roi, type)
                                    : f(fg.data(), s1, ca, bg.data(), s2, cb, dst, dStep, roi, type), ippStsNoErr);
            ASSERT_TRUE(tultest::SameBytes(expected, {dst, dst + expected.size()})) << "type " << t << " alphas " << alphas;
            ASSERT_TRUE(out.GuardsIntact() && bg.GuardsIntact());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, AlphaCompModel,
                         ::testing::Combine(::testing::Values(0, 1, 3, 4), ::testing::Values(1, 7, 33, 70),
                                            ::testing::Values(0, 5)));

// The four row families at every level against their scalar rows, in
// one adapter (Kind 0 constant, 1 scaled, 2 per pixel, 3 OVER on RGB24);
// the variants walk the twelve types and alpha pairs.
template <class Fn, int Kind>
struct Rows {
    using Row = Fn;
    struct Inputs {
        tultest::RowInput<Ipp8u> fg, bg;
        int p, q;
    };
    tulipp::RowSet<Row> rows;
    int lanes = Kind == 2 ? 16 : Kind == 3 ? 8 : 32;
    int variants = Kind == 3 ? 1 : 12;
    static constexpr int kFgBytes = Kind >= 2 ? 4 : 1;
    static constexpr int kBytes = Kind == 2 ? 4 : Kind == 3 ? 3 : 1;
    Inputs Make(int n, int v, int offset, std::mt19937& rng) const
    {
        const int a = v % 3 == 0 ? 255 : int(rng() % 256);
        const int b = Kind == 1 ? int(rng() % (256 - a)) : v % 4 == 0 ? 0 : int(rng() % 256);
        const tulipp::AlphaRule& r = tulipp::kAlphaRules[v];
        return {tultest::RandomRowInput<Ipp8u>(kFgBytes * std::size_t(n), kFgBytes * offset, rng, 0, 255),
                tultest::RandomRowInput<Ipp8u>(kBytes * std::size_t(n), kBytes * offset, rng, 0, 255),
                Kind == 0 ? r.KA(a, b) : Kind == 1 ? a : v, Kind == 0 ? r.KB(a, b) : b};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const { return {{kBytes, std::size_t(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        if constexpr (Kind == 3)
            row(in.fg.data(), in.bg.data(), static_cast<Ipp8u*>(out[0]), n);
        else if constexpr (Kind == 2)
            row(in.fg.data(), in.bg.data(), static_cast<Ipp8u*>(out[0]), n, tulipp::kAlphaRules[in.p]);
        else
            row(in.fg.data(), in.bg.data(), static_cast<Ipp8u*>(out[0]), n, in.p, in.q);
    }
};

TEST(AlphaCompRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows<tulipp::AlphaCompConstRowFn, 0>{tulipp::kAlphaCompConstRows}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows<tulipp::AlphaCompScaledRowFn, 1>{tulipp::kAlphaCompScaledRows}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows<tulipp::AlphaCompPixelRowFn, 2>{tulipp::kAlphaCompPixelRows}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rows<tulipp::AlphaOverRgb24RowFn, 3>{tulipp::kAlphaOverRgb24Rows}));
}

// Refusals in the order null, size, step, stride, type; nothing written.
TEST(AlphaCompBadArgs, StatusesAndNothingWritten)
{
    GuardedBuffer a(64, 1), b(64, 2), d(64, 0x5A);
    const auto both = [&](const Ipp8u* p1, int st1, const Ipp8u* p2, Ipp8u* pd, int std_, IppiSize roi, int type) {
        const auto t = static_cast<IppiAlphaType>(type);
        const IppStatus c = ippiAlphaCompC_8u_C4R(p1, st1, 9, p2, 16, 9, pd, std_, roi, t);
        EXPECT_EQ(c, ippiAlphaCompC_8u_C1R(p1, st1, 9, p2, 16, 9, pd, std_, {roi.width * 4, roi.height}, t));
        EXPECT_EQ(c, ippiAlphaComp_8u_AC4R(p1, st1, p2, 16, pd, std_, roi, t));
        return c;
    };
    EXPECT_EQ(both(nullptr, 16, b.data(), d.data(), 16, {4, 4}, 0), ippStsNullPtrErr);
    EXPECT_EQ(both(a.data(), 16, nullptr, d.data(), 16, {0, 4}, 0), ippStsNullPtrErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), nullptr, 16, {4, 4}, 99), ippStsNullPtrErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), d.data(), 16, {0, 4}, 0), ippStsSizeErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), d.data(), 16, {4, -1}, 0), ippStsSizeErr);
    EXPECT_EQ(ippiAlphaCompC_8u_C4R(a.data(), 16, 9, b.data(), 16, 9, d.data(), 16, {INT32_MAX / 2, 1},
                                    ippAlphaOver), ippStsSizeErr);
    EXPECT_EQ(both(a.data(), 0, b.data(), d.data(), 16, {4, 4}, 0), ippStsStepErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), d.data(), -16, {4, 4}, 0), ippStsStepErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), d.data(), 12, {4, 4}, 0), ippStsStrideErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), d.data(), 16, {4, 4}, 12), ippStsAlphaTypeErr);
    EXPECT_EQ(both(a.data(), 16, b.data(), d.data(), 16, {4, 4}, -1), ippStsAlphaTypeErr);
    EXPECT_EQ(d.Bytes(), std::vector<Ipp8u>(64, 0x5A));
    EXPECT_TRUE(d.GuardsIntact());
}

}  // namespace
