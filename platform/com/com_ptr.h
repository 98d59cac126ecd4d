// A small owning interface pointer: AddRef on copy, Release on reset, so
// every path through a function releases what it holds.
#pragma once

#include "platform/com/unknown.h"

#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on p.
    explicit ComPtr(T* p) : m_p(p) { if (m_p) m_p->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr copy(other);
        std::swap(m_p, copy.m_p);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr moved(std::move(other));
        std::swap(m_p, moved.m_p);
        return *this;
    }

    // Adopts a reference the caller already owns (e.g. from an out-parameter).
    static ComPtr Attach(T* p)
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }
    T* Detach() { return std::exchange(m_p, nullptr); }
    void Reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    // For out-parameters: releases the current pointer first.
    T** ReleaseAndGetAddressOf()
    {
        Reset();
        return &m_p;
    }
    template <class U>
    HRESULT As(REFIID riid, ComPtr<U>* out) const
    {
        if (!out)
            return E_POINTER;
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(riid, reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
