// Preparing and running the resizer slot.
#include "filter/core/image_resizer.h"

#include "filter/core/picture_fit.h"
#include "image/foundation/format_table.h"

#include <cstdint>
#include <new>

namespace {

// TulImage walks YUY2 frames at their default rows and keeps the pitch in
// an int; a frame whose rows or bytes pass that cannot be described to it.
bool FrameFits32Bits(LONG width, LONG height)
{
    const std::uint64_t rowBytes =
        tul::DefaultRow<std::uint64_t>(tul::FormatOf(TulImage::COLOR_FORMAT_YUY2), static_cast<std::uint64_t>(width));
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
        return TulImage::TUL_NO_MEMORY;

    tulfilter::PictureSize picture{};
    if (!tulfilter::FitPicture(srcWidth, srcHeight, srcAspectX, srcAspectY, outWidth, outHeight,
                               outAspectX, outAspectY, mode, &picture))
        return TulImage::TUL_INVALID_REQUEST;
    if (!FrameFits32Bits(srcWidth, srcHeight) || !FrameFits32Bits(outWidth, outHeight))
        return TulImage::TUL_INVALID_REQUEST;

    const bool fillFields = NeedsFieldFill(srcHeight, picture.height, policy);
    // The picture is anchored at the top-left; the resizer decides where it
    // finally lies in the frame.
    const tagRECT srcRect{0, 0, srcWidth, srcHeight};
    const tagRECT dstRect{0, 0, picture.width, picture.height};
    const ULONG status = m_image->InitializeEx(
        static_cast<ULONG>(srcWidth), static_cast<ULONG>(srcHeight), srcRect,
        static_cast<ULONG>(outWidth), static_cast<ULONG>(outHeight), dstRect,
        TulImage::INTERPOLATION_LINEAR);
    if (status != TulImage::TUL_SUCCESS)
        return status;
    m_outputBytes = static_cast<ULONG>(outWidth) * static_cast<ULONG>(outHeight) * 2u;
    m_fillFields = fillFields;
    return TulImage::TUL_SUCCESS;
}

ULONG CImageResizer::Resize(unsigned char* src, unsigned char* dst)
{
    if (!src || !dst)
        return TulImage::TUL_INVALID_REQUEST;
    if (!m_image || m_outputBytes == 0)
        return TulImage::TUL_FAILED;
    // The resizer writes back the bytes it used; the slot keeps its own
    // frame size for the next call.
    ULONG size = m_outputBytes;
    return m_image->ResizeYUY2(src, dst, &size);
}
