// A heap object that answers only IUnknown and counts its own deaths, for
// tests of anything that holds or releases interfaces.
#pragma once

#include "platform/com/unknown.h"

class CountedUnknown final : public IUnknown {
public:
    explicit CountedUnknown(int* deaths) : m_deaths(deaths) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = riid == IID_IUnknown ? this : nullptr;
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --refs;
        if (left == 0) {
            ++*m_deaths;
            delete this;
        }
        return left;
    }
    ULONG refs = 1;

private:
    ~CountedUnknown() = default;
    int* m_deaths;
};
