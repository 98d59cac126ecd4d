// The tulrezzo element: negotiation, streaming and the snapshot action.
// Each input buffer becomes one sample delivered to the hosted filter; the
// samples the filter delivers in return (none, one or more) are queued by
// the sink callback and handed out one by one by generate_output.
#include "gst/tulrezzo_element.h"

#include "gst/caps_media_type.h"
#include "gst/element_properties.h"
#include "gst/element_state.h"
#include "gst/guarded.h"
#include "gst/hresult_text.h"
#include "gst/snapshot_sample.h"

#include <gst/video/video.h>

#include <utility>

GST_DEBUG_CATEGORY_STATIC(tul_rezzo_debug);
#define GST_CAT_DEFAULT tul_rezzo_debug

G_DEFINE_TYPE(GstTulRezzo, gst_tul_rezzo, GST_TYPE_BASE_TRANSFORM)

namespace tulgst {
namespace {

constexpr gint64 kNanosecondsPerUnit = 100;

GstStaticPadTemplate sinkTemplate = GST_STATIC_PAD_TEMPLATE(
    "sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("YUY2")));
GstStaticPadTemplate srcTemplate = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("YUY2")));

ElementState& StateOf(GstBaseTransform* trans) { return *GST_TUL_REZZO(trans)->state; }

// The output size the properties hold now, read under the element's lock.
std::pair<gint, gint> ConfiguredSize(ElementState& st)
{
    std::lock_guard<std::recursive_mutex> lock(st.lock);
    return {st.settings.width, st.settings.height};
}

void ReplaceCaps(GstCaps** slot, GstCaps* caps)
{
    if (*slot != nullptr)
        gst_caps_unref(*slot);
    *slot = caps;
}

void DropPending(ElementState& st)
{
    for (Output& o : st.pending) {
        gst_buffer_unref(o.buffer);
        if (o.caps != nullptr)
            gst_caps_unref(o.caps);
    }
    st.pending.clear();
}

void ReleasePool(ElementState& st)
{
    if (st.pool != nullptr) {
        gst_buffer_pool_set_active(st.pool, FALSE);
        gst_object_unref(st.pool);
        st.pool = nullptr;
    }
}

// Output buffers come from a pool of the frame size, so a stream does not
// allocate (and fault in) a new frame for every buffer it sends.
GstBuffer* AcquireOutputBuffer(ElementState& st, guint size)
{
    if (st.pool == nullptr || st.poolSize != size) {
        ReleasePool(st);
        GstBufferPool* pool = gst_buffer_pool_new();
        GstStructure* config = gst_buffer_pool_get_config(pool);
        gst_buffer_pool_config_set_params(config, nullptr, size, 0, 0);
        if (!gst_buffer_pool_set_config(pool, config) || !gst_buffer_pool_set_active(pool, TRUE)) {
            gst_object_unref(pool);
            return gst_buffer_new_allocate(nullptr, size, nullptr);
        }
        st.pool = pool;
        st.poolSize = size;
    }
    GstBuffer* buffer = nullptr;
    if (gst_buffer_pool_acquire_buffer(st.pool, &buffer, nullptr) != GST_FLOW_OK)
        return nullptr;
    return buffer;
}

// One output sample as a buffer with the sample's times and flags; the
// type the filter attached, as caps. Runs inside Feed, so st.lock is held.
HRESULT TakeOutput(ElementState& st, IMediaSample* sample)
{
    BYTE* data = nullptr;
    const LONG length = sample->GetActualDataLength();
    if (FAILED(sample->GetPointer(&data)) || data == nullptr || length <= 0)
        return S_OK;
    GstBuffer* buffer = AcquireOutputBuffer(st, static_cast<guint>(length));
    if (buffer == nullptr)
        return E_OUTOFMEMORY;
    gst_buffer_fill(buffer, 0, data, static_cast<gsize>(length));
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    const HRESULT timed = sample->GetTime(&start, &stop);
    if (SUCCEEDED(timed) && start >= 0) {
        // Times the filter passed on unchanged get back the nanoseconds the
        // 100 ns units dropped, so timestamps do not drift downstream.
        const FedTimes& fed = st.fed;
        const bool same = fed.hasStart && start == fed.start;
        GST_BUFFER_PTS(buffer) = same ? fed.pts : static_cast<GstClockTime>(start) * kNanosecondsPerUnit;
        if (timed == S_OK && stop >= start)
            GST_BUFFER_DURATION(buffer) = same && fed.hasStop && stop == fed.stop
                                              ? fed.duration
                                              : static_cast<GstClockTime>(stop - start) * kNanosecondsPerUnit;
    }
    if (sample->IsDiscontinuity() == S_OK)
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
    if (sample->IsSyncPoint() != S_OK)
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
    Output out{buffer, nullptr};
    AM_MEDIA_TYPE* type = nullptr;
    if (sample->GetMediaType(&type) == S_OK && type != nullptr) {
        out.caps = OutputCaps(*type, st.connectedCaps);
        DeleteMediaType(type);
    }
    st.pending.push_back(out);
    return S_OK;
}

bool CreateHostLocked(ElementState& st)
{
    if (st.host)
        return true;
    ElementState* state = &st;
    st.host = FilterHost::Create([state](IMediaSample* s) { return TakeOutput(*state, s); }, &st.hostError);
    if (!st.host)
        return false;
    ApplySettingsLocked(st);
    return true;
}

// Connects the hosted graph for `incaps` unless it already is and no
// setting waits for a new connection. st.lock held.
bool EnsureConnectedLocked(GstTulRezzo* self, ElementState& st, GstCaps* incaps)
{
    if (st.host && st.host->Connected() && !st.reconnect && st.connectedCaps != nullptr &&
        gst_caps_is_equal(st.connectedCaps, incaps))
        return true;
    if (!CreateHostLocked(st)) {
        GST_ELEMENT_ERROR(self, LIBRARY, INIT, ("Cannot create the Vexo Tul Rezzo Filter"), ("%s", st.hostError.c_str()));
        return false;
    }
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, incaps)) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("Cannot read the input caps"), ("%" GST_PTR_FORMAT, incaps));
        return false;
    }
    // The filter takes whole frames; a buffer holding one field is not one.
    if (GST_VIDEO_INFO_INTERLACE_MODE(&info) == GST_VIDEO_INTERLACE_MODE_ALTERNATE) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("Fields in separate buffers are not taken; weave them first"),
                          (nullptr));
        return false;
    }
    // A YUY2 pair carries two pixels' luma and one chroma sample.
    if (GST_VIDEO_INFO_WIDTH(&info) % 2 != 0) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("YUY2 input needs an even width, not %d", GST_VIDEO_INFO_WIDTH(&info)),
                          (nullptr));
        return false;
    }
    CMediaType type;
    if (!InputMediaType(info, &type)) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("The input picture is too large: %dx%d", GST_VIDEO_INFO_WIDTH(&info),
                                                    GST_VIDEO_INFO_HEIGHT(&info)), (nullptr));
        return false;
    }
    std::string why;
    ReplaceCaps(&st.connectedCaps, nullptr);
    const HRESULT hr = st.host->Connect(type, st.settings.width, st.settings.height, &why);
    if (hr != S_OK) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("The Vexo Tul Rezzo Filter does not take this stream"),
                          ("%s; input %" GST_PTR_FORMAT, why.c_str(), incaps));
        return false;
    }
    GstCaps* output = OutputCaps(st.host->OutputType(), incaps);
    if (output == nullptr) {
        st.host->Disconnect();
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("The filter's output type has no picture description"), (nullptr));
        return false;
    }
    ReplaceCaps(&st.connectedCaps, gst_caps_ref(incaps));
    ReplaceCaps(&st.outputCaps, output);
    st.inputInfo = info;
    st.inputType = type;
    st.reconnect = false;
    return true;
}

