// TulMemory: one aligned heap block, and the fill and copy routines.
//
// Below 128 bytes, or on a processor that does not claim SSE2, Set and Copy
// go through plain 32-bit words: the alignment work would cost more than it
// saves. From 128 bytes up they choose between ordinary stores and 16-byte
// non-temporal stores by size (see StreamingFrom). Which one runs changes
// only speed, never the bytes written.
#include "image/TulImage.h"
#include "image/foundation/memory_stores.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include <emmintrin.h>

namespace {

bool IsPowerOfTwo(unsigned int v) { return v != 0 && (v & (v - 1)) == 0; }

void* AlignedAllocate(unsigned int size, unsigned int alignment)
{
    if (!IsPowerOfTwo(alignment))
        return nullptr;
    std::size_t align = alignment < sizeof(void*) ? sizeof(void*) : alignment;
    void* p = nullptr;
    if (posix_memalign(&p, align, size == 0 ? 1 : size) != 0)
        return nullptr;
    return p;
}

constexpr unsigned int kWordsBelow = 128;

// The largest cache the kernel lists for processor 0, in bytes; 0 if it
// lists none. The kernel's figure is preferred to the C library's, which on
// some virtual machines reports the host's whole cache (256 MiB for 32).
unsigned long long LargestListedCache()
{
    unsigned long long largest = 0;
    for (int index = 0; index < 16; ++index) {
        char path[64];
        std::snprintf(path, sizeof path, "/sys/devices/system/cpu/cpu0/cache/index%d/size", index);
        std::FILE* f = std::fopen(path, "r");
        if (f == nullptr)
            break;
        unsigned long long amount = 0;
        char unit = 0;
        const int got = std::fscanf(f, "%llu%c", &amount, &unit);
        std::fclose(f);
        const int shift = unit == 'K' ? 10 : unit == 'M' ? 20 : unit == 'G' ? 30 : 0;
        if (got >= 1 && amount < (1ull << 32) && (amount << shift) > largest)
            largest = amount << shift;
    }
    const int levels[] = {_SC_LEVEL2_CACHE_SIZE, _SC_LEVEL3_CACHE_SIZE, _SC_LEVEL4_CACHE_SIZE};
    for (int name : levels) {
        const long bytes = largest == 0 ? sysconf(name) : 0;
        if (bytes > 0 && static_cast<unsigned long long>(bytes) > largest)
            largest = static_cast<unsigned long long>(bytes);
    }
    return largest;
}

// Non-temporal stores bypass the cache: they pay when the range is larger
// than the last-level cache, which it would flush anyway, and cost two to
// four times an ordinary fill when it fits (measured at 4 KiB and 1 MiB;
// the caller, typically a kernel about to read the destination, would also
// fetch it from memory again). So they start at the largest cache; when
// nothing reports one, 8 MiB stands in, the last-level size of common
// desktop processors.
unsigned int StreamingFrom()
{
    const unsigned long long largest = LargestListedCache();
    if (largest == 0)
        return 8u << 20;
    return largest > 0x80000000ull ? 0x80000000u : static_cast<unsigned int>(largest);
}

// Words of the replicated byte, then the remaining bytes.
void SetWords(unsigned char* d, unsigned char value, unsigned int count)
{
    const std::uint32_t word = 0x01010101u * value;
    const unsigned int words = count / 4;
    for (unsigned int i = 0; i < words; ++i)
        std::memcpy(d + 4 * i, &word, 4);
    for (unsigned int i = words * 4; i < count; ++i)
        d[i] = value;
}

void CopyWords(unsigned char* d, const unsigned char* s, unsigned int count)
{
    const unsigned int words = count / 4;
    for (unsigned int i = 0; i < words; ++i) {
        std::uint32_t w;
        std::memcpy(&w, s + 4 * i, 4);
        std::memcpy(d + 4 * i, &w, 4);
    }
    for (unsigned int i = words * 4; i < count; ++i)
        d[i] = s[i];
}

unsigned int BytesToBoundary(const void* p)
{
    return static_cast<unsigned int>((16 - (reinterpret_cast<std::uintptr_t>(p) & 15)) & 15);
}

}  // namespace

TulMemory::TulMemory() : buffer(nullptr), size(0), alignment(0) {}

TulMemory::~TulMemory()
{
    std::free(buffer);
}

