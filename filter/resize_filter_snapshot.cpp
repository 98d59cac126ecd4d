// IResizeSnapshot on CResizeFilter: still pictures of the last input frame
// through the filter's second resizer slot, so streaming is undisturbed.
#include "filter/resize_filter.h"

#include "filter/core/snapshot_color.h"
#include "filter/frame_bytes.h"

#include <cstdint>
#include <new>

STDMETHODIMP CResizeFilter::GetCurrentFrame(BYTE* buffer, ULONG* written, LONG width, LONG height,
                                            LONG format, LONG mode)
{
    // The resizer's rows are whole 32-bit words, so an odd width could
    // never be drawn; the byte count reported in *written is 32-bit.
    const ULONG bytesPerPixel = format == SNAPSHOT_FORMAT_YUY2 ? 2 : 3;
    if (width % 2 != 0 || tulfilter::FrameBytes(width, height, bytesPerPixel, UINT32_MAX) == 0)
        return E_INVALIDARG;
    if (buffer != nullptr && written == nullptr)
        return E_POINTER;

    CAutoLock lock(&m_settingsLock);
    LONG srcWidth = m_srcWidth;
    LONG srcHeight = m_srcHeight;
    if (srcWidth == 0 || srcHeight == 0) {
        srcWidth = m_connectedWidth;
        srcHeight = m_connectedHeight;
    }
    if (srcWidth == 0 || srcHeight == 0)
        return E_FAIL;

    if (mode != m_snapMode || srcWidth != m_snapSrcWidth || srcHeight != m_snapSrcHeight ||
        m_srcAspectX != m_snapSrcAspectX || m_srcAspectY != m_snapSrcAspectY || width != m_snapOutWidth ||
        height != m_snapOutHeight) {
        m_snapMode = mode;
        m_snapSrcWidth = srcWidth;
        m_snapSrcHeight = srcHeight;
        m_snapSrcAspectX = m_srcAspectX;
        m_snapSrcAspectY = m_srcAspectY;
        m_snapOutWidth = width;
        m_snapOutHeight = height;
        ++m_snapshotPreparations;
        // The requested pixel size is the display aspect: output 1:1.
        m_snapshotResizer.Prepare(srcWidth, srcHeight, m_srcAspectX, m_srcAspectY, width, height, 1, 1, mode,
                                  m_deinterlacePolicy.load());
    }
    if (buffer == nullptr)
        return S_OK;
    if (!m_lastFrame || m_lastFrameSize == 0)
        return S_OK;

    const ULONG yuy2Bytes = static_cast<ULONG>(width) * static_cast<ULONG>(height) * 2u;
    if (bytesPerPixel == 2) {
        SnapshotInto(buffer, srcWidth, srcHeight, width, height);
        *written = yuy2Bytes;
        return S_OK;
    }
    std::unique_ptr<BYTE[]> frame(new (std::nothrow) BYTE[yuy2Bytes]);
    if (!frame)
        return E_FAIL;
    SnapshotInto(frame.get(), srcWidth, srcHeight, width, height);
    if (Yuy2ToBgr24BottomUp(buffer, frame.get(), width, height) != S_OK)
        return E_FAIL;
    *written = static_cast<ULONG>(width) * static_cast<ULONG>(height) * 3u;
    return S_OK;
}

void CResizeFilter::SnapshotInto(BYTE* frame, LONG srcWidth, LONG srcHeight, LONG width, LONG height)
{
    // A kept frame shorter than the source size has no whole picture: it
    // is neither line-doubled nor read past its end, and the still is
    // black, as the frame delivered for that sample was.
    const std::uint64_t needed = tulfilter::ResizerSourceBytes(srcWidth, srcHeight);
    if (needed != 0 && needed <= m_lastFrameSize) {
        CImageResizer::FillFields(m_lastFrame.get(), srcWidth, srcHeight, FIELD_FILL_DOUBLE);
        if (m_snapshotResizer.Resize(m_lastFrame.get(), frame) == 0)
            return;
    }
    tulfilter::PaintBlackYuy2(frame, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 2u);
}

STDMETHODIMP CResizeFilter::Reserved(ULONG) { return S_OK; }
