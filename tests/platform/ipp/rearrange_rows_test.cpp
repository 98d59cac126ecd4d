// The rearranging kernels' own rows in the conformance harness, every
// level against the scalar row: the YUY2 luma rows (whose input ends with
// the last pixel's chroma byte) and the RGB repacking and integer
// rescaling rows of each combination the kernels use.
#include "platform/ipp/rgb_repack_rows.h"
#include "platform/ipp/yuy2_luma_rows.h"
#include "tests/support/one_row_family.h"

namespace {

using tulipp::RgbMap;

template <int S, int D, RgbMap M, bool C = false>
tultest::OneRowFamily<tulipp::RgbRowFn> Rgb()
{
    return {tulipp::kRgbRows<S, D, M, C>, S, D, 1, 1, 8};
}

TEST(RearrangeRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(tultest::OneRowFamily<tulipp::Luma422RowFn>{tulipp::kLuma422Rows, 2, 1, 1, 1, 64}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 3, RgbMap::Keep>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<3, 4, RgbMap::Keep>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<3, 4, RgbMap::ToShifted>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 3, RgbMap::ToShifted>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 4, RgbMap::ToShifted, true>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<3, 4, RgbMap::ToPlain>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 4, RgbMap::ToPlain, true>()));
}

}  // namespace
