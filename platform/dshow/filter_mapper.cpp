// The filter mapper over the registry. Every call goes to the registry
// file, so a module registering itself with its own copy of this code and
// a host listing filters with another see the same entries.
#include "platform/dshow/filter_mapper.h"

#include "platform/com/activation.h"
#include "platform/win32/registry_key.h"

#include <atomic>
#include <cstdio>
#include <new>

namespace {

std::wstring GuidText(REFGUID guid)
{
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}

HRESULT FromWin32(LSTATUS status) { return HRESULT_FROM_WIN32(static_cast<DWORD>(status)); }

// Pins and types are numbered keys, zero-padded so the registry's name
// order is their order.
std::wstring Index(std::size_t i)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%03u", static_cast<unsigned>(i));
    return text;
}

std::wstring InstancePath(REFCLSID category, const std::wstring& instance)
{
    return L"CLSID\\" + GuidText(category) + L"\\Instance\\" + instance;
}

// Runs the writes in order and keeps the first failure.
struct Writes {
    LSTATUS status = ERROR_SUCCESS;
    void operator()(LSTATUS next)
    {
        if (status == ERROR_SUCCESS)
            status = next;
    }
};

LSTATUS WriteTypes(const std::wstring& pinPath, std::size_t first, const REGPINTYPES* types, UINT count)
{
    Writes w;
    for (UINT t = 0; t < count && w.status == ERROR_SUCCESS; ++t) {
        RegistryKey key;
        w(key.Create(HKEY_CLASSES_ROOT, pinPath + L"\\Types\\" + Index(first + t)));
        w(key.SetString(L"MajorType", GuidText(types[t].clsMajorType ? *types[t].clsMajorType : GUID_NULL)));
        w(key.SetString(L"SubType", GuidText(types[t].clsMinorType ? *types[t].clsMinorType : GUID_NULL)));
    }
    return w.status;
}

LSTATUS WritePin(const std::wstring& pinPath, const wchar_t* name, DWORD flags, UINT instances,
                 const CLSID* connectsToFilter, const wchar_t* connectsToPin, const REGPINTYPES* types, UINT count)
{
    Writes w;
    RegistryKey key;
    w(key.Create(HKEY_CLASSES_ROOT, pinPath));
    if (name != nullptr)
        w(key.SetString(L"Name", name));
    w(key.SetDword(L"Flags", flags));
    w(key.SetDword(L"Instances", instances));
    w(key.SetString(L"ConnectsToFilter", GuidText(connectsToFilter ? *connectsToFilter : GUID_NULL)));
    w(key.SetString(L"ConnectsToPin", connectsToPin ? connectsToPin : L""));
    if (w.status == ERROR_SUCCESS && count > 0 && types == nullptr)
        return ERROR_INVALID_PARAMETER;
    w(WriteTypes(pinPath, 0, types, count));
    return w.status;
}

DWORD PinFlags(BOOL rendered, BOOL output, BOOL zero, BOOL many)
{
    return (zero ? REG_PINFLAG_B_ZERO : 0u) | (rendered ? REG_PINFLAG_B_RENDERER : 0u) |
           (many ? REG_PINFLAG_B_MANY : 0u) | (output ? REG_PINFLAG_B_OUTPUT : 0u);
}

// A fresh entry: whatever was registered under the name before goes.
LSTATUS WriteEntry(const std::wstring& path, REFCLSID clsid, LPCWSTR name, DWORD merit)
{
    const LSTATUS gone = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (gone != ERROR_SUCCESS && gone != ERROR_FILE_NOT_FOUND)
        return gone;
    Writes w;
    RegistryKey key;
    w(key.Create(HKEY_CLASSES_ROOT, path));
    w(key.SetString(L"FriendlyName", name));
    w(key.SetString(L"CLSID", GuidText(clsid)));
    w(key.SetDword(L"Merit", merit));
    return w.status;
}

// The numbered pin key of the legacy pin called name, or empty.
std::wstring FindPin(const std::wstring& entry, LPCWSTR name, std::size_t* count)
{
    RegistryKey pins;
    *count = 0;
    if (pins.Open(HKEY_CLASSES_ROOT, entry + L"\\Pins") != ERROR_SUCCESS)
        return {};
    const std::vector<std::wstring> numbers = pins.SubkeyNames();
    *count = numbers.size();
    for (const std::wstring& n : numbers) {
        RegistryKey pin;
        std::wstring pinName;
        if (pin.Open(pins.Get(), n) == ERROR_SUCCESS && pin.GetString(L"Name", &pinName) == ERROR_SUCCESS &&
            name != nullptr && pinName == name)
            return entry + L"\\Pins\\" + n;
    }
    return {};
}

std::size_t SubkeyCount(const std::wstring& path)
{
    RegistryKey key;
    return key.Open(HKEY_CLASSES_ROOT, path) == ERROR_SUCCESS ? key.SubkeyNames().size() : 0;
}

