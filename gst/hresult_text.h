// An HRESULT as the eight hex digits the element's messages show, so every
// message names a failure the same way.
#pragma once

#include "platform/com/unknown.h"

#include <cstdio>
#include <string>

namespace tulgst {

inline std::string HresultText(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

}  // namespace tulgst
