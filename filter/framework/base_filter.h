// CBaseFilter: state (stopped, paused, running), pin enumeration, graph
// membership and event notification for filters with a fixed set of pins.
#pragma once

#include "filter/framework/combase.h"
#include "filter/framework/crit_sec.h"
#include "platform/dshow/interfaces.h"

#include <atomic>
#include <string>

class CBasePin;
// The registration record of a filter; defined with the registration code.
struct AMOVIESETUP_FILTER;
typedef AMOVIESETUP_FILTER* LPAMOVIESETUP_FILTER;

class CBaseFilter : public CUnknown, public IBaseFilter {
public:
    // pLock guards the filter's state; it usually belongs to the derived
    // filter and need not be constructed yet (it is only stored here).
    CBaseFilter(LPCTSTR pName, LPUNKNOWN pUnk, CCritSec* pLock, REFCLSID clsid, HRESULT* phr = nullptr);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* pClsID) override;
    // IMediaFilter: Stop deactivates every connected pin, Pause activates
    // them (from stopped), Run pauses first when stopped.
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME tStart) override;
    STDMETHODIMP GetState(DWORD dwMSecs, FILTER_STATE* State) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* pClock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** pClock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** ppEnum) override;
    // Finds a pin by its identifier (QueryId).
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* pInfo) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* pVendorInfo) override;

    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;
    // Registration data; none unless a filter supplies it.
    virtual LPAMOVIESETUP_FILTER GetSetupData() { return nullptr; }

    BOOL IsStopped() const { return m_State == State_Stopped; }
    BOOL IsActive() const { return m_State != State_Stopped; }
    CCritSec* pStateLock() { return m_pLock; }
    // Reports an event to the graph's IMediaEventSink (E_NOTIMPL outside a graph).
    HRESULT NotifyEvent(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2);

protected:
    // Read without the lock by streaming threads, hence atomic.
    std::atomic<FILTER_STATE> m_State{State_Stopped};
    REFERENCE_TIME m_tStart = 0;
    CLSID m_clsid;
    CCritSec* m_pLock;
    // The graph does not hold a reference from its filters' side: it owns
    // them, so these are weak pointers valid while the filter is a member.
    IFilterGraph* m_pGraph = nullptr;
    std::atomic<IMediaEventSink*> m_pSink{nullptr};  // read by streaming threads
    std::wstring m_pName;
};

// Pin enumerator over a snapshot of a filter's pins; holds the filter.
class CEnumPins : public CUnknown, public IEnumPins {
public:
    // A new enumerator with one reference, or E_OUTOFMEMORY.
    static HRESULT Create(CBaseFilter* pFilter, ULONG position, IEnumPins** ppEnum);
    ~CEnumPins() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) override;
    STDMETHODIMP Skip(ULONG cPins) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** ppEnum) override;

private:
    explicit CEnumPins(CBaseFilter* pFilter, ULONG position);
    CBaseFilter* m_pFilter;
    ULONG m_position;
};
