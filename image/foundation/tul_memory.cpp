// TulMemory: one aligned heap block, and the fill and copy routines.
//
// From 128 bytes up, on a processor that claims SSE2, the aligned middle of
// a range is written with 16-byte non-temporal stores: large picture fills
// and copies then bypass the cache instead of evicting what the caller is
// working on. Below 128 bytes the alignment work would cost more than it
// saves, so short ranges go through plain 32-bit words.
#include "image/TulImage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

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

constexpr unsigned int kStreamThreshold = 128;

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
    unsigned char* d = static_cast<unsigned char*>(dest);
    const unsigned char byte = static_cast<unsigned char>(value & 0xFF);
    if (count < kStreamThreshold || !CTulCpuJudgment::IsSupportSSE2()) {
        SetWords(d, byte, count);
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

void TulMemory::ZeroClear(void* dest, unsigned int count)
{
    Set(dest, 0, count);
}

void* TulMemory::Copy(void* dest, const void* src, unsigned int count)
{
    unsigned char* d = static_cast<unsigned char*>(dest);
    const unsigned char* s = static_cast<const unsigned char*>(src);
    if (count < kStreamThreshold || BytesToBoundary(d) != BytesToBoundary(s) ||
        !CTulCpuJudgment::IsSupportSSE2()) {
        CopyWords(d, s, count);
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

void* TulMemory::Move(void* dest, const void* src, unsigned int count)
{
    return std::memmove(dest, src, count);
}
