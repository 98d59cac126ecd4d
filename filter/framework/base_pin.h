// CBasePin: connection and media-type negotiation shared by input and
// output pins. A pin lives inside its filter and counts references on it.
#pragma once

#include "filter/framework/base_filter.h"
#include "filter/framework/media_type.h"

#include <vector>

class CBasePin : public CUnknown, public IPin {
public:
    CBasePin(LPCTSTR pObjectName, CBaseFilter* pFilter, CCritSec* pLock, HRESULT* phr, LPCWSTR pName,
             PIN_DIRECTION dir);
    ~CBasePin() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // A pin's lifetime is its filter's.
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

    // IPin. Connect is called on the output pin: a fully specified pmt is
    // tried alone; otherwise this pin's types, then the receiving pin's,
    // each matching pmt (when given) and checked by both pins.
    STDMETHODIMP Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pPin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* pInfo) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* pPinDir) override;
    STDMETHODIMP QueryId(LPWSTR* Id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* pmt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** ppEnum) override;
    STDMETHODIMP QueryInternalConnections(IPin** apPin, ULONG* nPin) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

    // Connections change only while the filter is stopped, under its lock.
    BOOL IsConnected() const { return m_Connected != nullptr; }
    IPin* GetConnected() const { return m_Connected; }
    BOOL IsStopped() const { return m_pFilter->IsStopped(); }
    const CMediaType& CurrentMediaType() const { return m_mt; }
    CMediaType& CurrentMediaType() { return m_mt; }
    LPCWSTR Name() const { return m_pName.c_str(); }
    PIN_DIRECTION Direction() const { return m_dir; }

    // Negotiation hooks, in the order a connection calls them.
    virtual HRESULT CheckConnect(IPin* pPin);
    virtual HRESULT CheckMediaType(const CMediaType* pmt) = 0;
    virtual HRESULT SetMediaType(const CMediaType* pmt);
    virtual HRESULT CompleteConnect(IPin* pReceivePin);
    virtual HRESULT BreakConnect();
    // Types this pin offers, position 0 upward; VFW_S_NO_MORE_ITEMS past
    // the end. The base offers none.
    virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType);

    // State changes of the filter, for connected pins.
    virtual HRESULT Active();
    virtual HRESULT Inactive();
    virtual HRESULT Run(REFERENCE_TIME tStart);

protected:
    HRESULT AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt);
    HRESULT TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum);
    // *pAgreed tells whether both pins accepted the type (so a failure came
    // from completing the connection, e.g. allocator agreement).
    HRESULT AttemptConnection(IPin* pReceivePin, const CMediaType* pmt, bool* pAgreed = nullptr);
    void DisconnectInternal();

    std::wstring m_pName;
    IPin* m_Connected = nullptr;
    PIN_DIRECTION m_dir;
    CCritSec* m_pLock;
    CBaseFilter* m_pFilter;
    CMediaType m_mt;
    REFERENCE_TIME m_tStart = 0;
    REFERENCE_TIME m_tStop = 0;
    double m_dRate = 1.0;
};

// Enumerates a snapshot of the types a pin offers; holds the pin.
class CEnumMediaTypes : public CUnknown, public IEnumMediaTypes {
public:
    static HRESULT Create(CBasePin* pPin, IEnumMediaTypes** ppEnum);
    ~CEnumMediaTypes() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // Each type returned is the caller's, freed with DeleteMediaType.
    STDMETHODIMP Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) override;
    STDMETHODIMP Skip(ULONG cMediaTypes) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** ppEnum) override;

private:
    explicit CEnumMediaTypes(CBasePin* pPin);
    CBasePin* m_pPin;
    std::vector<CMediaType> m_types;
    std::size_t m_position = 0;
};
