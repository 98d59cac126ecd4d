// CImageResizer: the filter's handle on one TulImage resizer. It turns the
// filter's settings into a prepared plan (picture rectangle, whether to
// deinterlace first) and resizes one YUY2 frame at a time. The in-place
// field fill the filter applies to interlaced input lives here too.
#pragma once

#include "image/TulImage.h"
#include "platform/win32/wintypes.h"

#include <memory>

class CImageResizer {
public:
    CImageResizer();
    ~CImageResizer();
    // Owns its TulImage and the plan inside it.
    CImageResizer(const CImageResizer&) = delete;
    CImageResizer& operator=(const CImageResizer&) = delete;

    // Prepares the resizer for srcWidth x srcHeight frames into
    // outWidth x outHeight frames. Returns TulImage::InitializeEx's status
    // (0 success, 1 no memory), or 3 for sizes or aspect terms that give no
    // picture or whose frames would not fit 32-bit byte counts. After a
    // failure the slot is unprepared and Resize refuses to run.
    ULONG Prepare(LONG srcWidth, LONG srcHeight, LONG srcAspectX, LONG srcAspectY,
                  LONG outWidth, LONG outHeight, LONG outAspectX, LONG outAspectY, LONG mode,
                  LONG policy);

    // Resizes one frame by the prepared plan: TulImage::ResizeYUY2's status,
    // 3 for a null frame, or 4 when the slot is not prepared.
    ULONG Resize(unsigned char* src, unsigned char* dst);

    bool FillsFields() const { return m_fillFields; }

    // False when the TulImage could not be allocated: the slot can then
    // never resize, and its owner should not be handed out.
    bool HasImage() const { return m_image != nullptr; }

    // In-place deinterlace of a frame of height lines of width x 2 bytes.
    static void FillFields(unsigned char* frame, LONG width, LONG height, LONG method);

    // Whether a frame of srcHeight lines scaled to pictureHeight lines must
    // have its fields filled first.
    static bool NeedsFieldFill(LONG srcHeight, LONG pictureHeight, LONG policy);

private:
    std::unique_ptr<TulImage> m_image;
    // Output frame bytes of the last successful preparation; 0 while the
    // slot is unprepared.
    ULONG m_outputBytes;
    bool m_fillFields;
};
