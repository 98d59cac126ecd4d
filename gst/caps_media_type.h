// GStreamer caps and the filter's media types: the element's sink caps
// become the filter's input type, the filter's output type becomes the
// element's source caps.
#pragma once

#include "filter/framework/media_type.h"

#include <gst/video/video.h>

namespace tulgst {

// A YUY2 VIDEOINFOHEADER2 type for `info`: the picture size, the picture
// aspect from the pixel aspect ratio, the interlace flags from the
// interlace mode and field order (top field first unless the caps say
// bottom), the frame duration from the frame rate. False for a picture
// beyond 32-bit sizes.
bool InputMediaType(const GstVideoInfo& info, CMediaType* type);

// The source caps for the filter's output type `type`, carrying over
// from `input` what the filter leaves alone (frame rate, colorimetry):
// its size, the pixel aspect ratio its picture aspect gives, and
// progressive when the type no longer says interlaced. Null for a type
// without a VIDEOINFOHEADER2 block.
GstCaps* OutputCaps(const AM_MEDIA_TYPE& type, const GstCaps* input);

}  // namespace tulgst