GstCaps* TransformCaps(GstBaseTransform* trans, GstPadDirection direction, GstCaps* caps, GstCaps* filter)
{
    ElementState& st = StateOf(trans);
    const auto [width, height] = ConfiguredSize(st);
    // Towards the source pad: the configured size, with the pixel shape
    // and the scan the filter decides at connection. Towards the sink
    // pad: any size.
    GstCaps* result = gst_caps_new_empty();
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        GstStructure* s = gst_structure_copy(gst_caps_get_structure(caps, i));
        if (direction == GST_PAD_SINK)
            gst_structure_set(s, "width", G_TYPE_INT, width, "height", G_TYPE_INT, height, nullptr);
        else
            gst_structure_set(s, "width", GST_TYPE_INT_RANGE, 1, G_MAXINT, "height", GST_TYPE_INT_RANGE, 1, G_MAXINT,
                              nullptr);
        gst_structure_remove_fields(s, "pixel-aspect-ratio", "interlace-mode", "field-order", nullptr);
        result = gst_caps_merge_structure(result, s);
    }
    if (filter != nullptr) {
        GstCaps* both = gst_caps_intersect_full(filter, result, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(result);
        result = both;
    }
    return result;
}

GstCaps* FixateCaps(GstBaseTransform* trans, GstPadDirection direction, GstCaps* caps, GstCaps* othercaps)
{
    if (direction != GST_PAD_SINK)
        return GST_BASE_TRANSFORM_CLASS(gst_tul_rezzo_parent_class)->fixate_caps(trans, direction, caps, othercaps);
    ElementState& st = StateOf(trans);
    GstCaps* output = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(st.lock);
        if (EnsureConnectedLocked(GST_TUL_REZZO(trans), st, caps))
            output = gst_caps_ref(st.outputCaps);
    }
    if (output == nullptr) {
        gst_caps_unref(othercaps);
        return gst_caps_new_empty();
    }
    GstCaps* agreed = gst_caps_intersect(output, othercaps);
    if (gst_caps_is_empty(agreed))
        GST_ELEMENT_ERROR(trans, CORE, NEGOTIATION, ("Downstream does not accept the filter's output"),
                          ("output %" GST_PTR_FORMAT ", downstream %" GST_PTR_FORMAT, output, othercaps));
    gst_caps_unref(output);
    gst_caps_unref(othercaps);
    return gst_caps_fixate(agreed);
}

