// The filter mapper: IFilterMapper2 and the older IFilterMapper in their
// published slot order, the registration records, merit values, and the
// runtime classes that serve both interfaces from one object. Entries live
// in the registry under the category's key, one readable key per filter:
//   CLSID\{category}\Instance\{filter}  FriendlyName, CLSID, Merit (dword)
//     Pins\000 ...                       Name, Flags, Instances,
//                                        ConnectsToFilter, ConnectsToPin
//       Types\000 ...                    MajorType, SubType
#pragma once

#include "platform/com/unknown.h"
#include "platform/dshow/media_types.h"

#include <string>
#include <vector>

DEFINE_GUID(CLSID_FilterMapper, 0x4315D437, 0x5B8C, 0x11d0, 0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);
DEFINE_GUID(CLSID_FilterMapper2, 0xCDA42200, 0xBD88, 0x11d0, 0xBD, 0x4E, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);
DEFINE_GUID(IID_IFilterMapper, 0x56a868a3, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70);
DEFINE_GUID(IID_IFilterMapper2, 0xb79bb0b0, 0x33c1, 0x11d1, 0xab, 0xe1, 0x00, 0xa0, 0xc9, 0x05, 0xf3, 0x75);
// The default category: DirectShow filters registered without one.
DEFINE_GUID(CLSID_LegacyAmFilterCategory, 0x083863F1, 0x70DE, 0x11d0, 0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);
// Where categories themselves are listed.
DEFINE_GUID(CLSID_ActiveMovieCategories, 0xDA4E3DA0, 0xD07D, 0x11d0, 0xBD, 0x50, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86);

constexpr DWORD MERIT_PREFERRED = 0x800000;
constexpr DWORD MERIT_NORMAL = 0x600000;
constexpr DWORD MERIT_UNLIKELY = 0x400000;
constexpr DWORD MERIT_DO_NOT_USE = 0x200000;
constexpr DWORD MERIT_SW_COMPRESSOR = 0x100000;
constexpr DWORD MERIT_HW_COMPRESSOR = 0x100050;

constexpr DWORD REG_PINFLAG_B_ZERO = 0x1;
constexpr DWORD REG_PINFLAG_B_RENDERER = 0x2;
constexpr DWORD REG_PINFLAG_B_MANY = 0x4;
constexpr DWORD REG_PINFLAG_B_OUTPUT = 0x8;

struct REGPINTYPES {
    const CLSID* clsMajorType;
    const CLSID* clsMinorType;
};

struct REGFILTERPINS {
    LPWSTR strName;
    BOOL bRendered;
    BOOL bOutput;
    BOOL bZero;
    BOOL bMany;
    const CLSID* clsConnectsToFilter;
    const WCHAR* strConnectsToPin;
    UINT nMediaTypes;
    const REGPINTYPES* lpMediaType;
};

struct REGPINMEDIUM {
    CLSID clsMedium;
    DWORD dw1;
    DWORD dw2;
};

struct REGFILTERPINS2 {
    DWORD dwFlags;
    UINT cInstances;
    UINT nMediaTypes;
    const REGPINTYPES* lpMediaType;
    UINT nMediums;
    const REGPINMEDIUM* lpMedium;
    const CLSID* clsPinCategory;
};

// dwVersion 1 uses cPins/rgPins, 2 uses cPins2/rgPins2.
struct REGFILTER2 {
    DWORD dwVersion;
    DWORD dwMerit;
    union {
        struct {
            ULONG cPins;
            const REGFILTERPINS* rgPins;
        };
        struct {
            ULONG cPins2;
            const REGFILTERPINS2* rgPins2;
        };
    };
};

class IMoniker;  // no monikers here: RegisterFilter sets *ppMoniker to null
class IEnumMoniker;
class IEnumRegFilters;

class IFilterMapper2 : public IUnknown {
public:
    STDMETHOD(CreateCategory)(REFCLSID clsidCategory, DWORD dwCategoryMerit, LPCWSTR Description) = 0;
    // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when the filter is not there.
    STDMETHOD(UnregisterFilter)(const CLSID* pclsidCategory, LPCWSTR szInstance, REFCLSID Filter) = 0;
    // A null category is CLSID_LegacyAmFilterCategory; a null instance name
    // is the filter's class identifier. Registering again replaces.
    STDMETHOD(RegisterFilter)(REFCLSID clsidFilter, LPCWSTR Name, IMoniker** ppMoniker, const CLSID* pclsidCategory,
                              LPCWSTR szInstance, const REGFILTER2* prf2) = 0;
    // E_NOTIMPL: there are no monikers; FindRegisteredFilters is the lookup.
    STDMETHOD(EnumMatchingFilters)(IEnumMoniker** ppEnum, DWORD dwFlags, BOOL bExactMatch, DWORD dwMerit,
                                   BOOL bInputNeeded, DWORD cInputTypes, const GUID* pInputTypes,
                                   const REGPINMEDIUM* pMedIn, const CLSID* pPinCategoryIn, BOOL bRender,
                                   BOOL bOutputNeeded, DWORD cOutputTypes, const GUID* pOutputTypes,
                                   const REGPINMEDIUM* pMedOut, const CLSID* pPinCategoryOut) = 0;

protected:
    ~IFilterMapper2() = default;
};

// The older interface; its filters go to CLSID_LegacyAmFilterCategory.
class IFilterMapper : public IUnknown {
public:
    STDMETHOD(RegisterFilter)(CLSID clsid, LPCWSTR Name, DWORD dwMerit) = 0;
    STDMETHOD(RegisterFilterInstance)(CLSID clsid, LPCWSTR Name, CLSID* MRId) = 0;
    STDMETHOD(RegisterPin)(CLSID Filter, LPCWSTR Name, BOOL bRendered, BOOL bOutput, BOOL bZero, BOOL bMany,
                           CLSID ConnectsToFilter, LPCWSTR ConnectsToPin) = 0;
    STDMETHOD(RegisterPinType)(CLSID clsFilter, LPCWSTR strName, CLSID clsMajorType, CLSID clsSubType) = 0;
    STDMETHOD(UnregisterFilter)(CLSID Filter) = 0;
    STDMETHOD(UnregisterFilterInstance)(CLSID MRId) = 0;
    STDMETHOD(UnregisterPin)(CLSID Filter, LPCWSTR Name) = 0;
    STDMETHOD(EnumMatchingFilters)(IEnumRegFilters** ppEnum, DWORD dwMerit, BOOL bInputNeeded, CLSID clsInMaj,
                                   CLSID clsInSub, BOOL bRender, BOOL bOututNeeded, CLSID clsOutMaj,
                                   CLSID clsOutSub) = 0;

protected:
    ~IFilterMapper() = default;
};

// Makes CLSID_FilterMapper2 and CLSID_FilterMapper creatable through
// CoCreateInstance; idempotent.
void RegisterFilterMapperClasses();

// What the registry holds for one filter, for programs and tests.
struct RegisteredPinType {
    GUID major;
    GUID minor;
};
struct RegisteredPin {
    std::wstring name;
    DWORD flags = 0;  // REG_PINFLAG_B_*
    DWORD instances = 0;
    GUID connectsToFilter{};
    std::wstring connectsToPin;
    std::vector<RegisteredPinType> types;
};
struct RegisteredFilter {
    CLSID clsid{};
    std::wstring name;
    DWORD merit = 0;
    std::vector<RegisteredPin> pins;
};
// The filters of a category; entries that do not read back whole are skipped.
HRESULT FindRegisteredFilters(REFCLSID category, std::vector<RegisteredFilter>* filters);