bool ReadGuid(const RegistryKey& key, const wchar_t* name, GUID* guid)
{
    std::wstring text;
    return key.GetString(name, &text) == ERROR_SUCCESS && CLSIDFromString(text.c_str(), guid) == S_OK;
}

bool ReadPin(HKEY pins, const std::wstring& number, RegisteredPin* pin)
{
    RegistryKey key;
    if (key.Open(pins, number) != ERROR_SUCCESS)
        return false;
    key.GetString(L"Name", &pin->name);  // absent for pins given without names
    key.GetString(L"ConnectsToPin", &pin->connectsToPin);
    if (key.GetDword(L"Flags", &pin->flags) != ERROR_SUCCESS ||
        key.GetDword(L"Instances", &pin->instances) != ERROR_SUCCESS ||
        !ReadGuid(key, L"ConnectsToFilter", &pin->connectsToFilter))
        return false;
    RegistryKey types;
    if (types.Open(key.Get(), L"Types") != ERROR_SUCCESS)
        return true;
    for (const std::wstring& n : types.SubkeyNames()) {
        RegistryKey type;
        RegisteredPinType t{};
        if (type.Open(types.Get(), n) != ERROR_SUCCESS || !ReadGuid(type, L"MajorType", &t.major) ||
            !ReadGuid(type, L"SubType", &t.minor))
            return false;
        pin->types.push_back(t);
    }
    return true;
}

class CFilterMapper final : public IFilterMapper2, public IFilterMapper {
public:
    static HRESULT Create(LPUNKNOWN outer, REFIID riid, void** ppv)
    {
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* mapper = new (std::nothrow) CFilterMapper;
        if (mapper == nullptr)
            return E_OUTOFMEMORY;
        mapper->AddRef();
        const HRESULT hr = mapper->QueryInterface(riid, ppv);
        mapper->Release();
        return hr;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IFilterMapper2)
            *ppv = static_cast<IFilterMapper2*>(this);
        else if (riid == IID_IFilterMapper)
            *ppv = static_cast<IFilterMapper*>(this);
        else
            *ppv = nullptr;
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = --m_refs;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IFilterMapper2
    STDMETHODIMP CreateCategory(REFCLSID clsidCategory, DWORD dwCategoryMerit, LPCWSTR Description) override
    {
        if (Description == nullptr)
            return E_POINTER;
        return FromWin32(WriteEntry(InstancePath(CLSID_ActiveMovieCategories, GuidText(clsidCategory)),
                                    clsidCategory, Description, dwCategoryMerit));
    }
    STDMETHODIMP UnregisterFilter(const CLSID* pclsidCategory, LPCWSTR szInstance, REFCLSID Filter) override
    {
        const std::wstring path = InstancePath(pclsidCategory ? *pclsidCategory : CLSID_LegacyAmFilterCategory,
                                               szInstance ? std::wstring(szInstance) : GuidText(Filter));
        return FromWin32(RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str()));
    }
    STDMETHODIMP RegisterFilter(REFCLSID clsidFilter, LPCWSTR Name, IMoniker** ppMoniker, const CLSID* pclsidCategory,
                                LPCWSTR szInstance, const REGFILTER2* prf2) override
    {
        if (ppMoniker != nullptr)
            *ppMoniker = nullptr;
        if (Name == nullptr || prf2 == nullptr)
            return E_POINTER;
        if (prf2->dwVersion != 1 && prf2->dwVersion != 2)
            return E_INVALIDARG;
        const ULONG pins = prf2->dwVersion == 1 ? prf2->cPins : prf2->cPins2;
        if (pins > 0 && (prf2->dwVersion == 1 ? static_cast<const void*>(prf2->rgPins) : prf2->rgPins2) == nullptr)
            return E_POINTER;
        const std::wstring path = InstancePath(pclsidCategory ? *pclsidCategory : CLSID_LegacyAmFilterCategory,
                                               szInstance ? std::wstring(szInstance) : GuidText(clsidFilter));
        LSTATUS status = WriteEntry(path, clsidFilter, Name, prf2->dwMerit);
        for (ULONG i = 0; i < pins && status == ERROR_SUCCESS; ++i) {
            const std::wstring pinPath = path + L"\\Pins\\" + Index(i);
            if (prf2->dwVersion == 1) {
                const REGFILTERPINS& p = prf2->rgPins[i];
                status = WritePin(pinPath, p.strName ? p.strName : L"", PinFlags(p.bRendered, p.bOutput, p.bZero, p.bMany),
                                  0, p.clsConnectsToFilter, p.strConnectsToPin, p.lpMediaType, p.nMediaTypes);
            } else {
                const REGFILTERPINS2& p = prf2->rgPins2[i];
                status = WritePin(pinPath, nullptr, p.dwFlags, p.cInstances, nullptr, nullptr, p.lpMediaType,
                                  p.nMediaTypes);
            }
        }
        return FromWin32(status);
    }
    STDMETHODIMP EnumMatchingFilters(IEnumMoniker** ppEnum, DWORD, BOOL, DWORD, BOOL, DWORD, const GUID*,
                                     const REGPINMEDIUM*, const CLSID*, BOOL, BOOL, DWORD, const GUID*,
                                     const REGPINMEDIUM*, const CLSID*) override
    {
        if (ppEnum != nullptr)
            *ppEnum = nullptr;
        return E_NOTIMPL;
    }

    // IFilterMapper
    STDMETHODIMP RegisterFilter(CLSID clsid, LPCWSTR Name, DWORD dwMerit) override
    {
        if (Name == nullptr)
            return E_POINTER;
        return FromWin32(WriteEntry(LegacyPath(clsid), clsid, Name, dwMerit));
    }
    STDMETHODIMP RegisterFilterInstance(CLSID, LPCWSTR, CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP RegisterPin(CLSID Filter, LPCWSTR Name, BOOL bRendered, BOOL bOutput, BOOL bZero, BOOL bMany,
                             CLSID ConnectsToFilter, LPCWSTR ConnectsToPin) override
    {
        if (Name == nullptr)
            return E_POINTER;
        const std::wstring entry = LegacyPath(Filter);
        RegistryKey key;
        if (const LSTATUS status = key.Open(HKEY_CLASSES_ROOT, entry); status != ERROR_SUCCESS)
            return FromWin32(status);
        std::size_t count = 0;
        std::wstring pin = FindPin(entry, Name, &count);
        if (!pin.empty())
            RegDeleteTreeW(HKEY_CLASSES_ROOT, pin.c_str());
        else
            pin = entry + L"\\Pins\\" + Index(count);
        return FromWin32(WritePin(pin, Name, PinFlags(bRendered, bOutput, bZero, bMany), 0, &ConnectsToFilter,
                                  ConnectsToPin, nullptr, 0));
    }
    STDMETHODIMP RegisterPinType(CLSID clsFilter, LPCWSTR strName, CLSID clsMajorType, CLSID clsSubType) override
    {
        std::size_t count = 0;
        const std::wstring pin = FindPin(LegacyPath(clsFilter), strName, &count);
        if (pin.empty())
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        const REGPINTYPES type{&clsMajorType, &clsSubType};
        return FromWin32(WriteTypes(pin, SubkeyCount(pin + L"\\Types"), &type, 1));
    }
    STDMETHODIMP UnregisterFilter(CLSID Filter) override
    {
        return FromWin32(RegDeleteTreeW(HKEY_CLASSES_ROOT, LegacyPath(Filter).c_str()));
    }
    STDMETHODIMP UnregisterFilterInstance(CLSID) override { return E_NOTIMPL; }
    STDMETHODIMP UnregisterPin(CLSID Filter, LPCWSTR Name) override
    {
        std::size_t count = 0;
        const std::wstring pin = FindPin(LegacyPath(Filter), Name, &count);
        return pin.empty() ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
                           : FromWin32(RegDeleteTreeW(HKEY_CLASSES_ROOT, pin.c_str()));
    }
    STDMETHODIMP EnumMatchingFilters(IEnumRegFilters** ppEnum, DWORD, BOOL, CLSID, CLSID, BOOL, BOOL, CLSID,
                                     CLSID) override
    {
        if (ppEnum != nullptr)
            *ppEnum = nullptr;
        return E_NOTIMPL;
    }

private:
    static std::wstring LegacyPath(REFCLSID clsid) { return InstancePath(CLSID_LegacyAmFilterCategory, GuidText(clsid)); }

    std::atomic<LONG> m_refs{0};
};

}  // namespace