gboolean SetCaps(GstBaseTransform* trans, GstCaps* incaps, GstCaps* outcaps)
{
    ElementState& st = StateOf(trans);
    std::lock_guard<std::recursive_mutex> lock(st.lock);
    if (!EnsureConnectedLocked(GST_TUL_REZZO(trans), st, incaps))
        return FALSE;
    if (!gst_caps_can_intersect(outcaps, st.outputCaps)) {
        GST_ELEMENT_ERROR(trans, CORE, NEGOTIATION, ("Downstream insists on caps the filter does not produce"),
                          ("asked %" GST_PTR_FORMAT ", the filter gives %" GST_PTR_FORMAT, outcaps, st.outputCaps));
        return FALSE;
    }
    return TRUE;
}

// A downstream that takes only other sizes is told so by name, rather than
// by the generic "not negotiated" of an empty intersection; once per run.
bool DownstreamTakesSize(GstBaseTransform* trans)
{
    ElementState& st = StateOf(trans);
    const auto [width, height] = ConfiguredSize(st);
    GstCaps* wanted = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "YUY2", "width", G_TYPE_INT, width,
                                          "height", G_TYPE_INT, height, nullptr);
    GstCaps* peer = gst_pad_peer_query_caps(trans->srcpad, wanted);
    const bool refused = gst_caps_is_empty(peer);
    gst_caps_unref(peer);
    gst_caps_unref(wanted);
    if (refused && !st.refusalReported.exchange(true))
        GST_ELEMENT_ERROR(trans, CORE, NEGOTIATION,
                          ("Downstream does not accept %dx%d YUY2, the size tulrezzo is set to", width, height),
                          ("Set the width and height properties to a size downstream accepts"));
    return !refused;
}

