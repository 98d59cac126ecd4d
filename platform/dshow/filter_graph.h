// A minimal filter graph: it holds filters, connects their pins directly
// (the pins negotiate the type and the allocator), drives Pause, Run and
// Stop through every filter, downstream filters first, flushes, and
// collects the end-of-stream and abort events filters report.
#pragma once

#include "platform/dshow/interfaces.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

// Graph-level codes from vfwmsgs.h.
#define VFW_E_NOT_IN_GRAPH (static_cast<HRESULT>(0x8004025FL))

constexpr LONG INFINITE_WAIT = -1;

class CFilterGraph final : public IFilterGraph, public IMediaEventSink {
public:
    // A new graph with one reference held by the caller.
    static HRESULT Create(CFilterGraph** ppGraph);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IFilterGraph. The graph holds a reference on each filter it contains;
    // names must be unique unless empty. Changes need a stopped graph.
    STDMETHOD(AddFilter)(IBaseFilter* pFilter, LPCWSTR pName) override;
    STDMETHOD(RemoveFilter)(IBaseFilter* pFilter) override;
    STDMETHOD(EnumFilters)(IEnumFilters** ppEnum) override;  // E_NOTIMPL
    STDMETHOD(FindFilterByName)(LPCWSTR pName, IBaseFilter** ppFilter) override;
    STDMETHOD(ConnectDirect)(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) override;
    STDMETHOD(Reconnect)(IPin* ppin) override;  // E_NOTIMPL
    STDMETHOD(Disconnect)(IPin* ppin) override;
    STDMETHOD(SetDefaultSyncSource)() override;

    // IMediaEventSink: called by filters on any thread.
    STDMETHOD(Notify)(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

    // Control. Run from stopped pauses first; a failing filter leaves the
    // whole graph stopped and its failure is returned.
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();
    HRESULT GetState(FILTER_STATE* pState) const;
    // Waits until every renderer (a filter with inputs and no outputs) has
    // reported EC_COMPLETE, or a filter reported EC_ERRORABORT/EC_USERABORT.
    // S_OK with *pEvCode the event; E_ABORT on timeout (*pEvCode 0);
    // VFW_E_WRONG_STATE when the graph is or becomes stopped.
    HRESULT WaitForCompletion(LONG msTimeout, LONG* pEvCode);
    // The first failure a filter reported with EC_ERRORABORT since Run.
    HRESULT LastAbortCode() const;
    // BeginFlush then EndFlush on every pin a source output connects to.
    HRESULT Flush();
    // Connects the first unconnected output pin of pUpstream to the first
    // unconnected input pin of pDownstream.
    HRESULT ConnectFilters(IBaseFilter* pUpstream, IBaseFilter* pDownstream,
                           const AM_MEDIA_TYPE* pmt = nullptr);

private:
    struct Entry {
        IBaseFilter* filter;
        std::wstring name;
    };

    CFilterGraph() = default;
    ~CFilterGraph();

    bool Contains(IBaseFilter* pFilter) const;
    std::vector<IBaseFilter*> DownstreamFirst() const;
    HRESULT ChangeState(FILTER_STATE target);
    void StopAll(const std::vector<IBaseFilter*>& order);
    void ResetCompletion(const std::vector<IBaseFilter*>& filters);

    std::atomic<ULONG> m_refs{1};
    mutable std::mutex m_control;  // filter list, connections, state changes
    std::vector<Entry> m_filters;
    std::atomic<FILTER_STATE> m_state{State_Stopped};

    mutable std::mutex m_events;
    std::condition_variable m_eventSignal;
    LONG m_renderers = 0;
    LONG m_completed = 0;
    LONG m_abortEvent = 0;
    HRESULT m_abortCode = S_OK;
    unsigned m_stopGeneration = 0;
};
