// CResizeFilter: creation, interfaces, media negotiation and buffer sizing.
#include "filter/resize_filter.h"

#include "filter/frame_bytes.h"
#include "filter/page_list.h"
#include "filter/video_format.h"
#include "platform/dshow/dshow_guids.h"

#include <new>

CUnknown* CResizeFilter::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    CResizeFilter* filter = new (std::nothrow) CResizeFilter(pUnk);
    // A slot without its TulImage could never resize: report the shortage
    // now rather than deliver black frames later.
    if (filter != nullptr && (!filter->m_streamResizer.HasImage() || !filter->m_snapshotResizer.HasImage())) {
        delete filter;
        filter = nullptr;
    }
    if (filter == nullptr && phr != nullptr)
        *phr = E_OUTOFMEMORY;
    return filter;
}

CResizeFilter::CResizeFilter(LPUNKNOWN pUnk) : CTransformFilter(nullptr, pUnk, CLSID_ResizeFilter) {}

CResizeFilter::~CResizeFilter() = default;

STDMETHODIMP CResizeFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IResizeSettings)
        return GetInterface(static_cast<IResizeSettings*>(this), ppv);
    if (riid == IID_IResizeSnapshot)
        return GetInterface(static_cast<IResizeSnapshot*>(this), ppv);
    if (riid == IID_ISpecifyPropertyPages)
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CResizeFilter::GetPages(CAUUID* pPages)
{
    return tulfilter::FillPageList(pPages, CLSID_ResizePropertyPage, CoTaskMemAlloc);
}

HRESULT CResizeFilter::CheckInputType(const CMediaType* mtIn)
{
    if (mtIn == nullptr)
        return E_POINTER;
    if (!tulfilter::HasVideoInfoFormat(*mtIn))
        return E_INVALIDARG;
    return tulfilter::IsAcceptableYuy2(*mtIn) ? S_OK : E_FAIL;
}

HRESULT CResizeFilter::CheckTransform(const CMediaType* mtIn, const CMediaType*)
{
    if (mtIn == nullptr)
        return E_POINTER;
    return tulfilter::IsAcceptableYuy2(*mtIn) ? S_OK : E_FAIL;
}

bool CResizeFilter::OutputConnected() const { return m_pOutput != nullptr && m_pOutput->IsConnected(); }

LONG CResizeFilter::OutputFrameBytes() const
{
    // SetOutputSize admits only sizes whose frame fits kMaxOutputFrameBytes.
    return m_outWidth * m_outHeight * 2;
}

HRESULT CResizeFilter::GetMediaType(int iPosition, CMediaType* pMediaType)
{
    if (m_pInput == nullptr || !m_pInput->IsConnected())
        return E_UNEXPECTED;
    if (iPosition < 0)
        return E_INVALIDARG;
    if (iPosition > 0)
        return VFW_S_NO_MORE_ITEMS;
    if (pMediaType == nullptr)
        return E_POINTER;
    HRESULT hr = pMediaType->Set(m_pInput->CurrentMediaType());
    if (FAILED(hr))
        return hr;
    // The connection is made under the filter lock, which settings changes
    // also take; this lock only keeps the values read consistent.
    CAutoLock lock(&m_settingsLock);
    tulfilter::ApplyOutputGeometry(*pMediaType, m_outWidth, m_outHeight, m_outAspectX, m_outAspectY, false);
    return S_OK;
}

HRESULT CResizeFilter::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp)
{
    if (m_pInput == nullptr || !m_pInput->IsConnected())
        return E_UNEXPECTED;
    if (pAlloc == nullptr || pProp == nullptr)
        return E_POINTER;
    LONG frame = 0;
    {
        CAutoLock lock(&m_settingsLock);
        frame = OutputFrameBytes();
    }
    if (pProp->cBuffers == 0 && pProp->cbBuffer == 0 && pProp->cbPrefix == 0) {
        pProp->cBuffers = 2;
        pProp->cbBuffer = frame;
    } else {
        if (pProp->cBuffers < 2)
            pProp->cBuffers = 2;
        if (pProp->cbBuffer < frame)
            pProp->cbBuffer = frame;
    }
    ALLOCATOR_PROPERTIES actual{};
    HRESULT hr = pAlloc->SetProperties(pProp, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cBuffers < pProp->cBuffers || actual.cbBuffer < pProp->cbBuffer)
        return E_FAIL;
    return S_OK;
}

HRESULT CResizeFilter::CompleteConnect(PIN_DIRECTION direction, IPin*)
{
    if (direction != PINDIR_INPUT)
        return S_OK;
    const CMediaType& type = m_pInput->CurrentMediaType();
    CAutoLock lock(&m_settingsLock);
    m_srcAspectX = 1;
    m_srcAspectY = 1;
    m_srcInterlaced = true;
    tulfilter::SourceShape shape{};
    if (tulfilter::SourceShapeOf(type, &shape)) {
        m_srcAspectX = shape.aspectX;
        m_srcAspectY = shape.aspectY;
        m_srcInterlaced = shape.interlaced;
    }
    LONG width = 0;
    LONG height = 0;
    if (!tulfilter::SourceSizeOf(type, &width, &height))
        width = height = 0;
    m_connectedWidth = width;
    m_connectedHeight = height;
    return S_OK;
}

HRESULT CResizeFilter::BreakConnect(PIN_DIRECTION direction)
{
    if (direction == PINDIR_INPUT) {
        CAutoLock lock(&m_settingsLock);
        m_connectedWidth = 0;
        m_connectedHeight = 0;
    }
    return S_OK;
}

void CResizeFilter::ReleaseLastFrame()
{
    m_lastFrame.reset();
    m_lastFrameSize = 0;
}

HRESULT CResizeFilter::StopStreaming()
{
    CAutoLock lock(&m_settingsLock);
    ReleaseLastFrame();
    return S_OK;
}

ULONG CResizeFilter::StreamPreparations()
{
    CAutoLock lock(&m_settingsLock);
    return m_streamPreparations;
}

ULONG CResizeFilter::SnapshotPreparations()
{
    CAutoLock lock(&m_settingsLock);
    return m_snapshotPreparations;
}