gboolean SinkEvent(GstBaseTransform* trans, GstEvent* event)
{
    if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS && !DownstreamTakesSize(trans)) {
        gst_event_unref(event);
        return FALSE;
    }
    return GST_BASE_TRANSFORM_CLASS(gst_tul_rezzo_parent_class)->sink_event(trans, event);
}

// Upstream learns of the refusal first, through the caps it asks for.
gboolean Query(GstBaseTransform* trans, GstPadDirection direction, GstQuery* query)
{
    const gboolean answered = GST_BASE_TRANSFORM_CLASS(gst_tul_rezzo_parent_class)->query(trans, direction, query);
    if (answered && direction == GST_PAD_SINK && GST_QUERY_TYPE(query) == GST_QUERY_CAPS) {
        GstCaps* result = nullptr;
        gst_query_parse_caps_result(query, &result);
        if (result != nullptr && gst_caps_is_empty(result))
            DownstreamTakesSize(trans);
    }
    return answered;
}

GstFlowReturn FeedLocked(GstTulRezzo* self, ElementState& st, GstBuffer* in)
{
    if (!st.host || !st.host->Connected()) {
        GST_ELEMENT_ERROR(self, CORE, NEGOTIATION, ("A buffer arrived before the caps were agreed"), (nullptr));
        return GST_FLOW_NOT_NEGOTIATED;
    }
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &st.inputInfo, in, GST_MAP_READ)) {
        GST_ELEMENT_ERROR(self, STREAM, FAILED, ("An input buffer does not hold a whole picture"),
                          ("%" G_GSIZE_FORMAT " bytes for %dx%d", gst_buffer_get_size(in),
                           GST_VIDEO_INFO_WIDTH(&st.inputInfo), GST_VIDEO_INFO_HEIGHT(&st.inputInfo)));
        return GST_FLOW_ERROR;
    }
    FeedPicture picture;
    picture.data = static_cast<const BYTE*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    picture.stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    picture.rowBytes = GST_VIDEO_FRAME_WIDTH(&frame) * 2;
    picture.rows = GST_VIDEO_FRAME_HEIGHT(&frame);
    const GstClockTime pts = GST_BUFFER_PTS(in);
    const GstClockTime duration = GST_BUFFER_DURATION(in);
    if (GST_CLOCK_TIME_IS_VALID(pts) && pts / kNanosecondsPerUnit <= static_cast<GstClockTime>(G_MAXINT64 / 2)) {
        picture.hasStart = true;
        picture.start = static_cast<REFERENCE_TIME>(pts / kNanosecondsPerUnit);
        if (GST_CLOCK_TIME_IS_VALID(duration) && duration / kNanosecondsPerUnit <= static_cast<GstClockTime>(G_MAXINT64 / 2)) {
            picture.hasStop = true;
            picture.stop = picture.start + static_cast<REFERENCE_TIME>(duration / kNanosecondsPerUnit);
        }
    }
    st.fed = FedTimes{picture.hasStart, picture.hasStop, picture.start, picture.stop, pts, duration};
    picture.discontinuity = GST_BUFFER_FLAG_IS_SET(in, GST_BUFFER_FLAG_DISCONT);
    picture.syncPoint = !GST_BUFFER_FLAG_IS_SET(in, GST_BUFFER_FLAG_DELTA_UNIT);
    // The type rides on every sample, so the filter's output sample says
    // how it treated this very frame (progressive once deinterlaced).
    picture.type = &st.inputType;
    const HRESULT hr = st.host->Feed(picture);
    gst_video_frame_unmap(&frame);
    if (FAILED(hr)) {
        GST_ELEMENT_ERROR(self, STREAM, FAILED, ("The Vexo Tul Rezzo Filter failed on a frame"),
                          ("Receive returned %s", HresultText(hr).c_str()));
        return GST_FLOW_ERROR;
    }
    return GST_FLOW_OK;
}

