// AddC with result scaling: every source byte, several constants and
// scale factors against a double model (halves to even, saturated), in
// place and not; the worked examples; bad arguments.
#include "platform/ipp/ippi.h"
#include "tests/support/ipp_refusals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using tultest::GuardedBuffer;

TEST(AddC, MatchesModel)
{
    constexpr int kW = 260, kH = 2, kStep = 3 * kW + 4;
    GuardedBuffer src(kStep * kH);
    tultest::FillRandom(src, 5);
    for (int i = 0; i < 3 * 256; ++i)  // every byte in every channel, plus the worked examples
        src[i] = static_cast<Ipp8u>(i / 3);
    for (int sf : {-9, -1, 0, 1, 2, 5, 9, 17, 40})
        for (const auto& value : {std::vector<Ipp8u>{16, 16, 16}, std::vector<Ipp8u>{0, 100, 255}}) {
            std::vector<Ipp8u> expected = src.Bytes();
            for (int y = 0; y < kH; ++y)
                for (int i = 0; i < 3 * kW; ++i)  // nearbyint: halves to even in the default mode
                    expected[y * kStep + i] = static_cast<Ipp8u>(
                        std::min(255.0, std::nearbyint(std::ldexp(src[y * kStep + i] + value[i % 3], -sf))));
            GuardedBuffer dst(src.size()), inPlace(src.size());
            std::copy(src.data(), src.data() + src.size(), inPlace.data());
            ASSERT_EQ(ippiAddC_8u_C3RSfs(src.data(), kStep, value.data(), dst.data(), kStep, {kW, kH}, sf), ippStsNoErr);
            ASSERT_EQ(ippiAddC_8u_C3IRSfs(value.data(), inPlace.data(), kStep, {kW, kH}, sf), ippStsNoErr);
            EXPECT_TRUE(tultest::SameRows(expected.data(), kStep, dst.data(), kStep, 3 * kW, kH)) << "scale " << sf;
            EXPECT_TRUE(tultest::SameBytes(expected, inPlace.Bytes())) << "in place, scale " << sf;
            if (value[1] == 100 && (sf == 0 || sf == 1)) {  // 200 + 100: 255, then 150; 3 and 5 halve to 2
                EXPECT_EQ((std::vector<int>{dst[3 * 200 + 1], dst[3 * 3], dst[3 * 5]}),
                          (sf == 0 ? std::vector<int>{255, 3, 5} : std::vector<int>{150, 2, 2}));
            }
        }
}

// The shared refusals; in place the one picture is the destination, at
// the lower of the two steps. A null constant is refused as well.
TEST(AddC, BadArgumentsWriteNothing)
{
    const Ipp8u v[3] = {16, 16, 16};
    tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiAddC_8u_C3RSfs(s, ss, v, d, ds, r, 0);
    }, 12, 12);
    tultest::ExpectRefusals([&](const Ipp8u* s, int ss, Ipp8u* d, int ds, IppiSize r) {
        return ippiAddC_8u_C3IRSfs(v, s ? d : nullptr, std::min(ss, ds), r, 0);
    }, 12, 12);
    GuardedBuffer p(64, 2);
    EXPECT_EQ(ippiAddC_8u_C3RSfs(p.data(), 12, nullptr, p.data(), 12, {4, 2}, 0), ippStsNullPtrErr);
    EXPECT_EQ(ippiAddC_8u_C3IRSfs(nullptr, p.data(), 12, {4, 2}, 0), ippStsNullPtrErr);
    EXPECT_EQ(p.Bytes(), std::vector<Ipp8u>(64, 2));
}

}  // namespace
