// GUID, its comparison and its braced text form, and DEFINE_GUID, which
// declares a published identifier once for every translation unit.
#pragma once

#include "platform/win32/wintypes.h"

#include <cstddef>

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
static_assert(sizeof(GUID) == 16 && offsetof(GUID, Data4) == 8, "GUID is 16 bytes, Data4 last");

typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) noexcept
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
constexpr bool IsEqualIID(REFIID a, REFIID b) noexcept { return IsEqualGUID(a, b); }
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) noexcept { return IsEqualGUID(a, b); }
constexpr bool operator==(REFGUID a, REFGUID b) noexcept { return IsEqualGUID(a, b); }
constexpr bool operator!=(REFGUID a, REFGUID b) noexcept { return !IsEqualGUID(a, b); }
// Published identifiers come in families that differ in Data1 alone; the
// headers check each family with this.
constexpr bool SameGuidFamily(REFGUID a, REFGUID b) noexcept
{
    GUID tail = a;
    tail.Data1 = b.Data1;
    return IsEqualGUID(tail, b);
}

// Inline constants: one object for the whole program however many units
// include the header, so a GUID's address may also be compared.
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}

DEFINE_GUID(GUID_NULL, 0x00000000, 0x0000, 0x0000, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00);
#define CLSID_NULL GUID_NULL
#define IID_NULL GUID_NULL

// Writes "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and its terminator (39
// characters) into text, as StringFromGUID2 does; returns the characters
// written including the terminator, or 0 when capacity is too small.
int StringFromGUID2(REFGUID guid, wchar_t* text, int capacity);
// The same in narrow characters, for registry key names and messages.
int GuidToText(REFGUID guid, char* text, std::size_t capacity);
// Reads the braced form back (hex digits in either case); false, leaving
// *guid alone, for anything else.
bool TextToGuid(const char* text, GUID* guid);
