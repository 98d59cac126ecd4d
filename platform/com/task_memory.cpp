// The task allocator on the C heap.
#include "platform/com/task_memory.h"

#include <cstdlib>

// A request of zero bytes still yields a distinct pointer, as on Windows,
// so a caller can tell success from failure by the pointer alone.
void* CoTaskMemAlloc(std::size_t cb) noexcept
{
    return std::malloc(cb == 0 ? 1 : cb);
}

void* CoTaskMemRealloc(void* pv, std::size_t cb) noexcept
{
    return std::realloc(pv, cb == 0 ? 1 : cb);
}

void CoTaskMemFree(void* pv) noexcept
{
    std::free(pv);
}
