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

bool TextToGuid(const char* text, GUID* guid)
{
    // Field widths of the braced form; dashes sit between them.
    static constexpr int kDigits[] = {8, 4, 4, 4, 12};
    if (text == nullptr || guid == nullptr || text[0] != '{')
        return false;
    unsigned long long fields[5] = {};
    const char* p = text + 1;
    for (int f = 0; f < 5; ++f) {
        for (int d = 0; d < kDigits[f]; ++d, ++p) {
            const char c = *p;
            const int v = (c >= '0' && c <= '9')   ? c - '0'
                          : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                          : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                   : -1;
            if (v < 0)
                return false;
            fields[f] = fields[f] * 16 + static_cast<unsigned>(v);
        }
        if (*p++ != (f == 4 ? '}' : '-'))
            return false;
    }
    if (*p != '\0')
        return false;
    guid->Data1 = static_cast<DWORD>(fields[0]);
    guid->Data2 = static_cast<WORD>(fields[1]);
    guid->Data3 = static_cast<WORD>(fields[2]);
    guid->Data4[0] = static_cast<BYTE>(fields[3] >> 8);
    guid->Data4[1] = static_cast<BYTE>(fields[3]);
    for (int i = 0; i < 6; ++i)
        guid->Data4[2 + i] = static_cast<BYTE>(fields[4] >> (40 - 8 * i));
    return true;
}
