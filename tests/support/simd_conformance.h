// The CPU-masked conformance harness for row families: every level up to
// the processor's, through the family's RowSet::For, against the scalar
// reference row, on widths of 0 to 3 whole vectors plus every tail, with
// the inputs and outputs at several element offsets. Inputs sit at the very
// end of tight heap blocks (a read past them trips AddressSanitizer);
// outputs sit in guarded blocks whose bytes before and after the written
// range must stay as they were.
//
// A family joins with an adapter:
//   struct MyRows {
//       using Row = <the row's function type>;
//       tulipp::RowSet<Row> rows = kMyRows;
//       int lanes = 16;      // elements of the widest vector step
//       int variants = 1;    // input shapes to try per width
//       struct Inputs { ... };
//       Inputs Make(int n, int variant, int offset, std::mt19937& rng) const;
//       std::vector<tultest::RowOutput> Outputs(const Inputs& in, int n) const;
//       void Call(Row row, const Inputs& in, void* const* out, int n) const;
//   };
// and a test: EXPECT_TRUE(tultest::RowsMatchScalar(MyRows{}));
#pragma once

#include "platform/ipp/simd_rows.h"
#include "tests/support/picture.h"
#include "tests/support/simd_levels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <type_traits>
#include <vector>

namespace tultest {

// `count` elements at `offset` in a heap block that ends `pad` elements
// after them: exactly what a row may read, nothing more.
template <typename T>
class RowInput {
public:
    RowInput() = default;
    RowInput(std::size_t count, int offset, std::size_t pad = 0)
        : m_store(static_cast<std::size_t>(offset) + count + pad), m_offset(offset)
    {
    }
    // Every element (offset and pad included) drawn from [lo, hi], reals
    // for a floating-point row.
    RowInput& Random(std::mt19937& rng, int lo, int hi)
    {
        std::conditional_t<std::is_floating_point_v<T>, std::uniform_real_distribution<T>,
                           std::uniform_int_distribution<int>>
            d(lo, hi);
        for (T& v : m_store)
            v = static_cast<T>(d(rng));
        return *this;
    }
    T* data() { return m_store.data() + m_offset; }
    const T* data() const { return m_store.data() + m_offset; }

private:
    std::vector<T> m_store;
    int m_offset = 0;
};

template <typename T>
RowInput<T> RandomRowInput(std::size_t count, int offset, std::mt19937& rng, int lo, int hi, std::size_t pad = 0)
{
    RowInput<T> in(count, offset, pad);
    in.Random(rng, lo, hi);
    return in;
}

// One output of a row: `count` elements of `elementBytes` bytes.
struct RowOutput {
    std::size_t elementBytes;
    std::size_t count;
};

namespace detail {

constexpr unsigned char kUnwritten = 0xC3;
constexpr std::size_t kAfterBytes = 32;

// An output at `offset` elements into a guarded block, with kAfterBytes
// more after it; everything but the written range keeps kUnwritten.
class RowOutputBlock {
public:
    RowOutputBlock(const RowOutput& shape, int offset)
        : m_first(static_cast<std::size_t>(offset) * shape.elementBytes), m_bytes(shape.count * shape.elementBytes),
          m_block(m_first + m_bytes + kAfterBytes, kUnwritten)
    {
    }
    void* data() { return m_block.data() + m_first; }
    std::vector<unsigned char> Written() const
    {
        return {m_block.data() + m_first, m_block.data() + m_first + m_bytes};
    }
    bool OutsideIntact() const
    {
        if (!m_block.GuardsIntact())
            return false;
        for (std::size_t i = 0; i < m_block.size(); ++i)
            if ((i < m_first || i >= m_first + m_bytes) && m_block[i] != kUnwritten)
                return false;
        return true;
    }

private:
    std::size_t m_first, m_bytes;
    GuardedBuffer m_block;
};

template <typename A>
std::vector<RowOutputBlock> CallInto(const A& a, typename A::Row row, const typename A::Inputs& in, int n, int offset)
{
    std::vector<RowOutputBlock> blocks;
    std::vector<void*> out;
    for (const RowOutput& shape : a.Outputs(in, n))
        blocks.emplace_back(shape, offset);
    for (auto& b : blocks)
        out.push_back(b.data());
    a.Call(row, in, out.data(), n);
    return blocks;
}

}  // namespace detail

// Every vector row of the adapter's family gives the scalar row's bytes and
// writes nothing else.
template <typename A>
::testing::AssertionResult RowsMatchScalar(const A& a, std::uint32_t seed = 1)
{
    // Widths of 0..3 whole vectors plus every tail, then one long row.
    std::vector<int> widths;
    for (int n = 0; n < 4 * a.lanes; ++n)
        widths.push_back(n);
    widths.push_back(16 * a.lanes + a.lanes - 1);
    typename A::Row below = a.rows.scalar;
    for (tulipp::SimdLevel level : AvailableSimdLevels()) {
        const typename A::Row row = a.rows.For(level);
        // A level without a row of its own runs the one below, tested there.
        if (row == below)
            continue;
        below = row;
        for (int n : widths) {
            for (int variant = 0; variant < a.variants; ++variant) {
                for (int offset = 0; offset < 4; ++offset) {
                    std::mt19937 rng(seed + 7919u * static_cast<std::uint32_t>(n) + 131u * variant + offset);
                    const typename A::Inputs in = a.Make(n, variant, offset, rng);
                    // Outputs start at other offsets than the inputs.
                    const int outOffset = 3 - offset;
                    const auto expected = detail::CallInto(a, a.rows.scalar, in, n, outOffset);
                    const auto actual = detail::CallInto(a, row, in, n, outOffset);
                    for (std::size_t o = 0; o < expected.size(); ++o) {
                        const auto where = [&] {
                            return ::testing::Message() << SimdLevelName(level) << " width " << n << " variant "
                                                        << variant << " offset " << offset << " output " << o;
                        };
                        if (!expected[o].OutsideIntact() || !actual[o].OutsideIntact())
                            return ::testing::AssertionFailure() << where() << ": wrote outside its range";
                        const auto same = SameBytes(expected[o].Written(), actual[o].Written());
                        if (!same)
                            return ::testing::AssertionFailure() << where() << ": " << same.message();
                    }
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace tultest
