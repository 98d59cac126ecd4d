// CPushSource and its output pin with the streaming thread.
#include "filter/framework/push_source.h"

#include <new>
#include <system_error>

namespace {
// Buffer size a type implies when the caller gives none.
LONG ImpliedBufferSize(const CMediaType& mt)
{
    if (const BITMAPINFOHEADER* bih = BitmapHeaderOf(mt))
        if (bih->biSizeImage > 0 && bih->biSizeImage <= 0x7FFFFFFFu)
            return static_cast<LONG>(bih->biSizeImage);
    const ULONG fixed = mt.GetSampleSize();  // 0 for variable-size types
    if (fixed > 0 && fixed <= 0x7FFFFFFFu)
        return static_cast<LONG>(fixed);
    return 0;
}
}  // namespace

CPushSource::CPushSource(HRESULT* phr) : CBaseFilter(L"CPushSource", nullptr, &m_csFilter, GUID_NULL, phr) {}

CPushSource::~CPushSource() { delete m_pPin; }

HRESULT CPushSource::Create(const AM_MEDIA_TYPE& mt, PushFrameCallback callback, CPushSource** ppSource,
                            LONG cBuffers, LONG cbBuffer)
{
    if (ppSource == nullptr)
        return E_POINTER;
    *ppSource = nullptr;
    if (!callback || cBuffers <= 0 || cbBuffer < 0)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    auto* source = new (std::nothrow) CPushSource(&hr);
    if (source == nullptr)
        return E_OUTOFMEMORY;
    source->NonDelegatingAddRef();
    if (SUCCEEDED(hr)) {
        try {
            source->m_pPin = new (std::nothrow)
                CPushSourcePin(source, &source->m_csFilter, &hr, mt, std::move(callback), cBuffers, cbBuffer);
        } catch (...) {
            hr = E_OUTOFMEMORY;
        }
        if (source->m_pPin == nullptr && SUCCEEDED(hr))
            hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        source->NonDelegatingRelease();
        return hr;
    }
    *ppSource = source;
    return S_OK;
}

CBasePin* CPushSource::GetPin(int n) { return n == 0 ? m_pPin : nullptr; }

STDMETHODIMP CPushSource::Pause()
{
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Running)
        m_pPin->Hold();
    return CBaseFilter::Pause();
}

ULONG CPushSource::FramesDelivered() const { return m_pPin->FramesDelivered(); }
HRESULT CPushSource::StreamResult() const { return m_pPin->StreamResult(); }

// ---------------------------------------------------------------------------

CPushSourcePin::CPushSourcePin(CPushSource* pFilter, CCritSec* pLock, HRESULT* phr, const AM_MEDIA_TYPE& mt,
                               PushFrameCallback callback, LONG cBuffers, LONG cbBuffer)
    : CBaseOutputPin(L"Push source pin", pFilter, pLock, phr, L"Output"),
      m_callback(std::move(callback)),
      m_cBuffers(cBuffers),
      m_cbBuffer(cbBuffer)
{
    HRESULT hr = m_type.Set(mt);
    if (FAILED(hr) && phr != nullptr)
        *phr = hr;
    if (m_cbBuffer == 0)
        m_cbBuffer = ImpliedBufferSize(m_type);
}

CPushSourcePin::~CPushSourcePin() { JoinThread(); }

