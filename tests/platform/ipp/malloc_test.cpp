// ippiMalloc_* / ippiFree: alignment, step rule, usable size, and refusal
// of bad or overflowing sizes without touching the step.
#include "platform/ipp/ippi.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

namespace {

struct Allocator {
    std::string name;
    int bytesPerPixel;
    std::function<void*(int, int, int*)> allocate;
};

const Allocator kAllocators[] = {
    {"8u_C1", 1, [](int w, int h, int* s) -> void* { return ippiMalloc_8u_C1(w, h, s); }},
    {"8u_C3", 3, [](int w, int h, int* s) -> void* { return ippiMalloc_8u_C3(w, h, s); }},
    {"8u_AC4", 4, [](int w, int h, int* s) -> void* { return ippiMalloc_8u_AC4(w, h, s); }},
    {"32f_C1", 4, [](int w, int h, int* s) -> void* { return ippiMalloc_32f_C1(w, h, s); }},
    {"32f_C3", 12, [](int w, int h, int* s) -> void* { return ippiMalloc_32f_C3(w, h, s); }},
};

class Malloc : public ::testing::TestWithParam<Allocator> {};

TEST_P(Malloc, AlignedRowsOfRoundedStep)
{
    const Allocator& a = GetParam();
    for (int w : {1, 2, 3, 15, 16, 17, 63, 64, 65, 720, 1921}) {
        for (int h : {1, 2, 7}) {
            int step = -1;
            auto* p = static_cast<unsigned char*>(a.allocate(w, h, &step));
            ASSERT_NE(p, nullptr) << w << "x" << h;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 64, 0u);
            const int rowBytes = w * a.bytesPerPixel;
            EXPECT_EQ(step, (rowBytes + 63) / 64 * 64) << w;
            // The whole block is usable (the sanitizer build checks the bound).
            std::memset(p, 0x3C, static_cast<std::size_t>(step) * h);
            ippiFree(p);
        }
    }
}

TEST_P(Malloc, RefusesBadArgumentsAndLeavesStep)
{
    const Allocator& a = GetParam();
    // The row itself overflows int, or (one byte per pixel) its rounding up does.
    const int huge = a.bytesPerPixel == 1 ? INT_MAX - 10 : INT_MAX / a.bytesPerPixel + 1;
    struct Case {
        int w, h;
    };
    for (Case c : {Case{0, 1}, Case{1, 0}, Case{-1, 5}, Case{5, -1}, Case{INT_MIN, 1}, Case{huge, 1},
                   Case{INT_MAX, INT_MAX}, Case{64, INT_MAX / 64 + 1}, Case{4096, 1 << 20}}) {
        int step = 12345;
        EXPECT_EQ(a.allocate(c.w, c.h, &step), nullptr) << c.w << "x" << c.h;
        EXPECT_EQ(step, 12345) << c.w << "x" << c.h;
    }
    EXPECT_EQ(a.allocate(16, 16, nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(All, Malloc, ::testing::ValuesIn(kAllocators),
                         [](const auto& info) { return info.param.name; });

}  // namespace