GstFlowReturn GenerateOutput(GstBaseTransform* trans, GstBuffer** outbuf)
{
    *outbuf = nullptr;
    ElementState& st = StateOf(trans);
    GstBuffer* in = trans->queued_buf;
    trans->queued_buf = nullptr;
    Output next;
    {
        std::lock_guard<std::recursive_mutex> lock(st.lock);
        if (in != nullptr) {
            const GstFlowReturn flow = FeedLocked(GST_TUL_REZZO(trans), st, in);
            gst_buffer_unref(in);
            if (flow != GST_FLOW_OK)
                return flow;
        }
        if (st.pending.empty())
            return GST_FLOW_OK;
        next = st.pending.front();
        st.pending.pop_front();
        // What the filter said of this frame is the output type from now
        // on, also for a renegotiation that keeps the input caps.
        if (next.caps != nullptr && st.outputCaps != nullptr && !gst_caps_is_equal(next.caps, st.outputCaps))
            ReplaceCaps(&st.outputCaps, gst_caps_ref(next.caps));
    }
    if (next.caps != nullptr) {
        GstCaps* current = gst_pad_get_current_caps(trans->srcpad);
        if (current == nullptr || !gst_caps_is_equal(current, next.caps))
            gst_base_transform_update_src_caps(trans, next.caps);
        if (current != nullptr)
            gst_caps_unref(current);
        gst_caps_unref(next.caps);
    }
    *outbuf = next.buffer;
    return GST_FLOW_OK;
}

gboolean Start(GstBaseTransform* trans)
{
    ElementState& st = StateOf(trans);
    std::lock_guard<std::recursive_mutex> lock(st.lock);
    st.refusalReported = false;
    if (!CreateHostLocked(st)) {
        GST_ELEMENT_ERROR(trans, LIBRARY, INIT, ("Cannot create the Vexo Tul Rezzo Filter"), ("%s", st.hostError.c_str()));
        return FALSE;
    }
    return TRUE;
}

gboolean Stop(GstBaseTransform* trans)
{
    ElementState& st = StateOf(trans);
    std::lock_guard<std::recursive_mutex> lock(st.lock);
    if (st.host)
        st.host->Disconnect();
    ReplaceCaps(&st.connectedCaps, nullptr);
    ReplaceCaps(&st.outputCaps, nullptr);
    DropPending(st);
    ReleasePool(st);
    return TRUE;
}

GstSample* Snapshot(GstTulRezzo* self, gint width, gint height, const gchar* format)
{
    ElementState& st = *self->state;
    std::string why;
    GstSample* sample = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(st.lock);
        if (CreateHostLocked(st))
            sample = TakeSnapshot(st.host->Snapshot(), width, height, format, FilterMode(st.settings.mode), &why);
        else
            why = st.hostError;
    }
    if (sample == nullptr)
        GST_ELEMENT_WARNING(self, RESOURCE, READ, ("No snapshot: %s", why.c_str()), (nullptr));
    return sample;
}

void Finalize(GObject* object)
{
    GstTulRezzo* self = GST_TUL_REZZO(object);
    if (ElementState* st = self->state) {
        st->host.reset();
        ReplaceCaps(&st->connectedCaps, nullptr);
        ReplaceCaps(&st->outputCaps, nullptr);
        DropPending(*st);
        ReleasePool(*st);
        delete st;
        self->state = nullptr;
    }
    G_OBJECT_CLASS(gst_tul_rezzo_parent_class)->finalize(object);
}

}  // namespace
}  // namespace tulgst

