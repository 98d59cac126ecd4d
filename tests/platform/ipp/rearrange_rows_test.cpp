// The rearranging kernels' own rows in the conformance harness, every
// level against the scalar row: the YUY2 luma rows (whose input ends with
// the last pixel's chroma byte), the YUY2 chroma rows and the RGB repacking and integer
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

// The chroma of a YUY2 row: the input holds exactly the row's whole pairs.
struct Chroma422Rows {
    using Row = tulipp::Chroma422RowFn;
    using Inputs = tultest::RowInput<Ipp8u>;
    tulipp::RowSet<Row> rows = tulipp::kChroma422Rows;
    int lanes = 64;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return tultest::RandomRowInput<Ipp8u>(4 * std::size_t(n / 2), offset, rng, 0, 255);
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{1, std::size_t(n / 2)}, {1, std::size_t(n / 2)}};
    }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.data(), static_cast<Ipp8u*>(out[0]), static_cast<Ipp8u*>(out[1]), n);
    }
};

TEST(RearrangeRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(Chroma422Rows{}));
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
