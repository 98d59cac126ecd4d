// The graph a run streams through: a push source offering the input's
// YUY2 type, the "Vexo Tul Rezzo Filter", and a sample sink. The filter is
// set through IResizeSettings before its output is connected, because the
// output size is fixed per connection.
#pragma once

#include "apps/tulrezzo/stream_info.h"
#include "filter/framework/push_source.h"
#include "filter/framework/sample_sink.h"
#include "filter/resize_settings.h"
#include "filter/resize_snapshot.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/filter_graph.h"

#include <string>

namespace tulrezzo {

struct FilterSettings {
    FrameSize size{320, 240};
    LONG mode = RESIZE_MODE_FIT;
    Ratio outputAspect{1, 1};
    LONG method = FIELD_FILL_NONE;
    LONG policy = FIELD_POLICY_AUTO;
};

// The type the source offers: YUY2 with a VIDEOINFOHEADER2 carrying the
// picture aspect, the interlace flags (top field first unless 'b') and
// the frame duration.
CMediaType Yuy2MediaType(const StreamInfo& info);

// Start time of frame `index` at `rate`, in 100 ns units, kept inside
// the 64-bit range for absurd rates.
REFERENCE_TIME FrameStart(ULONG index, Ratio rate);

// "0x80004005" and, for the codes a run meets, what they mean.
std::string HresultText(HRESULT hr);

class ResizeGraph {
public:
    // Builds and connects the three filters; throws a Failure when a
    // filter cannot be made, a setting is refused or a connection fails.
    ResizeGraph(const StreamInfo& input, const FilterSettings& settings, PushFrameCallback source,
                SampleCallback sink);
    ~ResizeGraph();
    ResizeGraph(const ResizeGraph&) = delete;
    ResizeGraph& operator=(const ResizeGraph&) = delete;

    HRESULT Run() { return m_graph->Run(); }
    // The graph's WaitForCompletion: S_OK with the event, E_ABORT on timeout.
    HRESULT WaitForCompletion(LONG msTimeout, LONG* event) { return m_graph->WaitForCompletion(msTimeout, event); }
    HRESULT LastAbortCode() const { return m_graph->LastAbortCode(); }
    HRESULT Stop() { return m_graph->Stop(); }
    IResizeSnapshot* Snapshot() { return m_snapshot.Get(); }

private:
    ComPtr<CFilterGraph> m_graph;
    ComPtr<CPushSource> m_source;
    ComPtr<IBaseFilter> m_filter;
    ComPtr<IResizeSettings> m_settings;
    ComPtr<IResizeSnapshot> m_snapshot;
    ComPtr<CSampleSink> m_sink;
};

}  // namespace tulrezzo
