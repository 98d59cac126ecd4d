// The class factory over a module's template table, and the helpers the
// module's DllGetClassObject and DllCanUnloadNow are written with.
#pragma once

#include "filter/framework/combase.h"

#include <atomic>

struct AMOVIESETUP_FILTER;

// Creation function: allocates the object for the given outer unknown; on
// failure stores the reason in *phr and returns null.
typedef CUnknown* (*LPFNNewCOMObject)(LPUNKNOWN pUnkOuter, HRESULT* phr);
// Called with TRUE when the module loads and FALSE when it unloads.
typedef void (*LPFNInitRoutine)(BOOL bLoading, const CLSID* rclsid);

class CFactoryTemplate {
public:
    const wchar_t* m_Name;
    const CLSID* m_ClsID;
    LPFNNewCOMObject m_lpfnNew;
    LPFNInitRoutine m_lpfnInit;
    const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter;

    BOOL IsClassID(REFCLSID rclsid) const { return m_ClsID != nullptr && IsEqualCLSID(*m_ClsID, rclsid); }
    CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) const;
};

class CClassFactory final : public IClassFactory {
public:
    explicit CClassFactory(const CFactoryTemplate* pTemplate);
    ~CClassFactory();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // When aggregated (pUnkOuter non-null) only IID_IUnknown may be asked
    // for; otherwise the object is created and queried for riid.
    STDMETHODIMP CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL fLock) override;

private:
    std::atomic<LONG> m_cRef{0};
    const CFactoryTemplate* m_pTemplate;
};

// DllGetClassObject over a template table: E_NOINTERFACE unless riid is
// IClassFactory or IUnknown, CLASS_E_CLASSNOTAVAILABLE for an unknown class.
HRESULT GetClassObjectFromTemplates(const CFactoryTemplate* pTemplates, int cTemplates, REFCLSID rclsid,
                                    REFIID riid, void** ppv);
// DllCanUnloadNow: S_FALSE while any object of the module is alive or the
// server is locked, else S_OK.
HRESULT CanUnloadModuleNow();
