// Counts the global operator new calls of a test program, so a test can
// show that a stretch of code allocates nothing:
//     const auto before = tultest::AllocationCount();
//     ...run...
//     EXPECT_EQ(tultest::AllocationCount(), before);
// Exactly one .cpp of the program defines the counting operators by
// including this header after `#define TUL_DEFINE_ALLOCATION_COUNTER`.
// They allocate with malloc, so the sanitizer builds still see every block.
#pragma once

#include <cstddef>

namespace tultest {

// Global operator new calls (plain, array, aligned, nothrow) so far.
std::size_t AllocationCount();

}  // namespace tultest

#ifdef TUL_DEFINE_ALLOCATION_COUNTER

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_allocations{0};

void* CountedAlloc(std::size_t n, std::size_t align)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (n == 0)
        n = 1;
    void* p = align <= alignof(std::max_align_t) ? std::malloc(n)
                                                 : std::aligned_alloc(align, (n + align - 1) / align * align);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void* CountedAllocOrNull(std::size_t n, std::size_t align) noexcept
{
    try {
        return CountedAlloc(n, align);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

std::size_t tultest::AllocationCount() { return g_allocations.load(std::memory_order_relaxed); }

// Every form is replaced, nothrow ones included: a sanitizer runtime
// supplies the forms a program leaves out, and its blocks must not reach
// the free() below.
void* operator new(std::size_t n) { return CountedAlloc(n, 0); }
void* operator new[](std::size_t n) { return CountedAlloc(n, 0); }
void* operator new(std::size_t n, std::align_val_t a) { return CountedAlloc(n, static_cast<std::size_t>(a)); }
void* operator new[](std::size_t n, std::align_val_t a) { return CountedAlloc(n, static_cast<std::size_t>(a)); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return CountedAllocOrNull(n, 0); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return CountedAllocOrNull(n, 0); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return CountedAllocOrNull(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept
{
    return CountedAllocOrNull(n, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

#endif
