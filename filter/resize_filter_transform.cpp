// CResizeFilter::Transform: one input sample into one output sample, all
// under m_settingsLock so no setting or snapshot lands mid-frame.
#include "filter/resize_filter.h"

#include "filter/frame_bytes.h"
#include "filter/video_format.h"

#include <cstring>
#include <new>

namespace {

// S_OK and S_FALSE map to TRUE and FALSE; anything else is a sample that
// cannot say what it is.
HRESULT CopyFlag(HRESULT query, BOOL* flag)
{
    if (query == S_OK)
        *flag = TRUE;
    else if (query == S_FALSE)
        *flag = FALSE;
    else
        return E_UNEXPECTED;
    return S_OK;
}

}  // namespace

HRESULT CResizeFilter::Transform(IMediaSample* pIn, IMediaSample* pOut)
{
    if (pIn == nullptr || pOut == nullptr)
        return E_POINTER;
    CAutoLock lock(&m_settingsLock);

    HRESULT hr = CopySampleProperties(pIn, pOut);
    if (FAILED(hr))
        return hr;
    KeepLastFrame(pIn);
    PrepareStreamFor(ReadSampleGeometry(pIn));
    // After the preparation for this very sample: the forwarded type says
    // whether this frame's fields are filled, not the previous frame's.
    ForwardFormatChange(pIn, pOut);

    BYTE* src = nullptr;
    BYTE* dst = nullptr;
    hr = pOut->GetPointer(&dst);
    if (FAILED(hr) || dst == nullptr)
        return FAILED(hr) ? hr : E_UNEXPECTED;
    // CopySampleProperties has checked the output buffer holds the frame;
    // the input must hold every byte the field fill and the resizer read.
    const LONG inLength = pIn->GetActualDataLength();
    const bool wholeFrame = SUCCEEDED(pIn->GetPointer(&src)) && src != nullptr && inLength > 0 &&
                            tulfilter::ResizerSourceBytes(m_srcWidth, m_srcHeight) != 0 &&
                            tulfilter::ResizerSourceBytes(m_srcWidth, m_srcHeight) <=
                                static_cast<std::uint64_t>(inLength);
    if (wholeFrame) {
        if (m_srcInterlaced && m_streamResizer.FillsFields())
            CImageResizer::FillFields(src, m_srcWidth, m_srcHeight, m_deinterlaceMethod);
        if (m_streamResizer.Resize(src, dst) == 0)
            return S_OK;
    }
    // No picture to draw (a short sample, or sizes the resizer refused):
    // a black frame, never whatever the buffer held before.
    tulfilter::PaintBlackYuy2(dst, static_cast<std::size_t>(OutputFrameBytes()));
    return S_OK;
}

void CResizeFilter::ForwardFormatChange(IMediaSample* pIn, IMediaSample* pOut)
{
    AM_MEDIA_TYPE* changed = nullptr;
    if (pIn->GetMediaType(&changed) != S_OK || changed == nullptr)
        return;
    const bool progressive = m_srcInterlaced && m_streamResizer.FillsFields();
    tulfilter::ApplyOutputGeometry(*changed, m_outWidth, m_outHeight, m_outAspectX, m_outAspectY, progressive);
    pOut->SetMediaType(changed);
    DeleteMediaType(changed);
}

HRESULT CResizeFilter::CopySampleProperties(IMediaSample* pIn, IMediaSample* pOut)
{
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    if (pIn->GetTime(&start, &stop) == S_OK)
        pOut->SetTime(&start, &stop);
    LONGLONG mediaStart = 0;
    LONGLONG mediaStop = 0;
    if (pIn->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        pOut->SetMediaTime(&mediaStart, &mediaStop);
    BOOL flag = FALSE;
    HRESULT hr = CopyFlag(pIn->IsSyncPoint(), &flag);
    if (FAILED(hr))
        return hr;
    pOut->SetSyncPoint(flag);
    hr = CopyFlag(pIn->IsPreroll(), &flag);
    if (FAILED(hr))
        return hr;
    pOut->SetPreroll(flag);
    hr = CopyFlag(pIn->IsDiscontinuity(), &flag);
    if (FAILED(hr))
        return hr;
    pOut->SetDiscontinuity(flag);
    // Refused by a buffer smaller than the frame: nothing may be written.
    const LONG frame = OutputFrameBytes();
    if (pOut->GetSize() < frame)
        return VFW_E_BUFFER_OVERFLOW;
    return pOut->SetActualDataLength(frame);
}

void CResizeFilter::KeepLastFrame(IMediaSample* pIn)
{
    BYTE* src = nullptr;
    if (FAILED(pIn->GetPointer(&src)) || src == nullptr)
        return;
    const LONG actual = pIn->GetActualDataLength();
    const ULONG length = actual > 0 ? static_cast<ULONG>(actual) : 0;
    if (length != m_lastFrameSize || !m_lastFrame) {
        ReleaseLastFrame();
        if (length == 0)
            return;
        m_lastFrame.reset(new (std::nothrow) BYTE[length]);
        if (!m_lastFrame)
            return;
        m_lastFrameSize = length;
    }
    std::memcpy(m_lastFrame.get(), src, length);
}

CResizeFilter::SampleGeometry CResizeFilter::ReadSampleGeometry(IMediaSample* pIn)
{
    SampleGeometry geometry{m_connectedWidth, m_connectedHeight, m_srcAspectX, m_srcAspectY};
    AM_MEDIA_TYPE* changed = nullptr;
    if (pIn->GetMediaType(&changed) == S_OK && changed != nullptr) {
        tulfilter::SourceShape shape{};
        if (tulfilter::SourceShapeOf(*changed, &shape)) {
            geometry.aspectX = shape.aspectX;
            geometry.aspectY = shape.aspectY;
            m_srcInterlaced = shape.interlaced;
        }
    }
    DeleteMediaType(changed);
    return geometry;
}

void CResizeFilter::PrepareStreamFor(const SampleGeometry& geometry)
{
    if (m_preparedMode == m_resizeMode && m_srcWidth == geometry.width && m_srcHeight == geometry.height &&
        m_srcAspectX == geometry.aspectX && m_srcAspectY == geometry.aspectY)
        return;
    m_srcWidth = geometry.width;
    m_srcHeight = geometry.height;
    m_srcAspectX = geometry.aspectX;
    m_srcAspectY = geometry.aspectY;
    m_preparedMode = m_resizeMode;
    ++m_streamPreparations;
    // A refused preparation leaves the slot unprepared; Transform then
    // delivers black frames until the geometry changes again.
    m_streamResizer.Prepare(m_srcWidth, m_srcHeight, m_srcAspectX, m_srcAspectY, m_outWidth, m_outHeight,
                            m_outAspectX, m_outAspectY, m_resizeMode, m_deinterlacePolicy.load());
}
