// The snapshot action: a still of the filter's last input frame as a
// GstSample.
#pragma once

#include "filter/resize_snapshot.h"

#include <gst/gst.h>

#include <string>

namespace tulgst {

// A width x height still from IResizeSnapshot::GetCurrentFrame in resize
// mode `mode`, format "yuy2" or "bgr24". The filter gives BGR bottom line
// first; the sample holds it top line first, as GStreamer pictures are.
// Null with *why when the format is unknown, the size is refused or too
// large, or no frame has arrived since the stream started.
GstSample* TakeSnapshot(IResizeSnapshot* snapshot, gint width, gint height, const gchar* format, LONG mode,
                        std::string* why);

}  // namespace tulgst
