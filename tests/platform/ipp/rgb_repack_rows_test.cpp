// The RGB repacking and integer rescaling rows in the conformance harness:
// every level against the scalar row, for each combination the kernels use
// (the kernels' byte-value tables check the scalar rows in turn).
#include "platform/ipp/rgb_repack_rows.h"
#include "tests/support/simd_conformance.h"

namespace {

using tulipp::RgbMap;

template <int SrcBytes, int DstBytes, RgbMap Map, bool CopyFourth = false>
struct RgbRows {
    using Row = tulipp::RgbRowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> src;
    };
    tulipp::RowSet<Row> rows = tulipp::kRgbRows<SrcBytes, DstBytes, Map, CopyFourth>;
    int lanes = 8;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(SrcBytes * std::size_t(n), offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const { return {{DstBytes, std::size_t(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.src.data(), static_cast<Ipp8u*>(out[0]), n);
    }
};

TEST(RgbRepackRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<4, 3, RgbMap::Keep>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<3, 4, RgbMap::Keep>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<3, 4, RgbMap::ToShifted>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<4, 3, RgbMap::ToShifted>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<4, 4, RgbMap::ToShifted, true>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<3, 4, RgbMap::ToPlain>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(RgbRows<4, 4, RgbMap::ToPlain, true>{}));
}

}  // namespace
