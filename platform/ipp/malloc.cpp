// Aligned picture blocks: ippiMalloc_* and ippiFree.
//
// Every block starts on a 64-byte boundary and every row is padded to a
// multiple of 64 bytes, which satisfies both the 32-byte alignment of older
// IPP releases and the 64-byte alignment of current ones. The step and the
// whole block must fit in an int: callers compute row offsets and block
// sizes in 32-bit arithmetic, as 32-bit callers do.
#include "platform/ipp/ippi.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr std::int64_t kAlignment = 64;

void* AllocatePicture(int widthPixels, int heightPixels, int bytesPerPixel, int* pStepBytes)
{
    if (pStepBytes == nullptr || widthPixels <= 0 || heightPixels <= 0)
        return nullptr;
    const std::int64_t rowBytes = static_cast<std::int64_t>(widthPixels) * bytesPerPixel;
    const std::int64_t step = (rowBytes + kAlignment - 1) / kAlignment * kAlignment;
    if (step > INT_MAX)
        return nullptr;
    const std::int64_t total = step * heightPixels;
    if (total > INT_MAX)
        return nullptr;
    // total is a multiple of the alignment, as aligned_alloc requires.
    void* block = std::aligned_alloc(static_cast<std::size_t>(kAlignment), static_cast<std::size_t>(total));
    if (block != nullptr)
        *pStepBytes = static_cast<int>(step);
    return block;
}

}  // namespace

extern "C" {

Ipp8u* ippiMalloc_8u_C1(int widthPixels, int heightPixels, int* pStepBytes)
{
    return static_cast<Ipp8u*>(AllocatePicture(widthPixels, heightPixels, 1, pStepBytes));
}

Ipp8u* ippiMalloc_8u_C3(int widthPixels, int heightPixels, int* pStepBytes)
{
    return static_cast<Ipp8u*>(AllocatePicture(widthPixels, heightPixels, 3, pStepBytes));
}

Ipp8u* ippiMalloc_8u_AC4(int widthPixels, int heightPixels, int* pStepBytes)
{
    return static_cast<Ipp8u*>(AllocatePicture(widthPixels, heightPixels, 4, pStepBytes));
}

Ipp32f* ippiMalloc_32f_C1(int widthPixels, int heightPixels, int* pStepBytes)
{
    return static_cast<Ipp32f*>(AllocatePicture(widthPixels, heightPixels, 4, pStepBytes));
}

Ipp32f* ippiMalloc_32f_C3(int widthPixels, int heightPixels, int* pStepBytes)
{
    return static_cast<Ipp32f*>(AllocatePicture(widthPixels, heightPixels, 12, pStepBytes));
}

void ippiFree(void* ptr)
{
    std::free(ptr);
}

}  // extern "C"