void RegisterFilterMapperClasses()
{
    RegisterRuntimeClass(CLSID_FilterMapper2, CFilterMapper::Create);
    RegisterRuntimeClass(CLSID_FilterMapper, CFilterMapper::Create);
}

HRESULT FindRegisteredFilters(REFCLSID category, std::vector<RegisteredFilter>* filters)
{
    if (filters == nullptr)
        return E_POINTER;
    filters->clear();
    RegistryKey instances;
    const LSTATUS status = instances.Open(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(category) + L"\\Instance");
    if (status == ERROR_FILE_NOT_FOUND)
        return S_OK;
    if (status != ERROR_SUCCESS)
        return FromWin32(status);
    for (const std::wstring& instance : instances.SubkeyNames()) {
        RegistryKey entry;
        RegisteredFilter filter;
        if (entry.Open(instances.Get(), instance) != ERROR_SUCCESS ||
            entry.GetString(L"FriendlyName", &filter.name) != ERROR_SUCCESS ||
            entry.GetDword(L"Merit", &filter.merit) != ERROR_SUCCESS || !ReadGuid(entry, L"CLSID", &filter.clsid))
            continue;
        RegistryKey pins;
        bool whole = true;
        if (pins.Open(entry.Get(), L"Pins") == ERROR_SUCCESS)
            for (const std::wstring& n : pins.SubkeyNames()) {
                filter.pins.emplace_back();
                whole = whole && ReadPin(pins.Get(), n, &filter.pins.back());
            }
        if (whole)
            filters->push_back(std::move(filter));
    }
    return S_OK;
}
