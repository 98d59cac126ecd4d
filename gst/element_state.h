// What a tulrezzo element holds besides its GObject part: the settings as
// its properties show them, the hosted filter, and the negotiated stream.
// Every field is guarded by `lock`, which also serialises every call into
// the filter (streaming, settings, snapshots). It is recursive because
// errors are posted while it is held, and a bus sync handler may call
// back into the element on the same thread.
#pragma once

#include "gst/element_enums.h"
#include "gst/filter_host.h"

#include <gst/video/video.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>

namespace tulgst {

struct Settings {
    gint width = 320;
    gint height = 240;
    Mode mode = Mode::Stretch;
    gint aspectN = 1;
    gint aspectD = 1;
    Deinterlace deinterlace = Deinterlace::None;
    Policy policy = Policy::Auto;
};

// An output buffer and, when the filter's sample carried a type, the caps
// that type gives.
struct Output {
    GstBuffer* buffer = nullptr;
    GstCaps* caps = nullptr;
};

// The times of the buffer being fed, in both units.
struct FedTimes {
    bool hasStart = false;
    bool hasStop = false;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    GstClockTime pts = GST_CLOCK_TIME_NONE;
    GstClockTime duration = GST_CLOCK_TIME_NONE;
};

struct ElementState {
    std::recursive_mutex lock;
    Settings settings;
    std::unique_ptr<FilterHost> host;
    std::string hostError;
    // A filter never connected, made when a setting must be checked while
    // the hosted filter's output is connected.
    ComPtr<IResizeSettings> probe;

    // The sink caps the graph is connected for, and their description.
    GstCaps* connectedCaps = nullptr;
    GstVideoInfo inputInfo{};
    CMediaType inputType;
    // The output caps of the connection.
    GstCaps* outputCaps = nullptr;
    // A setting that only a new connection applies has changed.
    bool reconnect = false;
    // Read outside the lock: whether this run has told of a downstream
    // refusing the output size.
    std::atomic<bool> refusalReported{false};

    // Filled by the sink callback while a buffer is fed, drained by
    // generate_output.
    std::deque<Output> pending;
    FedTimes fed;
    // Where output buffers come from, for frames of poolSize bytes.
    GstBufferPool* pool = nullptr;
    guint poolSize = 0;
};

}  // namespace tulgst
