// The sampled sums of absolute differences in the conformance harness:
// every level's sum equals the scalar row's, on both grids, for every
// length up to four vectors and a long row, reading only the row's bytes.
#include "platform/ipp/sample_sad_rows.h"
#include "tests/support/simd_conformance.h"

#include <cstring>

namespace {

template <int Apart>
struct SampleSadRows {
    using Row = tulipp::SampleSadRowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> a, b;
    };
    tulipp::RowSet<Row> rows = tulipp::kSampleSadRows<Apart>;
    int lanes = 32;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        return {tultest::RandomRowInput<Ipp8u>(n, offset, rng, 0, 255),
                tultest::RandomRowInput<Ipp8u>(n, offset, rng, 0, 255)};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int) const { return {{sizeof(std::uint64_t), 1}}; }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        const std::uint64_t sum = row(in.a.data(), in.b.data(), n);
        std::memcpy(out[0], &sum, sizeof sum);
    }
};

TEST(SampleSadRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(SampleSadRows<8>{}));
    EXPECT_TRUE(tultest::RowsMatchScalar(SampleSadRows<16>{}));
}

}  // namespace
