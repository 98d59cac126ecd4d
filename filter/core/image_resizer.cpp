// Preparing and running the resizer slot.
#include "filter/core/image_resizer.h"

#include "filter/core/picture_fit.h"

#include <cstdint>
#include <new>

namespace {

constexpr ULONG kStatusNoMemory = 1;
constexpr ULONG kStatusRefused = 3;
constexpr ULONG kStatusFailed = 4;

// TulImage walks YUY2 frames with rows padded to whole 32-bit words and
// keeps the pitch in an int; a frame whose padded bytes pass 32 bits
// cannot be described to it.
bool FrameFits32Bits(LONG width, LONG height)
{
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 2 + 3) & ~std::uint64_t{3};
    return rowBytes <= INT32_MAX && rowBytes * static_cast<std::uint64_t>(height) <= UINT32_MAX;
}

}  // namespace

CImageResizer::CImageResizer()
    : m_image(new (std::nothrow) TulImage()), m_outputBytes(0), m_fillFields(false)
{
}

CImageResizer::~CImageResizer() = default;

ULONG CImageResizer::Prepare(LONG srcWidth, LONG srcHeight, LONG srcAspectX, LONG srcAspectY,
                             LONG outWidth, LONG outHeight, LONG outAspectX, LONG outAspectY,
                             LONG mode, LONG policy)
{
    // Whatever happens below, a frame must never be resized by a plan made
    // for other sizes.
    m_outputBytes = 0;
    m_fillFields = false;
    if (!m_image)
        return kStatusNoMemory;

    tulfilter::PictureSize picture{};
    if (!tulfilter::FitPicture(srcWidth, srcHeight, srcAspectX, srcAspectY, outWidth, outHeight,
                               outAspectX, outAspectY, mode, &picture))
        return kStatusRefused;
    if (!FrameFits32Bits(srcWidth, srcHeight) || !FrameFits32Bits(outWidth, outHeight))
        return kStatusRefused;

    const bool fillFields = NeedsFieldFill(srcHeight, picture.height, policy);
    // The picture is anchored at the top-left; the resizer decides where it
    // finally lies in the frame.
    const tagRECT srcRect{0, 0, srcWidth, srcHeight};
    const tagRECT dstRect{0, 0, picture.width, picture.height};
    ULONG status = kStatusFailed;
    try {
        status = m_image->InitializeEx(static_cast<ULONG>(srcWidth), static_cast<ULONG>(srcHeight),
                                       srcRect, static_cast<ULONG>(outWidth),
                                       static_cast<ULONG>(outHeight), dstRect,
                                       TulImage::INTERPOLATION_LINEAR);
    } catch (...) {
        return kStatusFailed;
    }
    if (status != 0)
        return status;
    m_outputBytes = static_cast<ULONG>(outWidth) * static_cast<ULONG>(outHeight) * 2u;
    m_fillFields = fillFields;
    return 0;
}

ULONG CImageResizer::Resize(unsigned char* src, unsigned char* dst)
{
    if (!src || !dst)
        return kStatusRefused;
    if (!m_image || m_outputBytes == 0)
        return kStatusFailed;
    // The resizer writes back the bytes it used; the slot keeps its own
    // frame size for the next call.
    ULONG size = m_outputBytes;
    try {
        return m_image->ResizeYUY2(src, dst, &size);
    } catch (...) {
        return kStatusFailed;
    }
}
