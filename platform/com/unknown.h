// IUnknown and IClassFactory, abstract classes in COM's method order, with
// their published identifiers.
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

#define STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE

DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IPersist, 0x0000010c, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
static_assert(SameGuidFamily(IID_IClassFactory, IID_IUnknown) && SameGuidFamily(IID_IPersist, IID_IUnknown),
              "COM's own interfaces differ from IUnknown in Data1 alone");

class IUnknown {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) = 0;
    STDMETHOD_(ULONG, AddRef)() = 0;
    STDMETHOD_(ULONG, Release)() = 0;

protected:
    // Objects die through Release, never through a pointer to an interface.
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

class IClassFactory : public IUnknown {
public:
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv) = 0;
    STDMETHOD(LockServer)(BOOL fLock) = 0;

protected:
    ~IClassFactory() = default;
};

class IPersist : public IUnknown {
public:
    STDMETHOD(GetClassID)(CLSID* pClassID) = 0;

protected:
    ~IPersist() = default;
};
