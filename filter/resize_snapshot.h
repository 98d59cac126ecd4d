// IResizeSnapshot: a resized still picture of the last frame the filter
// received. Slot order is part of the binary interface.
#pragma once

#include "filter/filter_guids.h"
#include "platform/com/unknown.h"

// GetCurrentFrame formats; any other value gives bottom-up 24-bit BGR.
constexpr LONG SNAPSHOT_FORMAT_YUY2 = 1;

class IResizeSnapshot : public IUnknown {
public:
    // Resizes the last input frame to width x height in resize mode `mode`
    // into buffer: YUY2 (width x height x 2 bytes, top line first) for
    // SNAPSHOT_FORMAT_YUY2, else BGR (width x height x 3, bottom line
    // first), and stores the byte count in *written. The buffer must hold
    // that many bytes. A null buffer only prepares the resizer. S_OK with
    // nothing written when no frame has been received since the last stop;
    // E_INVALIDARG for an odd, zero or negative width, a zero or negative
    // height or a picture beyond 32-bit byte counts; E_POINTER for a null
    // `written` with a buffer; E_FAIL when the source size is unknown.
    STDMETHOD(GetCurrentFrame)(BYTE* buffer, ULONG* written, LONG width, LONG height, LONG format,
                               LONG mode) = 0;
    STDMETHOD(Reserved)(ULONG value) = 0;

protected:
    ~IResizeSnapshot() = default;
};
