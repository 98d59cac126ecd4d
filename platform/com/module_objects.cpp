// Live-object and lock counts; atomics because objects die on any thread.
#include "platform/com/module_objects.h"

#include <atomic>

namespace {
std::atomic<LONG> g_objects{0};
std::atomic<LONG> g_locks{0};
}  // namespace

void ModuleObjectCreated() noexcept { g_objects.fetch_add(1, std::memory_order_relaxed); }
void ModuleObjectDestroyed() noexcept { g_objects.fetch_sub(1, std::memory_order_acq_rel); }
LONG ModuleObjectCount() noexcept { return g_objects.load(std::memory_order_acquire); }

// An unlock without a matching lock is ignored rather than driving the
// count negative, which would let the module unload under a real lock.
void ModuleLockServer(bool lock) noexcept
{
    if (lock) {
        g_locks.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    LONG current = g_locks.load(std::memory_order_relaxed);
    while (current > 0 && !g_locks.compare_exchange_weak(current, current - 1, std::memory_order_acq_rel)) {
    }
}
LONG ModuleLockCount() noexcept { return g_locks.load(std::memory_order_acquire); }

bool ModuleCanUnload() noexcept { return ModuleObjectCount() == 0 && ModuleLockCount() == 0; }