void* TulMemory::Initialize(unsigned int newSize, unsigned int newAlignment)
{
    if (buffer != nullptr && newSize == size && newAlignment == alignment)
        return buffer;

    void* fresh = AlignedAllocate(newSize, newAlignment);
    if (buffer != nullptr && fresh != nullptr && newAlignment == alignment) {
        // A reallocation keeps the contents up to the smaller size.
        std::memcpy(fresh, buffer, newSize < size ? newSize : size);
    }
    std::free(buffer);
    if (fresh == nullptr) {
        // Never keep a size for a block we do not hold: Clear() would
        // otherwise fill memory that is not ours.
        buffer = nullptr;
        size = 0;
        alignment = 0;
        return nullptr;
    }
    buffer = fresh;
    size = newSize;
    alignment = newAlignment;
    return buffer;
}

void TulMemory::UnInitialize()
{
    std::free(buffer);
    buffer = nullptr;
    size = 0;
    alignment = 0;
}

void* TulMemory::GetBuffer() { return buffer; }
unsigned int TulMemory::GetSize() { return size; }
unsigned int TulMemory::GetAlignment() { return alignment; }

void TulMemory::Clear()
{
    if (buffer != nullptr)
        Set(buffer, 0, size);
}

void* TulMemory::Set(void* dest, int value, unsigned int count)
{
    return tul::memory::SetWith(tul::memory::ProcessStoreChoice(), dest, value, count);
}

void TulMemory::ZeroClear(void* dest, unsigned int count)
{
    Set(dest, 0, count);
}

void* TulMemory::Copy(void* dest, const void* src, unsigned int count)
{
    return tul::memory::CopyWith(tul::memory::ProcessStoreChoice(), dest, src, count);
}

void* TulMemory::Move(void* dest, const void* src, unsigned int count)
{
    return std::memmove(dest, src, count);
}

namespace tul::memory {

const StoreChoice& ProcessStoreChoice()
{
    // CPUID is a trap to the hypervisor on a virtual machine (10 to 14 us a
    // call), more than a 1 MiB fill takes; the processor does not change
    // under a running process, so its answer is asked once.
    static const StoreChoice choice{CTulCpuJudgment::IsSupportSSE2(), StreamingFrom()};
    return choice;
}

void* SetWith(const StoreChoice& choice, void* dest, int value, unsigned int count)
{
    unsigned char* d = static_cast<unsigned char*>(dest);
    const unsigned char byte = static_cast<unsigned char>(value & 0xFF);
    if (count < kWordsBelow || !choice.sse2) {
        SetWords(d, byte, count);
        return dest;
    }
    if (count < choice.streamFrom) {
        std::memset(d, byte, count);
        return dest;
    }
    const unsigned int head = BytesToBoundary(d);
    SetWords(d, byte, head);
    const unsigned int blocks = (count - head) / 16;
    const __m128i pattern = _mm_set1_epi8(static_cast<char>(byte));
    unsigned char* middle = d + head;
    for (unsigned int i = 0; i < blocks; ++i)
        _mm_stream_si128(reinterpret_cast<__m128i*>(middle + 16 * i), pattern);
    _mm_sfence();
    const unsigned int done = head + blocks * 16;
    SetWords(d + done, byte, count - done);
    return dest;
}

void* CopyWith(const StoreChoice& choice, void* dest, const void* src, unsigned int count)
{
    unsigned char* d = static_cast<unsigned char*>(dest);
    const unsigned char* s = static_cast<const unsigned char*>(src);
    if (count < kWordsBelow || BytesToBoundary(d) != BytesToBoundary(s) || !choice.sse2) {
        CopyWords(d, s, count);
        return dest;
    }
    if (count < choice.streamFrom) {
        std::memcpy(d, s, count);
        return dest;
    }
    const unsigned int head = BytesToBoundary(d);
    for (unsigned int i = 0; i < head; ++i)
        d[i] = s[i];
    const unsigned int blocks = (count - head) / 16;
    for (unsigned int i = 0; i < blocks; ++i) {
        const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(s + head + 16 * i));
        _mm_stream_si128(reinterpret_cast<__m128i*>(d + head + 16 * i), v);
    }
    _mm_sfence();
    for (unsigned int i = head + blocks * 16; i < count; ++i)
        d[i] = s[i];
    return dest;
}

}  // namespace tul::memory
