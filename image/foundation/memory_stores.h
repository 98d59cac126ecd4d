// How TulMemory::Set and Copy store: the processor facts they depend on,
// asked once per process, and the routines written against an explicit
// choice so tests can run every store method at any size.
#pragma once

namespace tul::memory {

struct StoreChoice {
    bool sse2;                // the processor claims SSE2
    unsigned int streamFrom;  // counts from here up use non-temporal stores
};

// Asked of the processor on first use and kept for the life of the process
// (a function-local static, so concurrent first calls are safe).
const StoreChoice& ProcessStoreChoice();

void* SetWith(const StoreChoice& choice, void* dest, int value, unsigned int count);
void* CopyWith(const StoreChoice& choice, void* dest, const void* src, unsigned int count);

}  // namespace tul::memory
