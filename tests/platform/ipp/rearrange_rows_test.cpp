// The rearranging kernels' own rows in the conformance harness, every
// level against the scalar row: the YUY2 luma rows (whose input ends with
// the last pixel's chroma byte) and the RGB repacking and integer
// rescaling rows of each combination the kernels use.
#include "platform/ipp/rgb_repack_rows.h"
#include "platform/ipp/yuy2_luma_rows.h"
#include "tests/support/simd_conformance.h"

namespace {

using tulipp::RgbMap;

// Rows of one input of InBytes a pixel into one output of OutBytes a pixel.
template <typename Fn, int InBytes, int OutBytes>
struct OneRow {
    using Row = Fn;
    struct Inputs {
        tultest::RowInput<Ipp8u> in;
    };
    tulipp::RowSet<Row> rows;
    int lanes = 8;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(InBytes * std::size_t(n), offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const { return {{OutBytes, std::size_t(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.in.data(), static_cast<Ipp8u*>(out[0]), n);
    }
};

template <int S, int D, RgbMap M, bool C = false>
OneRow<tulipp::RgbRowFn, S, D> Rgb()
{
    return {tulipp::kRgbRows<S, D, M, C>};
}

TEST(RearrangeRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(OneRow<tulipp::Luma422RowFn, 2, 1>{tulipp::kLuma422Rows, 64}));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 3, RgbMap::Keep>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<3, 4, RgbMap::Keep>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<3, 4, RgbMap::ToShifted>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 3, RgbMap::ToShifted>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 4, RgbMap::ToShifted, true>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<3, 4, RgbMap::ToPlain>()));
    EXPECT_TRUE(tultest::RowsMatchScalar(Rgb<4, 4, RgbMap::ToPlain, true>()));
}

}  // namespace
