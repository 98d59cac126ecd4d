// CSampleSink and its input pin.
#include "filter/framework/sample_sink.h"

#include <new>

CSampleSink::CSampleSink() : CBaseFilter(L"CSampleSink", nullptr, &m_csFilter, GUID_NULL) {}

CSampleSink::~CSampleSink() { delete m_pPin; }

HRESULT CSampleSink::Create(SampleCallback callback, CSampleSink** ppSink)
{
    if (ppSink == nullptr)
        return E_POINTER;
    *ppSink = nullptr;
    if (!callback)
        return E_INVALIDARG;
    auto* sink = new (std::nothrow) CSampleSink();
    if (sink == nullptr)
        return E_OUTOFMEMORY;
    sink->NonDelegatingAddRef();
    sink->m_callback = std::move(callback);
    HRESULT hr = S_OK;
    sink->m_pPin = new (std::nothrow) CSampleSinkPin(sink, &hr);
    if (sink->m_pPin == nullptr || FAILED(hr)) {
        sink->NonDelegatingRelease();
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    }
    *ppSink = sink;
    return S_OK;
}

CBasePin* CSampleSink::GetPin(int n) { return n == 0 ? m_pPin : nullptr; }

void CSampleSink::SetAcceptedType(REFGUID majortype, REFGUID subtype, REFGUID formattype)
{
    CAutoLock lock(&m_csFilter);
    m_accept[0] = majortype;
    m_accept[1] = subtype;
    m_accept[2] = formattype;
}

void CSampleSink::SetAllocatorRequirements(const ALLOCATOR_PROPERTIES& props)
{
    CAutoLock lock(&m_csFilter);
    m_requirements = props;
    m_hasRequirements = true;
}

// ---------------------------------------------------------------------------

CSampleSinkPin::CSampleSinkPin(CSampleSink* pSink, HRESULT* phr)
    : CBaseInputPin(L"Sample sink pin", pSink, &pSink->m_csFilter, phr, L"Input"), m_pSink(pSink)
{
}

HRESULT CSampleSinkPin::CheckMediaType(const CMediaType* pmt)
{
    const GUID* fields[3] = {pmt->Type(), pmt->Subtype(), pmt->FormatType()};
    for (int i = 0; i < 3; ++i)
        if (!IsEqualGUID(m_pSink->m_accept[i], GUID_NULL) && !IsEqualGUID(m_pSink->m_accept[i], *fields[i]))
            return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

STDMETHODIMP CSampleSinkPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps)
{
    if (pProps == nullptr)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (!m_pSink->m_hasRequirements)
        return E_NOTIMPL;
    *pProps = m_pSink->m_requirements;
    return S_OK;
}

STDMETHODIMP CSampleSinkPin::Receive(IMediaSample* pSample)
{
    CAutoLock lock(&m_pSink->m_csReceive);
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    ++m_pSink->m_received;
    try {
        return m_pSink->m_callback(pSample);
    } catch (...) {
        return E_FAIL;
    }
}

STDMETHODIMP CSampleSinkPin::EndOfStream()
{
    CAutoLock lock(&m_pSink->m_csReceive);
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    ++m_pSink->m_endOfStreams;
    m_pSink->NotifyEvent(EC_COMPLETE, S_OK, 0);
    return S_OK;
}

STDMETHODIMP CSampleSinkPin::BeginFlush()
{
    CAutoLock lock(m_pLock);
    return CBaseInputPin::BeginFlush();
}
