// DirectShow records with the published field order: media types, video
// format blocks, allocator properties, pin and filter information.
#pragma once

#include "platform/com/unknown.h"
#include "platform/win32/wintypes.h"

#include <cstddef>
#include <cstdint>

typedef LONGLONG REFERENCE_TIME;
typedef wchar_t WCHAR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPWSTR;
typedef std::intptr_t LONG_PTR;

struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;
    ULONG cbFormat;
    BYTE* pbFormat;
};

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
};
static_assert(sizeof(VIDEOINFOHEADER) == 88, "VIDEOINFOHEADER is 88 bytes on Windows");
static_assert(offsetof(VIDEOINFOHEADER, AvgTimePerFrame) == 40 && offsetof(VIDEOINFOHEADER, bmiHeader) == 48,
              "VIDEOINFOHEADER field offsets as on Windows");

struct VIDEOINFOHEADER2 {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    DWORD dwInterlaceFlags;
    DWORD dwCopyProtectFlags;
    DWORD dwPictAspectRatioX;
    DWORD dwPictAspectRatioY;
    union {
        DWORD dwControlFlags;
        DWORD dwReserved1;
    };
    DWORD dwReserved2;
    BITMAPINFOHEADER bmiHeader;
};
static_assert(sizeof(VIDEOINFOHEADER2) == 112, "VIDEOINFOHEADER2 is 112 bytes on Windows");
static_assert(offsetof(VIDEOINFOHEADER2, dwInterlaceFlags) == 48 && offsetof(VIDEOINFOHEADER2, dwPictAspectRatioX) == 56 &&
                  offsetof(VIDEOINFOHEADER2, dwPictAspectRatioY) == 60 && offsetof(VIDEOINFOHEADER2, bmiHeader) == 72,
              "VIDEOINFOHEADER2 field offsets as on Windows");

// dwInterlaceFlags bits.
constexpr DWORD AMINTERLACE_IsInterlaced = 0x00000001;
constexpr DWORD AMINTERLACE_1FieldPerSample = 0x00000002;
constexpr DWORD AMINTERLACE_Field1First = 0x00000004;

struct ALLOCATOR_PROPERTIES {
    LONG cBuffers;
    LONG cbBuffer;
    LONG cbAlign;
    LONG cbPrefix;
};
static_assert(sizeof(ALLOCATOR_PROPERTIES) == 16 && sizeof(REFERENCE_TIME) == 8, "four LONGs; 64-bit times");

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

class IBaseFilter;
class IFilterGraph;

constexpr int MAX_PIN_NAME = 128;
constexpr int MAX_FILTER_NAME = 128;

struct PIN_INFO {
    IBaseFilter* pFilter;  // holds a reference the caller releases
    PIN_DIRECTION dir;
    WCHAR achName[MAX_PIN_NAME];
};

struct FILTER_INFO {
    WCHAR achName[MAX_FILTER_NAME];
    IFilterGraph* pGraph;  // holds a reference the caller releases
};

// Counted array of class identifiers, as ISpecifyPropertyPages returns it.
struct CAUUID {
    ULONG cElems;
    GUID* pElems;
};

// IMemAllocator::GetBuffer flags.
constexpr DWORD AM_GBF_PREVFRAMESKIPPED = 1;
constexpr DWORD AM_GBF_NOTASYNCPOINT = 2;
constexpr DWORD AM_GBF_NOWAIT = 4;

// Graph events a filter reports through IMediaEventSink.
constexpr LONG EC_COMPLETE = 0x01;
constexpr LONG EC_USERABORT = 0x02;
constexpr LONG EC_ERRORABORT = 0x03;

// Time units: 100 ns.
constexpr REFERENCE_TIME UNITS = 10000000;
