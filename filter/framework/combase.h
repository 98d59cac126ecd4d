// COM object base: CUnknown with aggregation (an outer unknown receives the
// delegating IUnknown calls; the object's own non-delegating unknown
// answers the outer), reference counting and the module's live count.
#pragma once

#include "platform/com/unknown.h"

#include <atomic>

typedef const wchar_t* LPCTSTR;  // debug names of objects
// Debug names are not kept: NAME("...") takes narrow or wide text alike.
#define NAME(x) nullptr

class INonDelegatingUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;

protected:
    ~INonDelegatingUnknown() = default;
};
typedef INonDelegatingUnknown* PNDUNKNOWN;

class CUnknown : public INonDelegatingUnknown {
public:
    // pUnk: the outer unknown when aggregated, else null. pName is a debug
    // name and may be null.
    CUnknown(LPCTSTR pName, LPUNKNOWN pUnk);
    CUnknown(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr);
    virtual ~CUnknown();
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    // Where IUnknown calls on the object's other interfaces go: the outer
    // unknown, or the object's own non-delegating unknown.
    LPUNKNOWN GetOwner() const { return m_pUnknown; }
    // The object's own identity, which an aggregating outer holds.
    LPUNKNOWN GetNonDelegatingUnknown() { return &m_nonDelegating; }

    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override;
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

protected:
    std::atomic<LONG> m_cRef{0};

private:
    // The IUnknown face of INonDelegatingUnknown, so the object's identity
    // is a real IUnknown rather than a reinterpreted vtable.
    class NonDelegatingFace final : public IUnknown {
    public:
        explicit NonDelegatingFace(CUnknown* owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
        {
            return m_owner->NonDelegatingQueryInterface(riid, ppv);
        }
        STDMETHODIMP_(ULONG) AddRef() override { return m_owner->NonDelegatingAddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_owner->NonDelegatingRelease(); }

    private:
        CUnknown* m_owner;
    };

    NonDelegatingFace m_nonDelegating{this};
    const LPUNKNOWN m_pUnknown;
};

// Hands out pUnk through ppv with a new reference.
HRESULT GetInterface(LPUNKNOWN pUnk, void** ppv);

// The delegating IUnknown of a class deriving from CUnknown and interfaces.
#define DECLARE_IUNKNOWN                                                  \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override         \
    {                                                                     \
        return GetOwner()->QueryInterface(riid, ppv);                     \
    }                                                                     \
    STDMETHODIMP_(ULONG) AddRef() override { return GetOwner()->AddRef(); } \
    STDMETHODIMP_(ULONG) Release() override { return GetOwner()->Release(); }
