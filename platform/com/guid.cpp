// Braced text form of a GUID, as the registry and messages spell it.
#include "platform/com/guid.h"

#include <cstdio>

int GuidToText(REFGUID guid, char* text, std::size_t capacity)
{
    constexpr std::size_t kLength = 39;  // 38 characters and the terminator
    if (text == nullptr || capacity < kLength)
        return 0;
    std::snprintf(text, capacity, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return static_cast<int>(kLength);
}

int StringFromGUID2(REFGUID guid, wchar_t* text, int capacity)
{
    char narrow[39];
    if (text == nullptr || capacity < 39 || GuidToText(guid, narrow, sizeof narrow) == 0)
        return 0;
    for (int i = 0; i < 39; ++i)
        text[i] = static_cast<wchar_t>(narrow[i]);
    return 39;
}
