// Registration of a module's classes and filters. COM is initialised on
// the calling thread around the mapper steps, and unused servers are
// freed afterwards, as a registration tool expects of DllRegisterServer.
#include "filter/framework/registration.h"

#include "filter/framework/setup.h"
#include "platform/com/activation.h"
#include "platform/com/com_ptr.h"
#include "platform/com/module_path.h"
#include "platform/win32/registry_key.h"
#include "platform/win32/registry_text.h"

namespace {

std::wstring ClassKey(REFCLSID clsid)
{
    wchar_t text[39];
    StringFromGUID2(clsid, text, 39);
    return std::wstring(L"CLSID\\") + text;
}

HRESULT FromWin32(LSTATUS status) { return HRESULT_FROM_WIN32(static_cast<DWORD>(status)); }

HRESULT WriteClassKeys(const CFactoryTemplate& row, const std::wstring& modulePath)
{
    RegistryKey key, server;
    LSTATUS status = key.Create(HKEY_CLASSES_ROOT, ClassKey(*row.m_ClsID));
    if (status == ERROR_SUCCESS)
        status = key.SetString(L"", row.m_Name != nullptr ? row.m_Name : L"");
    if (status == ERROR_SUCCESS)
        status = server.Create(key.Get(), L"InprocServer32");
    if (status == ERROR_SUCCESS)
        status = server.SetString(L"", modulePath);
    if (status == ERROR_SUCCESS)
        status = server.SetString(L"ThreadingModel", L"Both");
    return FromWin32(status);
}

// The newer mapper, or the older one when the newer cannot be had.
struct Mapper {
    ComPtr<IFilterMapper2> v2;
    ComPtr<IFilterMapper> v1;
    HRESULT Create()
    {
        RegisterFilterMapperClasses();
        HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                      reinterpret_cast<void**>(v2.ReleaseAndGetAddressOf()));
        if (FAILED(hr))
            hr = CoCreateInstance(CLSID_FilterMapper, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper,
                                  reinterpret_cast<void**>(v1.ReleaseAndGetAddressOf()));
        return hr;
    }
    HRESULT Register(const AMOVIESETUP_FILTER& setup)
    {
        if (v2) {
            REGFILTER2 rf2{};
            rf2.dwVersion = 1;
            rf2.dwMerit = setup.dwMerit;
            rf2.cPins = setup.nPins;
            rf2.rgPins = setup.lpPin;
            return v2->RegisterFilter(*setup.clsID, setup.strName, nullptr, &CLSID_LegacyAmFilterCategory, nullptr,
                                      &rf2);
        }
        HRESULT hr = v1->RegisterFilter(*setup.clsID, setup.strName, setup.dwMerit);
        for (UINT p = 0; p < setup.nPins && SUCCEEDED(hr); ++p) {
            const AMOVIESETUP_PIN& pin = setup.lpPin[p];
            hr = v1->RegisterPin(*setup.clsID, pin.strName, pin.bRendered, pin.bOutput, pin.bZero, pin.bMany,
                                 pin.clsConnectsToFilter ? *pin.clsConnectsToFilter : CLSID_NULL, pin.strConnectsToPin);
            for (UINT t = 0; t < pin.nMediaTypes && SUCCEEDED(hr); ++t)
                hr = v1->RegisterPinType(*setup.clsID, pin.strName, *pin.lpMediaType[t].clsMajorType,
                                         *pin.lpMediaType[t].clsMinorType);
        }
        return hr;
    }
    HRESULT Unregister(const AMOVIESETUP_FILTER& setup)
    {
        const HRESULT hr = v2 ? v2->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *setup.clsID)
                              : v1->UnregisterFilter(*setup.clsID);
        return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : hr;
    }
};

HRESULT MapperStep(const CFactoryTemplate* templates, int count, BOOL bRegister)
{
    const HRESULT init = CoInitialize(nullptr);
    HRESULT hr = S_OK;
    {
        Mapper mapper;
        hr = mapper.Create();
        for (int i = 0; i < count && SUCCEEDED(hr); ++i)
            if (templates[i].m_pAMovieSetup_Filter != nullptr)
                hr = bRegister ? mapper.Register(*templates[i].m_pAMovieSetup_Filter)
                               : mapper.Unregister(*templates[i].m_pAMovieSetup_Filter);
    }
    CoFreeUnusedLibraries();
    if (SUCCEEDED(init))
        CoUninitialize();
    return hr;
}

}  // namespace

HRESULT RegisterModuleTemplates(const CFactoryTemplate* templates, int count, const void* addressInModule,
                                BOOL bRegister)
{
    if (templates == nullptr && count > 0)
        return E_POINTER;
    if (!bRegister) {
        if (const HRESULT hr = MapperStep(templates, count, FALSE); FAILED(hr))
            return hr;
        for (int i = 0; i < count; ++i) {
            const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(*templates[i].m_ClsID).c_str());
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                return FromWin32(status);
        }
        return S_OK;
    }
    std::string path;
    if (const HRESULT hr = GetModulePathOf(addressInModule, &path); FAILED(hr))
        return hr;
    const std::wstring widePath = regtext::FromUtf8(path);
    for (int i = 0; i < count; ++i)
        if (const HRESULT hr = WriteClassKeys(templates[i], widePath); FAILED(hr))
            return hr;
    return MapperStep(templates, count, TRUE);
}
