// The vector rows of YUY2 and 4:2:0 to BGR24/BGR32 against the scalar rows:
// the conformance harness for widths, tails, odd widths and offsets, and
// every (Y, Cb, Cr) once through each level's arithmetic.
#include "platform/ipp/to_rgb_rows.h"
#include "tests/support/one_row_family.h"

#include <gtest/gtest.h>

namespace {

// A lone last pixel's YUY2 group is whole in memory (4 bytes).
tultest::OneRowFamily<tulipp::Yuy2ToBgrRowFn> Yuy2Rows(tulipp::RowSet<tulipp::Yuy2ToBgrRowFn> rows, int pixel)
{
    return {rows, 4, pixel, 2, 1};
}

// Two luma rows over one chroma row each.
struct I420Rows {
    using Row = tulipp::I420ToBgrRowFn;
    struct Inputs {
        tultest::RowInput<Ipp8u> y0, y1, u, v;
    };
    tulipp::RowSet<Row> rows;
    int pixel;
    int lanes = 16;
    int variants = 1;
    Inputs Make(int n, int, int offset, std::mt19937& rng) const
    {
        const auto half = [&] { return tultest::RandomRowInput<Ipp8u>(std::max(n / 2, 1), offset, rng, 0, 255); };
        return {tultest::RandomRowInput<Ipp8u>(n, offset, rng, 0, 255),
                tultest::RandomRowInput<Ipp8u>(n, offset, rng, 0, 255), half(), half()};
    }
    std::vector<tultest::RowOutput> Outputs(const Inputs&, int n) const
    {
        return {{std::size_t(pixel), std::size_t(n)}, {std::size_t(pixel), std::size_t(n)}};
    }
    void Call(Row row, const Inputs& in, void* const* out, int n) const
    {
        row(in.y0.data(), in.y1.data(), in.u.data(), in.v.data(), static_cast<Ipp8u*>(out[0]),
            static_cast<Ipp8u*>(out[1]), n);
    }
};

TEST(ToRgbRows, EveryLevelMatchesScalar)
{
    EXPECT_TRUE(tultest::RowsMatchScalar(Yuy2Rows(tulipp::kYuy2ToBgr24Rows, 3)));
    EXPECT_TRUE(tultest::RowsMatchScalar(Yuy2Rows(tulipp::kYuy2ToBgr32Rows, 4)));
    EXPECT_TRUE(tultest::RowsMatchScalar(I420Rows{tulipp::kI420ToBgr24Rows, 3}));
    EXPECT_TRUE(tultest::RowsMatchScalar(I420Rows{tulipp::kI420ToBgr32Rows, 4}));
}

// All 2^24 inputs: per Cb, one packed row of every Cr with every Y (pairs
// 2k, 2k + 1). Every lane does the same arithmetic, so this checks the
// single-precision rounding argument for each input.
TEST(ToRgbRows, EveryInputMatchesScalar)
{
    constexpr int kWidth = 256 * 256;
    std::vector<Ipp8u> packed(2 * kWidth), want(4 * kWidth), got(4 * kWidth);
    for (int cb = 0; cb < 256; ++cb) {
        for (int i = 0; i < 2 * kWidth; ++i)
            packed[i] = static_cast<Ipp8u>(i % 2 == 0 ? i / 2 : i % 4 == 1 ? cb : i / 512);
        tulipp::Yuy2ToBgr32RowScalar(packed.data(), want.data(), kWidth);
        for (tulipp::SimdLevel level : tultest::AvailableSimdLevels()) {
            const tulipp::Yuy2ToBgrRowFn row = tulipp::kYuy2ToBgr32Rows.For(level);
            if (row == tulipp::kYuy2ToBgr32Rows.scalar)
                continue;
            row(packed.data(), got.data(), kWidth);
            ASSERT_TRUE(tultest::SameBytes(want, got)) << tultest::SimdLevelName(level) << " Cb " << cb;
        }
    }
}

}  // namespace
