// The element's graph. Every COM object is held by a ComPtr, so a failure
// at any step releases what was made before it.
#include "gst/filter_host.h"

#include "gst/filter_module.h"
#include "gst/hresult_text.h"
#include "platform/dshow/dshow_guids.h"

#include <vector>

namespace tulgst {
namespace {

std::vector<ComPtr<IPin>> PinsOf(IBaseFilter* filter)
{
    std::vector<ComPtr<IPin>> pins;
    IEnumPins* pEnum = nullptr;
    if (FAILED(filter->EnumPins(&pEnum)) || pEnum == nullptr)
        return pins;
    IPin* pin = nullptr;
    while (pEnum->Next(1, &pin, nullptr) == S_OK)
        pins.push_back(ComPtr<IPin>::Attach(pin));
    pEnum->Release();
    return pins;
}

}  // namespace

std::unique_ptr<FilterHost> FilterHost::Create(SampleCallback sink, std::string* why)
{
    std::unique_ptr<FilterHost> host(new FilterHost());
    HRESULT hr = CreateResizeFilter(host->m_filter.ReleaseAndGetAddressOf(), why);
    if (FAILED(hr))
        return nullptr;
    if (FAILED(host->m_filter.As(IID_IResizeSettings, &host->m_settings)) ||
        FAILED(host->m_filter.As(IID_IResizeSnapshot, &host->m_snapshot))) {
        *why = "the filter lacks its settings or snapshot interface";
        return nullptr;
    }
    CFeedSource* source = nullptr;
    hr = CFeedSource::Create(&source);
    host->m_source = ComPtr<CFeedSource>::Attach(source);
    CSampleSink* rawSink = nullptr;
    if (SUCCEEDED(hr))
        hr = CSampleSink::Create(std::move(sink), &rawSink);
    host->m_sink = ComPtr<CSampleSink>::Attach(rawSink);
    if (SUCCEEDED(hr))
        hr = CFilterGraph::Create(host->m_graph.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr))
        hr = host->m_graph->AddFilter(host->m_source.Get(), L"source");
    if (SUCCEEDED(hr))
        hr = host->m_graph->AddFilter(host->m_filter.Get(), L"Vexo Tul Rezzo Filter");
    if (SUCCEEDED(hr))
        hr = host->m_graph->AddFilter(host->m_sink.Get(), L"sink");
    if (FAILED(hr)) {
        *why = "cannot assemble the filter's graph (" + HresultText(hr) + ")";
        return nullptr;
    }
    return host;
}

FilterHost::~FilterHost()
{
    if (m_graph)
        Disconnect();
}

void FilterHost::Disconnect()
{
    m_graph->Stop();
    for (IBaseFilter* f : {static_cast<IBaseFilter*>(m_source.Get()), m_filter.Get(),
                           static_cast<IBaseFilter*>(m_sink.Get())})
        for (auto& pin : PinsOf(f))
            m_graph->Disconnect(pin.Get());
    m_connected = false;
}

HRESULT FilterHost::Connect(const CMediaType& input, LONG width, LONG height, std::string* why)
{
    Disconnect();
    HRESULT hr = m_source->SetType(input);
    if (FAILED(hr)) {
        *why = "cannot describe the input (" + HresultText(hr) + ")";
        return hr;
    }
    // S_FALSE is the filter's refusal, so test for S_OK exactly.
    if (m_settings->SetOutputSize(width, height) != S_OK) {
        *why = "the filter refuses the output size " + std::to_string(width) + "x" + std::to_string(height);
        return S_FALSE;
    }
    hr = m_graph->ConnectFilters(m_source.Get(), m_filter.Get());
    if (FAILED(hr)) {
        *why = "the filter refuses the input type (" + HresultText(hr) + ")";
        return hr;
    }
    hr = m_graph->ConnectFilters(m_filter.Get(), m_sink.Get());
    if (SUCCEEDED(hr))
        hr = m_graph->Run();
    if (FAILED(hr)) {
        *why = "cannot connect or start the filter's output (" + HresultText(hr) + ")";
        Disconnect();
        return hr;
    }
    m_connected = true;
    return S_OK;
}

const CMediaType& FilterHost::OutputType() const { return m_sink->GetPin(0)->CurrentMediaType(); }

ComPtr<IResizeSettings> CreateProbeSettings(std::string* why)
{
    ComPtr<IBaseFilter> filter;
    ComPtr<IResizeSettings> settings;
    if (SUCCEEDED(CreateResizeFilter(filter.ReleaseAndGetAddressOf(), why)))
        filter.As(IID_IResizeSettings, &settings);
    return settings;
}

}  // namespace tulgst
