// The packed 4:2:2 luma rows in the conformance harness: every level
// against the scalar row (Y[x] = P[2x], which the YUY2 to 4:2:0 kernel's
// chain comparison checks in turn).
#include "platform/ipp/yuy2_luma_rows.h"
#include "tests/support/simd_conformance.h"

namespace {

struct Luma422Rows {
    using Row = tulipp::Luma422RowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> packed;
    };
    tulipp::RowSet<Row> rows = tulipp::kLuma422Rows;
    int lanes = 64;
    int variants = 1;
    // The row ends with the last pixel's luma: nothing after it is read.
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(n == 0 ? 0 : 2 * std::size_t(n) - 1, offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const { return {{1, std::size_t(n)}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.packed.data(), static_cast<Ipp8u*>(out[0]), n);
    }
};

TEST(Luma422Rows, EveryLevelMatchesScalar) { EXPECT_TRUE(tultest::RowsMatchScalar(Luma422Rows{})); }

}  // namespace
