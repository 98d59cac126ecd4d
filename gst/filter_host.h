// The element's own graph: a feeding source (host side) -> the resize
// filter -> a sample sink (host side). The filter is driven only through
// its pins and its settings interface, exactly as in any other graph; the
// host decides nothing about the picture.
#pragma once

#include "filter/framework/sample_sink.h"
#include "filter/resize_settings.h"
#include "filter/resize_snapshot.h"
#include "gst/feed_source.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/filter_graph.h"

#include <memory>
#include <string>

namespace tulgst {

class FilterHost {
public:
    // The filter from the module (registered or loaded directly) in a new
    // graph; `sink` is called with every output sample on the thread that
    // calls Feed. Null with *why on failure.
    static std::unique_ptr<FilterHost> Create(SampleCallback sink, std::string* why);
    ~FilterHost();
    FilterHost(const FilterHost&) = delete;
    FilterHost& operator=(const FilterHost&) = delete;

    IResizeSettings* Settings() const { return m_settings.Get(); }
    IResizeSnapshot* Snapshot() const { return m_snapshot.Get(); }

    // Stops and takes the graph apart, sets the output size while the
    // filter's output is unconnected (the only time it accepts one), and
    // connects input and output again with `input` and runs. S_FALSE when
    // the filter refuses the size; a failure when it refuses the input or
    // the output cannot connect; *why says which.
    HRESULT Connect(const CMediaType& input, LONG width, LONG height, std::string* why);
    // Stops the graph and disconnects every pin.
    void Disconnect();
    bool Connected() const { return m_connected; }
    // The type the filter's output is connected with.
    const CMediaType& OutputType() const;

    // One picture through the filter; its output samples reach the sink
    // callback before this returns.
    HRESULT Feed(const FeedPicture& picture) { return m_source->Feed(picture); }

private:
    FilterHost() = default;

    ComPtr<CFilterGraph> m_graph;
    ComPtr<CFeedSource> m_source;
    ComPtr<IBaseFilter> m_filter;
    ComPtr<IResizeSettings> m_settings;
    ComPtr<IResizeSnapshot> m_snapshot;
    ComPtr<CSampleSink> m_sink;
    bool m_connected = false;
};

// A filter that is never connected, asked whether it takes an output size
// or aspect while the element's own filter is connected and cannot say.
ComPtr<IResizeSettings> CreateProbeSettings(std::string* why);

}  // namespace tulgst
