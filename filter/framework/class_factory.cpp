// Class factory and module entry helpers.
#include "filter/framework/class_factory.h"

#include "platform/com/module_objects.h"

#include <new>

CUnknown* CFactoryTemplate::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr) const
{
    if (m_lpfnNew == nullptr) {
        *phr = E_UNEXPECTED;
        return nullptr;
    }
    return m_lpfnNew(pUnk, phr);
}

// The factory counts as a live object of the module like any other.
CClassFactory::CClassFactory(const CFactoryTemplate* pTemplate) : m_pTemplate(pTemplate) { ModuleObjectCreated(); }
CClassFactory::~CClassFactory() { ModuleObjectDestroyed(); }

STDMETHODIMP CClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CClassFactory::AddRef() { return static_cast<ULONG>(m_cRef.fetch_add(1) + 1); }

STDMETHODIMP_(ULONG) CClassFactory::Release()
{
    const LONG left = m_cRef.fetch_sub(1) - 1;
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

STDMETHODIMP CClassFactory::CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter != nullptr && !IsEqualIID(riid, IID_IUnknown))
        return E_NOINTERFACE;
    HRESULT hr = S_OK;
    CUnknown* object = m_pTemplate->CreateInstance(pUnkOuter, &hr);
    if (object == nullptr)
        return SUCCEEDED(hr) ? E_OUTOFMEMORY : hr;
    if (FAILED(hr)) {
        delete object;
        return hr;
    }
    // Hold the object while querying so a refused interface frees it.
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(riid, ppv);
    object->NonDelegatingRelease();
    return hr;
}

STDMETHODIMP CClassFactory::LockServer(BOOL fLock)
{
    ModuleLockServer(fLock != FALSE);
    return S_OK;
}

HRESULT GetClassObjectFromTemplates(const CFactoryTemplate* pTemplates, int cTemplates, REFCLSID rclsid,
                                    REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
        return E_NOINTERFACE;
    if (pTemplates == nullptr && cTemplates > 0)
        return E_POINTER;
    for (int i = 0; i < cTemplates; ++i) {
        if (!pTemplates[i].IsClassID(rclsid))
            continue;
        auto* factory = new (std::nothrow) CClassFactory(&pTemplates[i]);
        if (factory == nullptr)
            return E_OUTOFMEMORY;
        factory->AddRef();
        *ppv = static_cast<IClassFactory*>(factory);
        return S_OK;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadModuleNow() { return ModuleCanUnload() ? S_OK : S_FALSE; }
