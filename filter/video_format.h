// Reading and editing the video format blocks the filter negotiates:
// which YUY2 types it takes, the source size and aspect they describe, and
// the output geometry written into offered and forwarded types. Every
// reader goes through the length-checked views of media_type.h, so a
// block shorter than its header is never read.
#pragma once

#include "platform/dshow/media_types.h"

namespace tulfilter {

// FORMAT_VideoInfo or FORMAT_VideoInfo2, whatever the block holds.
bool HasVideoInfoFormat(const AM_MEDIA_TYPE& mt);

// Video, YUY2, a whole VIDEOINFOHEADER or VIDEOINFOHEADER2 block with a
// 16-bit picture.
bool IsAcceptableYuy2(const AM_MEDIA_TYPE& mt);

// biWidth and the magnitude of biHeight. False, leaving the outputs alone,
// without a whole video-info block or when the height has no positive
// 32-bit magnitude.
bool SourceSizeOf(const AM_MEDIA_TYPE& mt, LONG* width, LONG* height);

struct SourceShape {
    LONG aspectX;
    LONG aspectY;
    bool interlaced;
};

// The picture aspect and interlace flag of a whole VIDEOINFOHEADER2 block;
// false for anything else. Aspect terms that are zero or do not fit a
// positive 32-bit value stand for 1:1 (the pixel shape itself).
bool SourceShapeOf(const AM_MEDIA_TYPE& mt, SourceShape* shape);

// Rewrites a type for a YUY2 output of width x height: the picture size
// and biSizeImage in either video-info block, and for VIDEOINFOHEADER2 the
// picture aspect, clearing the interlace flags first when asked. Types
// without a whole video-info block are left unchanged.
void ApplyOutputGeometry(AM_MEDIA_TYPE& mt, LONG width, LONG height, LONG aspectX, LONG aspectY,
                         bool progressive);

}  // namespace tulfilter