static void gst_tul_rezzo_class_init(GstTulRezzoClass* klass)
{
    using namespace tulgst;
    GST_DEBUG_CATEGORY_INIT(tul_rezzo_debug, "tulrezzo", 0, "Vexo Tul Rezzo Filter element");
    GObjectClass* gobject = G_OBJECT_CLASS(klass);
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    GstBaseTransformClass* trans = GST_BASE_TRANSFORM_CLASS(klass);

    gobject->finalize = [](GObject* object) { Guarded([&] { Finalize(object); }); };
    InstallProperties(gobject);

    klass->snapshot = [](GstTulRezzo* self, gint width, gint height, const gchar* format) {
        return Guarded<GstSample*>(nullptr, [&] { return Snapshot(self, width, height, format); });
    };
    // GstSample* snapshot(gint width, gint height, const gchar* format):
    // the last input frame resized to width x height in the current mode,
    // format "yuy2" or "bgr24"; BGR rows are turned top line first, as
    // GStreamer pictures are. Null, with a warning, when none is possible.
    g_signal_new("snapshot", G_TYPE_FROM_CLASS(klass), static_cast<GSignalFlags>(G_SIGNAL_RUN_LAST | G_SIGNAL_ACTION),
                 G_STRUCT_OFFSET(GstTulRezzoClass, snapshot), nullptr, nullptr, nullptr, GST_TYPE_SAMPLE, 3, G_TYPE_INT,
                 G_TYPE_INT, G_TYPE_STRING);

    gst_element_class_add_static_pad_template(element, &sinkTemplate);
    gst_element_class_add_static_pad_template(element, &srcTemplate);
    gst_element_class_set_static_metadata(
        element, "Vexo Tul Rezzo Filter", "Filter/Converter/Video/Scaler",
        "Resizes YUY2 video to the configured size through the Vexo Tul Rezzo Filter, stretched or with its "
        "aspect kept, deinterlacing on the way when asked. The \"snapshot\" action (width, height, \"yuy2\" or "
        "\"bgr24\") returns the last input frame as a GstSample, BGR turned top line first.",
        "Vexo");

    trans->transform_caps = [](GstBaseTransform* t, GstPadDirection d, GstCaps* c, GstCaps* f) {
        return Guarded<GstCaps*>(nullptr, [&] { return TransformCaps(t, d, c, f); });
    };
    trans->fixate_caps = [](GstBaseTransform* t, GstPadDirection d, GstCaps* c, GstCaps* o) {
        return Guarded<GstCaps*>(nullptr, [&] { return FixateCaps(t, d, c, o); });
    };
    trans->set_caps = [](GstBaseTransform* t, GstCaps* i, GstCaps* o) {
        return Guarded<gboolean>(FALSE, [&] { return SetCaps(t, i, o); });
    };
    trans->sink_event = [](GstBaseTransform* t, GstEvent* e) {
        return Guarded<gboolean>(FALSE, [&] { return SinkEvent(t, e); });
    };
    trans->query = [](GstBaseTransform* t, GstPadDirection d, GstQuery* q) {
        return Guarded<gboolean>(FALSE, [&] { return Query(t, d, q); });
    };
    trans->generate_output = [](GstBaseTransform* t, GstBuffer** out) {
        *out = nullptr;
        return Guarded<GstFlowReturn>(GST_FLOW_ERROR, [&] { return GenerateOutput(t, out); });
    };
    trans->start = [](GstBaseTransform* t) { return Guarded<gboolean>(FALSE, [&] { return Start(t); }); };
    trans->stop = [](GstBaseTransform* t) { return Guarded<gboolean>(FALSE, [&] { return Stop(t); }); };
    trans->passthrough_on_same_caps = FALSE;
}

static void gst_tul_rezzo_init(GstTulRezzo* self)
{
    using namespace tulgst;
    self->state = new ElementState();
    gst_video_info_init(&self->state->inputInfo);
    // Made now so that settings are checked by the filter as they are set;
    // a module that cannot be loaded is reported when the element starts.
    Guarded([self] {
        std::lock_guard<std::recursive_mutex> lock(self->state->lock);
        CreateHostLocked(*self->state);
    });
}
