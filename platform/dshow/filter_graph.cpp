// The minimal filter graph.
#include "platform/dshow/filter_graph.h"

#include "platform/com/com_ptr.h"

#include <algorithm>
#include <chrono>
#include <new>

namespace {

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter)
{
    std::vector<ComPtr<IPin>> pins;
    ComPtr<IEnumPins> pinEnum;
    if (FAILED(filter->EnumPins(pinEnum.ReleaseAndGetAddressOf())) || !pinEnum)
        return pins;
    for (;;) {
        IPin* pin = nullptr;
        ULONG fetched = 0;
        if (pinEnum->Next(1, &pin, &fetched) != S_OK || fetched != 1 || pin == nullptr)
            break;
        pins.push_back(ComPtr<IPin>::Attach(pin));
    }
    return pins;
}

PIN_DIRECTION DirectionOf(IPin* pin)
{
    PIN_DIRECTION dir = PINDIR_INPUT;
    pin->QueryDirection(&dir);
    return dir;
}

ComPtr<IPin> PeerOf(IPin* pin)
{
    IPin* peer = nullptr;
    if (pin->ConnectedTo(&peer) != S_OK)
        return {};
    return ComPtr<IPin>::Attach(peer);
}

// The filter a pin belongs to, without keeping the reference QueryPinInfo
// hands out (the graph already holds one on every filter it contains).
IBaseFilter* OwnerOf(IPin* pin)
{
    PIN_INFO info{};
    if (FAILED(pin->QueryPinInfo(&info)))
        return nullptr;
    if (info.pFilter)
        info.pFilter->Release();
    return info.pFilter;
}

bool IsRenderer(IBaseFilter* filter)
{
    bool hasInput = false;
    for (auto& pin : PinsOf(filter)) {
        if (DirectionOf(pin.Get()) == PINDIR_OUTPUT)
            return false;
        hasInput = true;
    }
    return hasInput;
}

}  // namespace

HRESULT CFilterGraph::Create(CFilterGraph** ppGraph)
{
    if (ppGraph == nullptr)
        return E_POINTER;
    *ppGraph = new (std::nothrow) CFilterGraph();
    return *ppGraph ? S_OK : E_OUTOFMEMORY;
}

CFilterGraph::~CFilterGraph()
{
    Stop();
    std::lock_guard<std::mutex> lock(m_control);
    // Break every connection first so no filter is left pointing at a pin
    // of a filter that is about to go.
    for (auto& entry : m_filters)
        for (auto& pin : PinsOf(entry.filter)) {
            if (auto peer = PeerOf(pin.Get()))
                peer->Disconnect();
            pin->Disconnect();
        }
    for (auto& entry : m_filters) {
        entry.filter->JoinFilterGraph(nullptr, nullptr);
        entry.filter->Release();
    }
    m_filters.clear();
}

STDMETHODIMP CFilterGraph::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IFilterGraph) {
        *ppv = static_cast<IFilterGraph*>(this);
    } else if (riid == IID_IMediaEventSink) {
        *ppv = static_cast<IMediaEventSink*>(this);
    } else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CFilterGraph::AddRef() { return m_refs.fetch_add(1) + 1; }

STDMETHODIMP_(ULONG) CFilterGraph::Release()
{
    const ULONG left = m_refs.fetch_sub(1) - 1;
    if (left == 0)
        delete this;
    return left;
}

bool CFilterGraph::Contains(IBaseFilter* pFilter) const
{
    return std::any_of(m_filters.begin(), m_filters.end(),
                       [&](const Entry& e) { return e.filter == pFilter; });
}

