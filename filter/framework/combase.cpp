// CUnknown: aggregation and reference counting.
#include "filter/framework/combase.h"

#include "platform/com/module_objects.h"

CUnknown::CUnknown(LPCTSTR, LPUNKNOWN pUnk)
    : m_pUnknown(pUnk != nullptr ? pUnk : static_cast<LPUNKNOWN>(&m_nonDelegating))
{
    ModuleObjectCreated();
}

CUnknown::CUnknown(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT*) : CUnknown(pName, pUnk) {}

CUnknown::~CUnknown() { ModuleObjectDestroyed(); }

STDMETHODIMP CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown)
        return GetInterface(&m_nonDelegating, ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingAddRef()
{
    return static_cast<ULONG>(m_cRef.fetch_add(1, std::memory_order_relaxed) + 1);
}

STDMETHODIMP_(ULONG) CUnknown::NonDelegatingRelease()
{
    const LONG left = m_cRef.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
        // A stray AddRef/Release pair during destruction (an interface
        // handed out and dropped again) must not delete twice.
        m_cRef.store(1, std::memory_order_relaxed);
        delete this;
        return 0;
    }
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

HRESULT GetInterface(LPUNKNOWN pUnk, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = pUnk;
    pUnk->AddRef();
    return S_OK;
}
