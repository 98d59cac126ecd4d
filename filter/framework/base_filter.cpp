// CBaseFilter and its pin enumerator.
#include "filter/framework/base_filter.h"

#include "filter/framework/base_pin.h"
#include "platform/com/task_memory.h"

#include <cwchar>
#include <new>

CBaseFilter::CBaseFilter(LPCTSTR pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT*)
    : CUnknown(pName, pUnk), m_clsid(clsid), m_pLock(pLock)
{
}

CBaseFilter::~CBaseFilter() = default;

STDMETHODIMP CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IBaseFilter)
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    if (riid == IID_IMediaFilter)
        return GetInterface(static_cast<IMediaFilter*>(this), ppv);
    if (riid == IID_IPersist)
        return GetInterface(static_cast<IPersist*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* pClsID)
{
    if (pClsID == nullptr)
        return E_POINTER;
    *pClsID = m_clsid;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Stop()
{
    CAutoLock lock(m_pLock);
    HRESULT result = S_OK;
    if (m_State != State_Stopped) {
        const int count = GetPinCount();
        for (int i = 0; i < count; ++i) {
            CBasePin* pin = GetPin(i);
            if (pin == nullptr || !pin->IsConnected())
                continue;
            HRESULT hr = pin->Inactive();
            if (FAILED(hr) && SUCCEEDED(result))
                result = hr;
        }
    }
    m_State = State_Stopped;
    return result;
}

STDMETHODIMP CBaseFilter::Pause()
{
    CAutoLock lock(m_pLock);
    if (m_State == State_Stopped) {
        const int count = GetPinCount();
        for (int i = 0; i < count; ++i) {
            CBasePin* pin = GetPin(i);
            if (pin == nullptr || !pin->IsConnected())
                continue;
            HRESULT hr = pin->Active();
            if (FAILED(hr)) {
                // Undo the pins already activated, so a failed start
                // leaves nothing committed.
                for (int j = 0; j < i; ++j) {
                    CBasePin* done = GetPin(j);
                    if (done != nullptr && done->IsConnected())
                        done->Inactive();
                }
                return hr;
            }
        }
    }
    m_State = State_Paused;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME tStart)
{
    CAutoLock lock(m_pLock);
    m_tStart = tStart;
    if (m_State == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    if (m_State != State_Running) {
        const int count = GetPinCount();
        for (int i = 0; i < count; ++i) {
            CBasePin* pin = GetPin(i);
            if (pin == nullptr || !pin->IsConnected())
                continue;
            HRESULT hr = pin->Run(tStart);
            if (FAILED(hr))
                return hr;
        }
    }
    m_State = State_Running;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* State)
{
    if (State == nullptr)
        return E_POINTER;
    *State = m_State;
    return S_OK;
}

// No reference clock exists here: streams run as fast as they are pushed.
STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock*) { return S_OK; }

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** pClock)
{
    if (pClock == nullptr)
        return E_POINTER;
    *pClock = nullptr;
    return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    return CEnumPins::Create(this, 0, ppEnum);
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR Id, IPin** ppPin)
{
    if (Id == nullptr || ppPin == nullptr)
        return E_POINTER;
    *ppPin = nullptr;
    CAutoLock lock(m_pLock);
    const int count = GetPinCount();
    for (int i = 0; i < count; ++i) {
        CBasePin* pin = GetPin(i);
        if (pin == nullptr)
            continue;
        LPWSTR pinId = nullptr;
        if (FAILED(pin->QueryId(&pinId)) || pinId == nullptr)
            continue;
        const bool match = std::wcscmp(pinId, Id) == 0;
        CoTaskMemFree(pinId);
        if (match)
            return GetInterface(static_cast<IPin*>(pin), reinterpret_cast<void**>(ppPin));
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* pInfo)
{
    if (pInfo == nullptr)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    std::wcsncpy(pInfo->achName, m_pName.c_str(), MAX_FILTER_NAME - 1);
    pInfo->achName[MAX_FILTER_NAME - 1] = L'\0';
    pInfo->pGraph = m_pGraph;
    if (m_pGraph != nullptr)
        m_pGraph->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName)
{
    CAutoLock lock(m_pLock);
    try {
        m_pName = pName != nullptr ? pName : L"";
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    m_pGraph = pGraph;
    m_pSink = nullptr;
    if (pGraph != nullptr) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))) && sink) {
            // Weak: the graph outlives its membership, and a strong reference
            // would make a cycle with the graph's reference on the filter.
            m_pSink = sink;
            sink->Release();
        }
    }
    return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR* pVendorInfo)
{
    if (pVendorInfo == nullptr)
        return E_POINTER;
    *pVendorInfo = nullptr;
    return E_NOTIMPL;
}

HRESULT CBaseFilter::NotifyEvent(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2)
{
    IMediaEventSink* sink = m_pSink;
    return sink != nullptr ? sink->Notify(EventCode, EventParam1, EventParam2) : E_NOTIMPL;
}

// ---------------------------------------------------------------------------

CEnumPins::CEnumPins(CBaseFilter* pFilter, ULONG position)
    : CUnknown(L"CEnumPins", nullptr), m_pFilter(pFilter), m_position(position)
{
    m_pFilter->AddRef();
}

CEnumPins::~CEnumPins() { m_pFilter->Release(); }

HRESULT CEnumPins::Create(CBaseFilter* pFilter, ULONG position, IEnumPins** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    *ppEnum = nullptr;
    auto* e = new (std::nothrow) CEnumPins(pFilter, position);
    if (e == nullptr)
        return E_OUTOFMEMORY;
    return e->NonDelegatingQueryInterface(IID_IEnumPins, reinterpret_cast<void**>(ppEnum));
}

STDMETHODIMP CEnumPins::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IEnumPins)
        return GetInterface(static_cast<IEnumPins*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumPins::Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched)
{
    if (ppPins == nullptr)
        return E_POINTER;
    if (pcFetched == nullptr && cPins != 1)
        return E_INVALIDARG;
    ULONG fetched = 0;
    const ULONG count = static_cast<ULONG>(m_pFilter->GetPinCount());
    while (fetched < cPins && m_position < count) {
        CBasePin* pin = m_pFilter->GetPin(static_cast<int>(m_position++));
        if (pin == nullptr)
            continue;
        ppPins[fetched] = pin;
        pin->AddRef();
        ++fetched;
    }
    if (pcFetched != nullptr)
        *pcFetched = fetched;
    return fetched == cPins ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG cPins)
{
    const ULONG count = static_cast<ULONG>(m_pFilter->GetPinCount());
    if (cPins > count - m_position) {
        m_position = count;
        return S_FALSE;
    }
    m_position += cPins;
    return S_OK;
}

STDMETHODIMP CEnumPins::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** ppEnum) { return Create(m_pFilter, m_position, ppEnum); }
