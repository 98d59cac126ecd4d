// The enumerated properties of the tulrezzo element and their filter values.
#pragma once

#include "platform/win32/wintypes.h"

#include <glib-object.h>

namespace tulgst {

enum class Mode { Stretch = 0, KeepAspect = 1 };
enum class Deinterlace { None = 0, Double = 1, Average = 2 };
enum class Policy { Auto = 0, Always = 1, Never = 2 };

GType ModeType();
GType DeinterlaceType();
GType PolicyType();

// The IResizeSettings values each stands for.
LONG FilterMode(Mode mode);
LONG FilterMethod(Deinterlace method);
LONG FilterPolicy(Policy policy);

}  // namespace tulgst
