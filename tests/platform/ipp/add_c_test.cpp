// AddC with result scaling: every source byte and several constants and
// scale factors against a double model (round half to even, saturate), in
// place and not; the worked examples; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using tultest::GuardedBuffer;

TEST(AddC, EveryByteMatchesModel)
{
    constexpr int kW = 256, kH = 2, kStep = 3 * kW + 4;
    GuardedBuffer src(kStep * kH);
    for (int y = 0; y < kH; ++y)
        for (int i = 0; i < 3 * kW; ++i)
            src[y * kStep + i] = static_cast<Ipp8u>(i / 3 + 7 * y);
    for (int sf : {-9, -1, 0, 1, 2, 5, 9, 17, 40}) {
        for (const auto& value : {std::vector<Ipp8u>{16, 16, 16}, std::vector<Ipp8u>{0, 100, 255}}) {
            std::vector<Ipp8u> expected = src.Bytes();
            for (int y = 0; y < kH; ++y)
                for (int i = 0; i < 3 * kW; ++i) {
                    // nearbyint rounds halves to even in the default mode.
                    const double v = std::nearbyint(std::ldexp(src[y * kStep + i] + value[i % 3], -sf));
                    expected[y * kStep + i] = static_cast<Ipp8u>(std::min(255.0, v));
                }
            GuardedBuffer dst(src.size()), inPlace(src.size());
            std::copy(src.data(), src.data() + src.size(), dst.data());
            std::copy(src.data(), src.data() + src.size(), inPlace.data());
            ASSERT_EQ(ippiAddC_8u_C3RSfs(src.data(), kStep, value.data(), dst.data(), kStep, {kW, kH}, sf), ippStsNoErr);
            ASSERT_EQ(ippiAddC_8u_C3IRSfs(value.data(), inPlace.data(), kStep, {kW, kH}, sf), ippStsNoErr);
            EXPECT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << "scale " << sf;
            EXPECT_TRUE(tultest::SameBytes(expected, inPlace.Bytes())) << "in place, scale " << sf;
        }
    }
}

TEST(AddC, WorkedExamples)
{
    struct {
        Ipp8u s, v;
        int sf;
        Ipp8u out;
    } const cases[] = {{200, 100, 0, 255}, {200, 100, 1, 150}, {3, 0, 1, 2}, {5, 0, 1, 2}};
    for (const auto& c : cases) {
        Ipp8u px[3] = {c.s, c.s, c.s};
        const Ipp8u value[3] = {c.v, c.v, c.v};
        ASSERT_EQ(ippiAddC_8u_C3IRSfs(value, px, 3, {1, 1}, c.sf), ippStsNoErr);
        EXPECT_EQ(px[0], c.out) << int{c.s} << "+" << int{c.v} << " sf " << c.sf;
    }
}

TEST(AddC, BadArgumentsWriteNothing)
{
    GuardedBuffer src(64, 1), dst(64, 2);
    const Ipp8u v[3] = {16, 16, 16};
    auto both = [&](IppStatus e, const Ipp8u* value, Ipp8u* d, int step, IppiSize roi) {
        EXPECT_EQ(ippiAddC_8u_C3RSfs(src.data(), 12, value, d, step, roi, 0), e);
        EXPECT_EQ(ippiAddC_8u_C3IRSfs(value, d, step, roi, 0), e);
    };
    both(ippStsNullPtrErr, nullptr, dst.data(), 12, {4, 2});
    both(ippStsNullPtrErr, v, nullptr, 12, {4, 2});
    EXPECT_EQ(ippiAddC_8u_C3RSfs(nullptr, 12, v, dst.data(), 12, {4, 2}, 0), ippStsNullPtrErr);
    both(ippStsSizeErr, v, dst.data(), 12, {0, 2});
    both(ippStsSizeErr, v, dst.data(), 12, {4, 0});
    both(ippStsStepErr, v, dst.data(), 0, {4, 2});
    EXPECT_EQ(ippiAddC_8u_C3RSfs(src.data(), -12, v, dst.data(), 12, {4, 2}, 0), ippStsStepErr);
    both(ippStsStrideErr, v, dst.data(), 11, {4, 2});
    EXPECT_EQ(dst.Bytes(), std::vector<Ipp8u>(64, 2));
}

}  // namespace
