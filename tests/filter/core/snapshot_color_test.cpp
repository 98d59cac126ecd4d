// YUY2 to bottom-up BGR24 for snapshots.
#include "filter/core/snapshot_color.h"
#include "platform/com/hresult.h"
#include "tests/support/picture.h"

#include <cmath>
#include <tuple>
#include <vector>

namespace {

// The fixed-point factors with floor division in doubles (exact for these
// magnitudes) and a clamp.
unsigned char Channel(int y, double chroma)
{
    const double v = std::floor((32768.0 * y + chroma) / 32768.0);
    return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

void ModelPixel(int y, int u, int v, unsigned char* bgr)
{
    const int d = u - 128, e = v - 128;
    bgr[0] = Channel(y, 58064.0 * d);
    bgr[1] = Channel(y, -11272.0 * d - 23396.0 * e);
    bgr[2] = Channel(y, 45940.0 * e);
}

// Negative sums round toward minus infinity before the clamp: Y 1, U 127
// gives blue (32768 - 58064) >> 15 = -1 -> 0; Y 1, V 129 gives green
// (32768 - 23396) >> 15 = 0, and Y 0 gives -1 -> 0.
TEST(Yuy2ToBgr24, EveryChromaPairMatchesTheModel)
{
    // One line per (U, V): 128 pairs sweep Y0 up and Y1 down.
    const int pairs = 128;
    std::vector<unsigned char> src(pairs * 4), dst(pairs * 6);
    for (int u = 0; u < 256; ++u) {
        for (int v = 0; v < 256; ++v) {
            for (int p = 0; p < pairs; ++p) {
                src[p * 4 + 0] = static_cast<unsigned char>(2 * p);
                src[p * 4 + 1] = static_cast<unsigned char>(u);
                src[p * 4 + 2] = static_cast<unsigned char>(255 - 2 * p);
                src[p * 4 + 3] = static_cast<unsigned char>(v);
            }
            ASSERT_EQ(Yuy2ToBgr24BottomUp(dst.data(), src.data(), pairs * 2, 1), S_OK);
            for (int p = 0; p < pairs; ++p) {
                unsigned char want[6];
                ModelPixel(2 * p, u, v, want);
                ModelPixel(255 - 2 * p, u, v, want + 3);
                for (int b = 0; b < 6; ++b)
                    ASSERT_EQ(dst[p * 6 + b], want[b]) << "U " << u << " V " << v << " pair " << p;
            }
        }
    }
}

using Geometry = std::tuple<int /*width*/, int /*height*/>;

class Yuy2ToBgr24Pictures : public ::testing::TestWithParam<Geometry> {};

TEST_P(Yuy2ToBgr24Pictures, WritesLinesBottomUpWithinTheirBytes)
{
    const auto [width, height] = GetParam();
    const std::size_t srcLine = static_cast<std::size_t>(width) * 2;
    const std::size_t dstLine = static_cast<std::size_t>(width) * 3;
    tultest::GuardedBuffer src(srcLine * height);
    tultest::FillRandom(src, 400u + width + height * 3);
    tultest::GuardedBuffer dst(dstLine * height, 0xEE);
    ASSERT_EQ(Yuy2ToBgr24BottomUp(dst.data(), src.data(), width, height), S_OK);
    EXPECT_TRUE(dst.GuardsIntact());

    std::vector<unsigned char> expected(dstLine * height, 0xEE);
    for (int r = 0; r < height; ++r) {
        const unsigned char* s = src.data() + r * srcLine;
        unsigned char* d = expected.data() + (height - 1 - r) * dstLine;
        for (int p = 0; p < width / 2; ++p) {
            ModelPixel(s[4 * p], s[4 * p + 1], s[4 * p + 3], d + 6 * p);
            ModelPixel(s[4 * p + 2], s[4 * p + 1], s[4 * p + 3], d + 6 * p + 3);
        }
    }
    // An odd width's last pixel has no whole pair and stays as it was.
    EXPECT_TRUE(tultest::SameRows(expected.data(), static_cast<int>(dstLine), dst.data(),
                                  static_cast<int>(dstLine), static_cast<int>(dstLine), height));
}

INSTANTIATE_TEST_SUITE_P(Sizes, Yuy2ToBgr24Pictures,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5, 16, 17, 320, 721),
                                            ::testing::Values(1, 2, 3, 240)));

// Null pictures, negative widths and pictures whose bytes pass 32 bits
// (40000 x 40000 x 3) are refused, empty ones succeed; neither writes.
TEST(Yuy2ToBgr24, BadAndEmptyPicturesWriteNothing)
{
    struct Case {
        bool nullDst, nullSrc;
        int width, height;
        HRESULT expected;
    };
    tultest::GuardedBuffer src(16, 0x80), dst(24, 0xEE);
    for (const Case& c : {Case{true, false, 2, 1, E_FAIL}, Case{false, true, 2, 1, E_FAIL},
                          Case{true, true, 0, 0, E_FAIL}, Case{false, false, -2, 2, E_FAIL},
                          Case{false, false, INT32_MIN, 2, E_FAIL}, Case{false, false, 40000, 40000, E_FAIL},
                          Case{false, false, INT32_MAX, INT32_MAX, E_FAIL}, Case{false, false, 2, 0, S_OK},
                          Case{false, false, 2, -1, S_OK}, Case{false, false, 2, INT32_MIN, S_OK},
                          Case{false, false, 0, 2, S_OK}, Case{false, false, 0, 0, S_OK}}) {
        EXPECT_EQ(Yuy2ToBgr24BottomUp(c.nullDst ? nullptr : dst.data(), c.nullSrc ? nullptr : src.data(), c.width,
                                      c.height),
                  c.expected)
            << c.width << " x " << c.height;
    }
    EXPECT_TRUE(tultest::SameBytes(std::vector<unsigned char>(24, 0xEE), dst.Bytes()));
    EXPECT_TRUE(dst.GuardsIntact());
}

}  // namespace
