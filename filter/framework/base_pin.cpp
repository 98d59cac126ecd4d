// CBasePin: connection protocol and media-type negotiation.
#include "filter/framework/base_pin.h"

#include "platform/com/com_ptr.h"
#include "platform/com/task_memory.h"

#include <cstring>
#include <cwchar>
#include <new>

CBasePin::CBasePin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName,
                   PIN_DIRECTION dir)
    : CUnknown(pObjectName, nullptr), m_dir(dir), m_pLock(pLock), m_pFilter(pFilter)
{
    try {
        m_pName = pName != nullptr ? pName : L"";
    } catch (...) {
        if (phr != nullptr)
            *phr = E_OUTOFMEMORY;
    }
}

CBasePin::~CBasePin()
{
    if (m_Connected != nullptr)
        m_Connected->Release();
}

STDMETHODIMP CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBasePin::NonDelegatingAddRef() { return m_pFilter->AddRef(); }
STDMETHODIMP_(ULONG) CBasePin::NonDelegatingRelease() { return m_pFilter->Release(); }

STDMETHODIMP CBasePin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt)
{
    if (pReceivePin == nullptr)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected != nullptr)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (m_dir != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    PIN_DIRECTION peerDir;
    if (FAILED(pReceivePin->QueryDirection(&peerDir)) || peerDir != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    HRESULT hr = S_OK;
    CMediaType wanted(pmt != nullptr ? *pmt : CMediaType(), &hr);
    if (FAILED(hr))
        return hr;
    return AgreeMediaType(pReceivePin, &wanted);
}

HRESULT CBasePin::AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt)
{
    if (!pmt->IsPartiallySpecified())
        return AttemptConnection(pReceivePin, pmt);

    // This pin's own types first, then the receiving pin's.
    ComPtr<IEnumMediaTypes> own;
    HRESULT hr = EnumMediaTypes(own.ReleaseAndGetAddressOf());
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    if (SUCCEEDED(hr)) {
        hr = TryMediaTypes(pReceivePin, pmt, own.Get());
        if (SUCCEEDED(hr))
            return hr;
        if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
            result = hr;
    }
    ComPtr<IEnumMediaTypes> theirs;
    hr = pReceivePin->EnumMediaTypes(theirs.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr) && theirs) {
        hr = TryMediaTypes(pReceivePin, pmt, theirs.Get());
        if (SUCCEEDED(hr))
            return hr;
        if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
            result = hr;
    }
    return result;
}

// Tries each enumerated type that matches the partial type. A type both
// pins accept but whose connection still fails (no allocator agreement)
// is reported with its own failure rather than as "no acceptable types".
HRESULT CBasePin::TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum)
{
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    for (;;) {
        AM_MEDIA_TYPE* raw = nullptr;
        ULONG fetched = 0;
        if (pEnum->Next(1, &raw, &fetched) != S_OK || fetched != 1 || raw == nullptr) {
            DeleteMediaType(raw);
            return result;
        }
        HRESULT hr = S_OK;
        CMediaType candidate(*raw, &hr);
        DeleteMediaType(raw);
        if (FAILED(hr))
            return hr;
        if (!candidate.MatchesPartial(pmt))
            continue;
        bool agreed = false;
        hr = AttemptConnection(pReceivePin, &candidate, &agreed);
        if (SUCCEEDED(hr))
            return hr;
        if (agreed)
            result = hr;
    }
}

