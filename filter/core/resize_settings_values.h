// Values of the filter's resize settings: how the picture fills the output
// frame, how interlaced input is filled in, and when. Shared by the resizer
// slot, the settings interface and the property page.
#pragma once

#include "platform/win32/wintypes.h"

// Resize modes. Any value other than RESIZE_MODE_KEEP_ASPECT stretches.
constexpr LONG RESIZE_MODE_FIT = 1;
constexpr LONG RESIZE_MODE_KEEP_ASPECT = 2;

// In-place deinterlace methods. Any other value leaves the frame alone.
constexpr LONG FIELD_FILL_NONE = 0;
constexpr LONG FIELD_FILL_DOUBLE = 1;
constexpr LONG FIELD_FILL_AVERAGE = 2;

// When the picture keeps the source height: AUTO fills fields unless the
// height is a multiple of 32, ALWAYS fills them, any other value never does.
constexpr LONG FIELD_POLICY_AUTO = 0;
constexpr LONG FIELD_POLICY_ALWAYS = 3;
