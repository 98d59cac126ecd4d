// IResizeSettings: the filter's settings as applications and the property
// page see them. Slot order is part of the binary interface.
#pragma once

#include "filter/core/resize_settings_values.h"
#include "filter/filter_guids.h"
#include "platform/com/unknown.h"

class IResizeSettings : public IUnknown {
public:
    // S_FALSE, leaving the size alone, for an odd, zero or negative width,
    // a zero or negative height, a frame too large for 32-bit buffer sizes,
    // or while the output pin is connected.
    STDMETHOD(SetOutputSize)(LONG width, LONG height) = 0;
    // Null out-parameters are skipped. canChange is FALSE while the output
    // pin is connected.
    STDMETHOD(GetOutputSize)(LONG* width, LONG* height, BOOL* canChange) = 0;
    // Stored only; the picture path never reads it.
    STDMETHOD(SetBackgroundColor)(DWORD color) = 0;
    STDMETHOD(GetBackgroundColor)(DWORD* color) = 0;
    // RESIZE_MODE_FIT or RESIZE_MODE_KEEP_ASPECT; other values stretch.
    STDMETHOD(SetResizeMode)(LONG mode) = 0;
    STDMETHOD(GetResizeMode)(LONG* mode) = 0;
    // S_FALSE for a term of zero or below.
    STDMETHOD(SetOutputAspectRatio)(LONG x, LONG y) = 0;
    STDMETHOD(GetOutputAspectRatio)(LONG* x, LONG* y) = 0;
    // FIELD_FILL_NONE, FIELD_FILL_DOUBLE or FIELD_FILL_AVERAGE.
    STDMETHOD(SetDeinterlaceMethod)(LONG method) = 0;
    STDMETHOD(GetDeinterlaceMethod)(LONG* method) = 0;
    STDMETHOD(Reserved1)(LONG a, LONG b, LONG c) = 0;
    STDMETHOD(Reserved2)(LONG a, LONG b, LONG c) = 0;
    // FIELD_POLICY_AUTO, FIELD_POLICY_ALWAYS, anything else never. These
    // two take no lock, so a control panel never waits for a frame.
    STDMETHOD(SetDeinterlacePolicy)(LONG policy) = 0;
    STDMETHOD(GetDeinterlacePolicy)(LONG* policy) = 0;

protected:
    ~IResizeSettings() = default;
};