HRESULT CBasePin::AttemptConnection(IPin* pReceivePin, const CMediaType* pmt, bool* pAgreed)
{
    HRESULT hr = CheckConnect(pReceivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(pmt);
    if (hr != S_OK) {
        BreakConnect();
        return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_Connected = pReceivePin;
    m_Connected->AddRef();
    hr = SetMediaType(pmt);
    if (SUCCEEDED(hr)) {
        hr = pReceivePin->ReceiveConnection(static_cast<IPin*>(this), pmt);
        if (SUCCEEDED(hr)) {
            if (pAgreed != nullptr)
                *pAgreed = true;
            hr = CompleteConnect(pReceivePin);
            if (SUCCEEDED(hr))
                return S_OK;
            pReceivePin->Disconnect();
        }
    }
    DisconnectInternal();
    return hr;
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt)
{
    if (pConnector == nullptr || pmt == nullptr)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected != nullptr)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = S_OK;
    CMediaType offered(*pmt, &hr);
    if (FAILED(hr))
        return hr;
    hr = CheckConnect(pConnector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(&offered);
    if (hr != S_OK) {
        BreakConnect();
        return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_Connected = pConnector;
    m_Connected->AddRef();
    hr = SetMediaType(&offered);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(pConnector);
    if (SUCCEEDED(hr))
        return S_OK;
    DisconnectInternal();
    return hr;
}

void CBasePin::DisconnectInternal()
{
    BreakConnect();
    if (m_Connected != nullptr) {
        m_Connected->Release();
        m_Connected = nullptr;
    }
    FreeMediaType(m_mt);
    m_mt.InitMediaType();
}

STDMETHODIMP CBasePin::Disconnect()
{
    CAutoLock lock(m_pLock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (m_Connected == nullptr)
        return S_FALSE;
    DisconnectInternal();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pPin)
{
    if (pPin == nullptr)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    *pPin = m_Connected;
    if (m_Connected == nullptr)
        return VFW_E_NOT_CONNECTED;
    m_Connected->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* pmt)
{
    if (pmt == nullptr)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected == nullptr) {
        std::memset(pmt, 0, sizeof *pmt);
        return VFW_E_NOT_CONNECTED;
    }
    HRESULT hr = CopyMediaType(pmt, &m_mt);
    if (FAILED(hr))
        std::memset(pmt, 0, sizeof *pmt);
    return hr;
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* pInfo)
{
    if (pInfo == nullptr)
        return E_POINTER;
    pInfo->pFilter = m_pFilter;
    m_pFilter->AddRef();
    pInfo->dir = m_dir;
    std::wcsncpy(pInfo->achName, m_pName.c_str(), MAX_PIN_NAME - 1);
    pInfo->achName[MAX_PIN_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* pPinDir)
{
    if (pPinDir == nullptr)
        return E_POINTER;
    *pPinDir = m_dir;
    return S_OK;
}

// The identifier is the name unless a pin says otherwise.
STDMETHODIMP CBasePin::QueryId(LPWSTR* Id)
{
    if (Id == nullptr)
        return E_POINTER;
    const std::size_t bytes = (m_pName.size() + 1) * sizeof(wchar_t);
    *Id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (*Id == nullptr)
        return E_OUTOFMEMORY;
    std::memcpy(*Id, m_pName.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* pmt)
{
    if (pmt == nullptr)
        return E_POINTER;
    HRESULT hr = S_OK;
    CMediaType candidate(*pmt, &hr);
    if (FAILED(hr))
        return S_FALSE;
    hr = CheckMediaType(&candidate);
    return FAILED(hr) ? S_FALSE : hr;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    return CEnumMediaTypes::Create(this, ppEnum);
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG* nPin)
{
    if (nPin == nullptr)
        return E_POINTER;
    return E_NOTIMPL;
}

STDMETHODIMP CBasePin::EndOfStream() { return S_OK; }

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate)
{
    m_tStart = tStart;
    m_tStop = tStop;
    m_dRate = dRate;
    return S_OK;
}

HRESULT CBasePin::CheckConnect(IPin* pPin)
{
    PIN_DIRECTION dir;
    HRESULT hr = pPin->QueryDirection(&dir);
    if (FAILED(hr))
        return hr;
    return dir == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::SetMediaType(const CMediaType* pmt) { return m_mt.Set(*pmt); }
HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }
HRESULT CBasePin::BreakConnect() { return S_OK; }
HRESULT CBasePin::GetMediaType(int, CMediaType*) { return VFW_S_NO_MORE_ITEMS; }
HRESULT CBasePin::Active() { return S_OK; }
HRESULT CBasePin::Inactive() { return S_OK; }
HRESULT CBasePin::Run(REFERENCE_TIME) { return S_OK; }

// ---------------------------------------------------------------------------

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pPin) : CUnknown(L"CEnumMediaTypes", nullptr), m_pPin(pPin)
{
    m_pPin->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { m_pPin->Release(); }

HRESULT CEnumMediaTypes::Create(CBasePin* pPin, IEnumMediaTypes** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    *ppEnum = nullptr;
    auto* e = new (std::nothrow) CEnumMediaTypes(pPin);
    if (e == nullptr)
        return E_OUTOFMEMORY;
    e->NonDelegatingAddRef();
    try {
        for (int i = 0;; ++i) {
            CMediaType mt;
            if (pPin->GetMediaType(i, &mt) != S_OK)
                break;
            e->m_types.push_back(mt);
        }
    } catch (...) {
        e->NonDelegatingRelease();
        return E_OUTOFMEMORY;
    }
    HRESULT hr = e->NonDelegatingQueryInterface(IID_IEnumMediaTypes, reinterpret_cast<void**>(ppEnum));
    e->NonDelegatingRelease();
    return hr;
}

STDMETHODIMP CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IEnumMediaTypes)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumMediaTypes::Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched)
{
    if (ppMediaTypes == nullptr)
        return E_POINTER;
    if (pcFetched == nullptr && cMediaTypes != 1)
        return E_INVALIDARG;
    ULONG fetched = 0;
    while (fetched < cMediaTypes && m_position < m_types.size()) {
        AM_MEDIA_TYPE* copy = CreateMediaType(&m_types[m_position]);
        if (copy == nullptr)
            break;
        ppMediaTypes[fetched++] = copy;
        ++m_position;
    }
    if (pcFetched != nullptr)
        *pcFetched = fetched;
    return fetched == cMediaTypes ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumMediaTypes::Skip(ULONG cMediaTypes)
{
    const std::size_t left = m_types.size() - m_position;
    if (cMediaTypes > left) {
        m_position = m_types.size();
        return S_FALSE;
    }
    m_position += cMediaTypes;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    HRESULT hr = Create(m_pPin, ppEnum);
    if (SUCCEEDED(hr))
        static_cast<CEnumMediaTypes*>(*ppEnum)->m_position = m_position;
    return hr;
}