HRESULT CPushSourcePin::CheckMediaType(const CMediaType* pmt)
{
    return *pmt == m_type ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CPushSourcePin::GetMediaType(int iPosition, CMediaType* pMediaType)
{
    if (iPosition < 0)
        return E_INVALIDARG;
    if (iPosition > 0)
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(m_type);
}

HRESULT CPushSourcePin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp)
{
    if (pAlloc == nullptr || pProp == nullptr)
        return E_POINTER;
    if (m_cbBuffer <= 0)
        return VFW_E_SIZENOTSET;
    if (pProp->cBuffers < m_cBuffers)
        pProp->cBuffers = m_cBuffers;
    if (pProp->cbBuffer < m_cbBuffer)
        pProp->cbBuffer = m_cbBuffer;
    ALLOCATOR_PROPERTIES actual{};
    HRESULT hr = pAlloc->SetProperties(pProp, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cBuffers < pProp->cBuffers || actual.cbBuffer < pProp->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CPushSourcePin::Active()
{
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    JoinThread();  // a thread that ended on its own after the last run
    {
        std::lock_guard<std::mutex> lock(m_threadLock);
        m_go = false;
        m_stop = false;
    }
    m_delivered = 0;
    m_result = S_OK;
    try {
        m_thread = std::thread(&CPushSourcePin::StreamLoop, this);
    } catch (const std::system_error&) {
        CBaseOutputPin::Inactive();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPushSourcePin::Inactive()
{
    {
        std::lock_guard<std::mutex> lock(m_threadLock);
        m_stop = true;
        m_threadSignal.notify_all();
    }
    // Decommitting wakes a thread blocked waiting for a free buffer.
    HRESULT hr = CBaseOutputPin::Inactive();
    JoinThread();
    return hr;
}

HRESULT CPushSourcePin::Run(REFERENCE_TIME)
{
    std::lock_guard<std::mutex> lock(m_threadLock);
    m_go = true;
    m_threadSignal.notify_all();
    return S_OK;
}

void CPushSourcePin::Hold()
{
    std::lock_guard<std::mutex> lock(m_threadLock);
    m_go = false;
}

void CPushSourcePin::JoinThread()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CPushSourcePin::StreamLoop()
{
    for (ULONG index = 0;; ++index) {
        {
            std::unique_lock<std::mutex> lock(m_threadLock);
            m_threadSignal.wait(lock, [this] { return m_go || m_stop; });
            if (m_stop)
                return;
        }
        HRESULT hr = PushOne(index);
        if (hr == S_OK)
            continue;
        bool stopping;
        {
            std::lock_guard<std::mutex> lock(m_threadLock);
            stopping = m_stop;
        }
        if (hr == S_FALSE) {
            DeliverEndOfStream();
            return;
        }
        // Failures caused by the graph stopping around us are no error of
        // the stream: downstream stops first and refuses or decommits.
        if (stopping || hr == VFW_E_NOT_COMMITTED || hr == VFW_E_WRONG_STATE)
            return;
        // The abort is reported before the end of stream it causes, so the
        // graph sees why the stream ended rather than a plain completion.
        m_result = hr;
        m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        DeliverEndOfStream();
        return;
    }
}

// One frame: S_OK delivered (or refused by a flushing pin), S_FALSE end of
// stream, a failure otherwise.
HRESULT CPushSourcePin::PushOne(ULONG index)
{
    IMediaSample* sample = nullptr;
    HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    PushFrame frame;
    frame.index = index;
    sample->GetPointer(&frame.pData);
    frame.cbBuffer = sample->GetSize();
    frame.lActual = frame.cbBuffer;
    try {
        hr = m_callback(frame);
    } catch (...) {
        hr = E_FAIL;
    }
    if (hr == S_OK) {
        REFERENCE_TIME start = frame.tStart;
        REFERENCE_TIME stop = frame.tStop;
        if (frame.hasStart)
            hr = sample->SetTime(&start, frame.hasStop ? &stop : nullptr);
        if (SUCCEEDED(hr))
            hr = sample->SetActualDataLength(frame.lActual);
        if (SUCCEEDED(hr) && frame.hasMediaType)
            hr = sample->SetMediaType(&frame.mediaType);
        if (SUCCEEDED(hr)) {
            sample->SetSyncPoint(frame.syncPoint);
            sample->SetDiscontinuity(frame.discontinuity);
            sample->SetPreroll(frame.preroll);
            hr = Deliver(sample);
            if (hr == S_OK)
                ++m_delivered;
            else if (hr == S_FALSE)
                hr = S_OK;  // downstream is flushing: drop and go on
        }
    }
    sample->Release();
    return hr;
}
