// Simple blends against the plain model: every format, widths 1 to 720,
// tight, padded and negative steps, buffers exactly the picture with guard
// bytes around (a chroma pitch wider than |step| / 2 would write past
// them), the weights 0 to 1, out-of-range and NaN weights, and refusals.
#include "tests/image/field/blend_model.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace {

using T = TulImage;
using tultest::GuardedBuffer;

int RowBytes(T::COLOR_FORMAT_TYPE f, int w)
{
    return f == T::COLOR_FORMAT_YUV420 ? w : f == T::COLOR_FORMAT_YUY2 ? 4 * ((w + 1) / 2)
                                       : f == T::COLOR_FORMAT_RGB24 ? 3 * w : 4 * w;
}

class SimpleBlend : public ::testing::TestWithParam<std::tuple<T::COLOR_FORMAT_TYPE, int>> {};

TEST_P(SimpleBlend, MatchesModel)
{
    const auto [f, w] = GetParam();
    for (int h : {1, 2, 5}) {
        for (int pad : {0, 6}) {
            for (int sign : {1, -1}) {
                for (float wt : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 0.3f, 1.004f, -0.5f}) {
                    const int pitch = RowBytes(f, w) + pad;
                    const std::size_t n = blendtest::BufferBytes(f, h, pitch) & 0xFFFFF;
                    GuardedBuffer src(n), dst(n);
                    tultest::FillRandom(src, 11u * w + h + pad);
                    tultest::FillRandom(dst, 17u * w + h + pad);
                    std::vector<unsigned char> expected = dst.Bytes();
                    const blendtest::Pair p = blendtest::AlphasOf(wt);
                    for (std::int64_t at : blendtest::PictureBytes(f, w, h, pitch))
                        expected[at] = blendtest::MixByte(p, src[at], dst[at]);
                    SCOPED_TRACE(::testing::Message() << "h " << h << " pad " << pad << " sign " << sign << " w "
                                                      << wt);
                    ASSERT_EQ(blendtest::Blend(f, src.data(), dst.data(), w, h, sign * pitch, wt), T::TUL_SUCCESS);
                    ASSERT_TRUE(tultest::SameBytes(expected, dst.Bytes()));
                    ASSERT_TRUE(dst.GuardsIntact());
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, SimpleBlend,
                         ::testing::Combine(::testing::Values(T::COLOR_FORMAT_YUV420, T::COLOR_FORMAT_YUY2,
                                                              T::COLOR_FORMAT_RGB24, T::COLOR_FORMAT_RGB32),
                                            ::testing::Values(1, 2, 6, 10, 17, 720)));

// NaN weights and geometry that cannot be served: 3, nothing written.
TEST(SimpleBlendRefusals, NothingWritten)
{
    GuardedBuffer src(64, 1), dst(64, 2);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto f : {T::COLOR_FORMAT_YUV420, T::COLOR_FORMAT_YUY2, T::COLOR_FORMAT_RGB24, T::COLOR_FORMAT_RGB32}) {
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 2, 2, 16, nan), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, nullptr, dst.data(), 2, 2, 16, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), nullptr, 2, 2, 16, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 0, 2, 16, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 2, 0, 16, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 2, 2, 0, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 2, 2, INT32_MIN, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 5, 2, RowBytes(f, 5) - 1, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 2, 0x40000000u, 16, 0.5f), T::TUL_INVALID_REQUEST);
        EXPECT_EQ(blendtest::Blend(f, src.data(), dst.data(), 0x80000000u, 1, INT32_MAX, 0.5f), T::TUL_INVALID_REQUEST);
    }
    EXPECT_EQ(dst.Bytes(), std::vector<unsigned char>(64, 2));
}

}  // namespace
