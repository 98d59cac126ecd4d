// CTransformFilter: state changes and the per-sample streaming path.
#include "filter/framework/transform_filter.h"

#include <cwchar>
#include <new>

CTransformFilter::CTransformFilter(LPCTSTR pName, LPUNKNOWN pUnk, REFCLSID clsid)
    : CBaseFilter(pName, pUnk, &m_csFilter, clsid)
{
}

CTransformFilter::~CTransformFilter()
{
    delete m_pInput;
    delete m_pOutput;
}

CBasePin* CTransformFilter::GetPin(int n)
{
    CAutoLock lock(&m_csFilter);
    if (m_pInput == nullptr) {
        HRESULT hr = S_OK;
        m_pInput = new (std::nothrow) CTransformInputPin(L"Transform input pin", this, &hr, L"XForm In");
        if (m_pInput == nullptr || FAILED(hr)) {
            delete m_pInput;
            m_pInput = nullptr;
            return nullptr;
        }
        m_pOutput = new (std::nothrow) CTransformOutputPin(L"Transform output pin", this, &hr, L"XForm Out");
        if (m_pOutput == nullptr || FAILED(hr)) {
            delete m_pInput;
            delete m_pOutput;
            m_pInput = nullptr;
            m_pOutput = nullptr;
            return nullptr;
        }
    }
    if (n == 0)
        return m_pInput;
    if (n == 1)
        return m_pOutput;
    return nullptr;
}

STDMETHODIMP CTransformFilter::FindPin(LPCWSTR Id, IPin** ppPin)
{
    if (Id == nullptr || ppPin == nullptr)
        return E_POINTER;
    *ppPin = nullptr;
    CBasePin* pin = nullptr;
    if (std::wcscmp(Id, L"In") == 0)
        pin = GetPin(0);
    else if (std::wcscmp(Id, L"Out") == 0)
        pin = GetPin(1);
    else
        return VFW_E_NOT_FOUND;
    if (pin == nullptr)
        return E_OUTOFMEMORY;
    return GetInterface(static_cast<IPin*>(pin), reinterpret_cast<void**>(ppPin));
}

STDMETHODIMP CTransformFilter::Stop()
{
    CAutoLock lock(&m_csFilter);
    if (m_State == State_Stopped)
        return S_OK;
    if (m_pInput == nullptr || !m_pInput->IsConnected() || !m_pOutput->IsConnected()) {
        m_State = State_Stopped;
        m_bEOSDelivered = FALSE;
        return S_OK;
    }
    // Input first, so upstream cannot get another buffer; then wait for
    // the sample in flight before tearing down the output.
    m_pInput->Inactive();
    CAutoLock receiveLock(&m_csReceive);
    m_pOutput->Inactive();
    HRESULT hr = StopStreaming();
    // The filter is stopped whatever StopStreaming says: its pins are
    // already inactive, and a filter reporting "running" with decommitted
    // allocators could never be started again.
    m_State = State_Stopped;
    m_bEOSDelivered = FALSE;
    return hr;
}

STDMETHODIMP CTransformFilter::Pause()
{
    CAutoLock lock(&m_csFilter);
    HRESULT hr = S_OK;
    if (m_State == State_Paused) {
        // nothing to do
    } else if (m_pInput == nullptr || !m_pInput->IsConnected()) {
        // No input can ever arrive: tell downstream at once.
        if (m_pOutput != nullptr && m_pOutput->IsConnected() && !m_bEOSDelivered) {
            m_pOutput->DeliverEndOfStream();
            m_bEOSDelivered = TRUE;
        }
        m_State = State_Paused;
    } else if (!m_pOutput->IsConnected()) {
        m_State = State_Paused;
    } else {
        const bool starting = m_State == State_Stopped;
        if (starting) {
            // The skip state belongs to the streaming thread: reset it only
            // here, under the receive lock, before a new stream begins.
            CAutoLock receiveLock(&m_csReceive);
            m_bSampleSkipped = FALSE;
            hr = StartStreaming();
        }
        if (SUCCEEDED(hr)) {
            hr = CBaseFilter::Pause();
            if (FAILED(hr) && starting) {
                CAutoLock receiveLock(&m_csReceive);
                StopStreaming();
            }
        }
    }
    return hr;
}

HRESULT CTransformFilter::Transform(IMediaSample*, IMediaSample*) { return E_UNEXPECTED; }
HRESULT CTransformFilter::StartStreaming() { return S_OK; }
HRESULT CTransformFilter::StopStreaming() { return S_OK; }
HRESULT CTransformFilter::CheckConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT CTransformFilter::BreakConnect(PIN_DIRECTION) { return S_OK; }
HRESULT CTransformFilter::CompleteConnect(PIN_DIRECTION, IPin*) { return S_OK; }
HRESULT CTransformFilter::SetMediaType(PIN_DIRECTION, const CMediaType*) { return S_OK; }

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* pSample, IMediaSample** ppOutSample)
{
    *ppOutSample = nullptr;
    DWORD flags = m_bSampleSkipped ? AM_GBF_PREVFRAMESKIPPED : 0;
    if (pSample->IsSyncPoint() != S_OK)
        flags |= AM_GBF_NOTASYNCPOINT;
    IMediaSample* out = nullptr;
    HRESULT hr = m_pOutput->GetDeliveryBuffer(&out, nullptr, nullptr, flags);
    if (FAILED(hr))
        return hr;
    if (out == nullptr)
        return E_UNEXPECTED;

    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    hr = pSample->GetTime(&start, &stop);
    if (hr == S_OK)
        out->SetTime(&start, &stop);
    else if (hr == VFW_S_NO_STOP_TIME)
        out->SetTime(&start, nullptr);
    LONGLONG mediaStart = 0;
    LONGLONG mediaStop = 0;
    if (pSample->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        out->SetMediaTime(&mediaStart, &mediaStop);
    out->SetSyncPoint(pSample->IsSyncPoint() == S_OK);
    out->SetPreroll(pSample->IsPreroll() == S_OK);
    // A skipped sample before this one is a break in the output stream.
    out->SetDiscontinuity(pSample->IsDiscontinuity() == S_OK || m_bSampleSkipped);
    *ppOutSample = out;
    return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* pSample)
{
    if (m_pOutput == nullptr || !m_pOutput->IsConnected())
        return VFW_E_NOT_CONNECTED;
    IMediaSample* out = nullptr;
    HRESULT hr = InitializeOutputSample(pSample, &out);
    if (FAILED(hr))
        return hr;
    hr = Transform(pSample, out);
    if (hr == S_OK) {
        hr = m_pOutput->Deliver(out);
        m_bSampleSkipped = FALSE;
    } else if (hr == S_FALSE) {
        // The filter chose not to deliver this one; the stream goes on.
        m_bSampleSkipped = TRUE;
        hr = S_OK;
    }
    out->Release();
    return hr;
}

HRESULT CTransformFilter::EndOfStream()
{
    if (m_pOutput == nullptr)
        return VFW_E_NOT_CONNECTED;
    return m_pOutput->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush()
{
    if (m_pOutput == nullptr)
        return VFW_E_NOT_CONNECTED;
    return m_pOutput->DeliverBeginFlush();
}

HRESULT CTransformFilter::EndFlush()
{
    if (m_pOutput == nullptr)
        return VFW_E_NOT_CONNECTED;
    return m_pOutput->DeliverEndFlush();
}

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate)
{
    if (m_pOutput == nullptr)
        return VFW_E_NOT_CONNECTED;
    return m_pOutput->DeliverNewSegment(tStart, tStop, dRate);
}
