// TulMemory: the block's lifecycle rules and the fill and copy routines on
// every alignment around the 128-byte switch, by every store method.
#include "image/TulImage.h"
#include "image/foundation/memory_stores.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

bool AlignedTo(const void* p, unsigned int a)
{
    return (reinterpret_cast<std::uintptr_t>(p) % a) == 0;
}

// One block through its life: empty at first (releasing and clearing it
// harmless); the same request keeps the block and a new size keeps the
// contents up to the smaller size; a new alignment gives a fresh aligned
// block; Clear zeroes all of it; a refused request leaves it empty.
TEST(TulMemoryBlock, Lifecycle)
{
    TulMemory m;
    EXPECT_EQ(m.GetBuffer(), nullptr);
    EXPECT_EQ(m.GetSize(), 0u);
    EXPECT_EQ(m.GetAlignment(), 0u);
    m.UnInitialize();
    m.UnInitialize();
    m.Clear();  // nothing held, nothing to clear
    EXPECT_EQ(m.GetBuffer(), nullptr);

    auto* p = static_cast<unsigned char*>(m.Initialize(100, 16));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 100; ++i)
        p[i] = static_cast<unsigned char>(i);
    EXPECT_EQ(m.Initialize(100, 16), p);
    for (unsigned int size : {200u, 50u}) {
        auto* q = static_cast<unsigned char*>(m.Initialize(size, 16));
        ASSERT_NE(q, nullptr);
        EXPECT_TRUE(AlignedTo(q, 16));
        EXPECT_EQ(m.GetSize(), size);
        for (unsigned int i = 0; i < std::min(size, 100u); ++i)
            ASSERT_EQ(q[i], i) << size;
    }

    ASSERT_TRUE(AlignedTo(m.Initialize(50, 32), 32));  // the same size, aligned anew
    EXPECT_EQ(m.GetAlignment(), 32u);
    p = static_cast<unsigned char*>(m.Initialize(1000, 4096));
    ASSERT_TRUE(AlignedTo(p, 4096));
    std::memset(p, 0xFF, 1000);
    m.Clear();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(p[i], 0) << i;

    // Not a power of two: the aligned allocator refuses it.
    EXPECT_EQ(m.Initialize(64, 24), nullptr);
    EXPECT_EQ(m.GetBuffer(), nullptr);
    EXPECT_EQ(m.GetSize(), 0u);
    m.Clear();  // must not touch memory it does not hold
}

// Counts around the 128-byte switch (none at all included), at every start address modulo 16, by
// the process's own choice and by each store method forced at any size.
struct StoreMethod {
    const char* name;
    bool process;  // through TulMemory itself
    tul::memory::StoreChoice choice;
};

const StoreMethod kMethods[] = {
    {"Process", true, {}},
    {"Streaming", false, {true, 0u}},
    {"Ordinary", false, {true, 0xFFFFFFFFu}},
    {"NoSse2", false, {false, 0u}},
};

class MemoryRoutineSweep : public ::testing::TestWithParam<std::tuple<StoreMethod, unsigned int>> {
protected:
    const StoreMethod& Method() const { return std::get<0>(GetParam()); }
    unsigned int Count() const { return std::get<1>(GetParam()); }
    void* Set(void* d, int value) const
    {
        return Method().process ? TulMemory::Set(d, value, Count())
                                : tul::memory::SetWith(Method().choice, d, value, Count());
    }
    void* Copy(void* d, const void* s) const
    {
        return Method().process ? TulMemory::Copy(d, s, Count())
                                : tul::memory::CopyWith(Method().choice, d, s, Count());
    }
};

TEST_P(MemoryRoutineSweep, SetFillsExactlyTheRangeWithTheLowByte)
{
    const unsigned int count = Count();
    for (unsigned int offset = 0; offset < 16; ++offset) {
        tultest::GuardedBuffer b(count + 32, 0xEE);
        unsigned char* d = b.data() + offset;
        EXPECT_EQ(Set(d, 0x1234AB), d);
        std::vector<unsigned char> expected(b.size(), 0xEE);
        std::fill_n(expected.begin() + offset, count, 0xAB);
        ASSERT_TRUE(tultest::SameBytes(expected, b.Bytes())) << "offset " << offset;
        ASSERT_TRUE(b.GuardsIntact());
    }
}

TEST_P(MemoryRoutineSweep, CopyMatchesTheSourceForEveryRelativeAlignment)
{
    const unsigned int count = Count();
    tultest::GuardedBuffer src(count + 32);
    tultest::FillRandom(src, count);
    for (unsigned int so = 0; so < 16; so += 3) {
        for (unsigned int d0 = 0; d0 < 16; ++d0) {
            tultest::GuardedBuffer dst(count + 32, 0xEE);
            unsigned char* d = dst.data() + d0;
            EXPECT_EQ(Copy(d, src.data() + so), d);
            std::vector<unsigned char> expected(dst.size(), 0xEE);
            std::copy_n(src.data() + so, count, expected.begin() + d0);
            ASSERT_TRUE(tultest::SameBytes(expected, dst.Bytes())) << "src " << so << " dst " << d0;
            ASSERT_TRUE(dst.GuardsIntact());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AroundTheThreshold, MemoryRoutineSweep,
                         ::testing::Combine(::testing::ValuesIn(kMethods),
                                            ::testing::Values(0u, 1u, 3u, 4u, 15u, 16u, 17u, 127u, 128u,
                                                              129u, 143u, 1000u, 4099u)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::to_string(std::get<1>(info.param));
                         });

// Move shifts overlapping bytes either way; ZeroClear is a Set of zero
// over exactly its range.
TEST(TulMemoryRoutines, MoveHandlesOverlapBothWaysAndZeroClearZeroes)
{
    for (int shift : {10, -10}) {
        tultest::GuardedBuffer b(300);
        tultest::FillRandom(b, 3);
        std::vector<unsigned char> expected = b.Bytes();
        std::memmove(expected.data() + 20 + shift, expected.data() + 20, 200);
        TulMemory::Move(b.data() + 20 + shift, b.data() + 20, 200);
        EXPECT_TRUE(tultest::SameBytes(expected, b.Bytes())) << shift;
    }
    tultest::GuardedBuffer b(500, 0xEE);
    TulMemory::ZeroClear(b.data() + 3, 490);
    std::vector<unsigned char> expected(500, 0xEE);
    std::fill_n(expected.begin() + 3, 490, 0);
    EXPECT_TRUE(tultest::SameBytes(expected, b.Bytes()));
}

}  // namespace