STDMETHODIMP CFilterGraph::AddFilter(IBaseFilter* pFilter, LPCWSTR pName)
{
    if (pFilter == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_control);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (Contains(pFilter))
        return E_INVALIDARG;
    std::wstring name = pName ? pName : L"";
    if (name.size() >= MAX_FILTER_NAME)
        return E_INVALIDARG;
    if (!name.empty() && std::any_of(m_filters.begin(), m_filters.end(),
                                     [&](const Entry& e) { return e.name == name; }))
        return VFW_E_DUPLICATE_NAME;
    try {
        m_filters.reserve(m_filters.size() + 1);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = pFilter->JoinFilterGraph(this, name.c_str());
    if (FAILED(hr))
        return hr;
    pFilter->AddRef();
    m_filters.push_back(Entry{pFilter, std::move(name)});
    return S_OK;
}

STDMETHODIMP CFilterGraph::RemoveFilter(IBaseFilter* pFilter)
{
    if (pFilter == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_control);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    auto it = std::find_if(m_filters.begin(), m_filters.end(),
                           [&](const Entry& e) { return e.filter == pFilter; });
    if (it == m_filters.end())
        return VFW_E_NOT_FOUND;
    for (auto& pin : PinsOf(pFilter)) {
        if (auto peer = PeerOf(pin.Get()))
            peer->Disconnect();
        pin->Disconnect();
    }
    pFilter->JoinFilterGraph(nullptr, nullptr);
    m_filters.erase(it);
    pFilter->Release();
    return S_OK;
}

STDMETHODIMP CFilterGraph::EnumFilters(IEnumFilters** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    *ppEnum = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CFilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter** ppFilter)
{
    if (pName == nullptr || ppFilter == nullptr)
        return E_POINTER;
    *ppFilter = nullptr;
    std::lock_guard<std::mutex> lock(m_control);
    for (auto& entry : m_filters)
        if (entry.name == pName) {
            *ppFilter = entry.filter;
            entry.filter->AddRef();
            return S_OK;
        }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CFilterGraph::ConnectDirect(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt)
{
    if (ppinOut == nullptr || ppinIn == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_control);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    IBaseFilter* upstream = OwnerOf(ppinOut);
    IBaseFilter* downstream = OwnerOf(ppinIn);
    if (!Contains(upstream) || !Contains(downstream))
        return VFW_E_NOT_IN_GRAPH;
    if (upstream == downstream)
        return VFW_E_CIRCULAR_GRAPH;
    return ppinOut->Connect(ppinIn, pmt);
}

STDMETHODIMP CFilterGraph::Reconnect(IPin* ppin)
{
    return ppin == nullptr ? E_POINTER : E_NOTIMPL;
}

STDMETHODIMP CFilterGraph::Disconnect(IPin* ppin)
{
    if (ppin == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_control);
    if (m_state != State_Stopped)
        return VFW_E_NOT_STOPPED;
    return ppin->Disconnect();
}

STDMETHODIMP CFilterGraph::SetDefaultSyncSource() { return S_OK; }

HRESULT CFilterGraph::ConnectFilters(IBaseFilter* pUpstream, IBaseFilter* pDownstream,
                                     const AM_MEDIA_TYPE* pmt)
{
    if (pUpstream == nullptr || pDownstream == nullptr)
        return E_POINTER;
    auto firstFree = [](IBaseFilter* filter, PIN_DIRECTION dir) -> ComPtr<IPin> {
        for (auto& pin : PinsOf(filter))
            if (DirectionOf(pin.Get()) == dir && !PeerOf(pin.Get()))
                return pin;
        return {};
    };
    ComPtr<IPin> out = firstFree(pUpstream, PINDIR_OUTPUT);
    ComPtr<IPin> in = firstFree(pDownstream, PINDIR_INPUT);
    if (!out || !in)
        return VFW_E_NOT_FOUND;
    return ConnectDirect(out.Get(), in.Get(), pmt);
}

STDMETHODIMP CFilterGraph::Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR)
{
    std::lock_guard<std::mutex> lock(m_events);
    if (EventCode == EC_COMPLETE) {
        ++m_completed;
    } else if (EventCode == EC_ERRORABORT || EventCode == EC_USERABORT) {
        if (m_abortEvent == 0) {
            m_abortEvent = EventCode;
            m_abortCode = EventCode == EC_ERRORABORT ? static_cast<HRESULT>(EventParam1) : E_ABORT;
        }
    } else {
        return S_OK;
    }
    m_eventSignal.notify_all();
    return S_OK;
}

// Renderers first, then every filter once all filters it feeds are placed,
// so no filter starts pushing into, or keeps pushing into, a stopped one.
std::vector<IBaseFilter*> CFilterGraph::DownstreamFirst() const
{
    const std::size_t n = m_filters.size();
    std::vector<std::vector<std::size_t>> feeds(n);
    for (std::size_t i = 0; i < n; ++i)
        for (auto& pin : PinsOf(m_filters[i].filter)) {
            if (DirectionOf(pin.Get()) != PINDIR_OUTPUT)
                continue;
            if (auto peer = PeerOf(pin.Get())) {
                IBaseFilter* owner = OwnerOf(peer.Get());
                for (std::size_t j = 0; j < n; ++j)
                    if (m_filters[j].filter == owner && j != i)
                        feeds[i].push_back(j);
            }
        }
    std::vector<IBaseFilter*> order;
    std::vector<bool> placed(n, false);
    for (bool progress = true; progress && order.size() < n;) {
        progress = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (placed[i])
                continue;
            if (std::all_of(feeds[i].begin(), feeds[i].end(), [&](std::size_t j) { return placed[j]; })) {
                placed[i] = true;
                order.push_back(m_filters[i].filter);
                progress = true;
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i)  // a cycle: whatever is left
        if (!placed[i])
            order.push_back(m_filters[i].filter);
    return order;
}

void CFilterGraph::ResetCompletion(const std::vector<IBaseFilter*>& filters)
{
    LONG renderers = 0;
    for (IBaseFilter* f : filters)
        if (IsRenderer(f))
            ++renderers;
    std::lock_guard<std::mutex> lock(m_events);
    m_renderers = renderers;
    m_completed = 0;
    m_abortEvent = 0;
    m_abortCode = S_OK;
}

void CFilterGraph::StopAll(const std::vector<IBaseFilter*>& order)
{
    for (IBaseFilter* f : order)
        f->Stop();
    m_state = State_Stopped;
    std::lock_guard<std::mutex> lock(m_events);
    ++m_stopGeneration;
    m_eventSignal.notify_all();
}

HRESULT CFilterGraph::ChangeState(FILTER_STATE target)
{
    std::lock_guard<std::mutex> lock(m_control);
    const std::vector<IBaseFilter*> order = DownstreamFirst();
    if (target == State_Stopped) {
        StopAll(order);
        return S_OK;
    }
    if (m_state == State_Stopped)
        ResetCompletion(order);
    if (target == State_Running && m_state == State_Stopped) {
        for (IBaseFilter* f : order) {
            HRESULT hr = f->Pause();
            if (FAILED(hr)) {
                StopAll(order);
                return hr;
            }
        }
        m_state = State_Paused;
    }
    for (IBaseFilter* f : order) {
        HRESULT hr = target == State_Running ? f->Run(0) : f->Pause();
        if (FAILED(hr)) {
            StopAll(order);
            return hr;
        }
    }
    m_state = target;
    return S_OK;
}

HRESULT CFilterGraph::Run() { return ChangeState(State_Running); }
HRESULT CFilterGraph::Pause() { return ChangeState(State_Paused); }
HRESULT CFilterGraph::Stop() { return ChangeState(State_Stopped); }

HRESULT CFilterGraph::GetState(FILTER_STATE* pState) const
{
    if (pState == nullptr)
        return E_POINTER;
    *pState = m_state;
    return S_OK;
}

HRESULT CFilterGraph::LastAbortCode() const
{
    std::lock_guard<std::mutex> lock(m_events);
    return m_abortCode;
}

HRESULT CFilterGraph::WaitForCompletion(LONG msTimeout, LONG* pEvCode)
{
    if (pEvCode == nullptr)
        return E_POINTER;
    *pEvCode = 0;
    std::unique_lock<std::mutex> lock(m_events);
    if (m_state == State_Stopped)
        return VFW_E_WRONG_STATE;
    const unsigned generation = m_stopGeneration;
    auto done = [&] {
        return m_abortEvent != 0 || (m_renderers > 0 && m_completed >= m_renderers) ||
               m_stopGeneration != generation;
    };
    if (msTimeout < 0) {
        m_eventSignal.wait(lock, done);
    } else if (!m_eventSignal.wait_for(lock, std::chrono::milliseconds(msTimeout), done)) {
        return E_ABORT;
    }
    if (m_abortEvent != 0) {
        *pEvCode = m_abortEvent;
        return S_OK;
    }
    if (m_renderers > 0 && m_completed >= m_renderers) {
        *pEvCode = EC_COMPLETE;
        return S_OK;
    }
    return VFW_E_WRONG_STATE;
}

HRESULT CFilterGraph::Flush()
{
    std::lock_guard<std::mutex> lock(m_control);
    std::vector<ComPtr<IPin>> targets;
    for (auto& entry : m_filters) {
        auto pins = PinsOf(entry.filter);
        const bool isSource = std::none_of(pins.begin(), pins.end(), [](const ComPtr<IPin>& p) {
            return DirectionOf(p.Get()) == PINDIR_INPUT;
        });
        if (!isSource)
            continue;
        for (auto& pin : pins)
            if (auto peer = PeerOf(pin.Get()))
                targets.push_back(peer);
    }
    HRESULT result = S_OK;
    for (auto& pin : targets) {
        HRESULT hr = pin->BeginFlush();
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    for (auto& pin : targets) {
        HRESULT hr = pin->EndFlush();
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}
