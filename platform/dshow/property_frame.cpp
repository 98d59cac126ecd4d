// The counting page site and the one-page frame.
#include "platform/dshow/property_frame.h"

#include "platform/com/task_memory.h"
#include "platform/win32/dialog_user.h"

#include <new>

namespace {
constexpr LCID kLocaleUserDefault = 0x0400;
}

CPageSite* CPageSite::Create() { return new (std::nothrow) CPageSite(); }

STDMETHODIMP CPageSite::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
        *ppv = static_cast<IPropertyPageSite*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CPageSite::AddRef() { return ++m_cRef; }

STDMETHODIMP_(ULONG) CPageSite::Release()
{
    const ULONG left = --m_cRef;
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP CPageSite::OnStatusChange(DWORD dwFlags)
{
    m_lastStatus = dwFlags;
    ++m_changes;
    return S_OK;
}

STDMETHODIMP CPageSite::GetLocaleID(LCID* pLocaleID)
{
    if (pLocaleID == nullptr)
        return E_POINTER;
    *pLocaleID = kLocaleUserDefault;
    return S_OK;
}

STDMETHODIMP CPageSite::GetPageContainer(IUnknown** ppUnk)
{
    if (ppUnk != nullptr)
        *ppUnk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CPageSite::TranslateAccelerator(MSG*) { return S_FALSE; }

HRESULT PropertyFrame::Open(IPropertyPage* page, IUnknown* object)
{
    if (page == nullptr || object == nullptr)
        return E_POINTER;
    Close();
    m_site = ComPtr<CPageSite>::Attach(CPageSite::Create());
    PROPPAGEINFO info{};
    HRESULT hr = m_site ? page->GetPageInfo(&info) : E_OUTOFMEMORY;
    if (FAILED(hr))
        return hr;
    try {
        m_title = info.pszTitle != nullptr ? info.pszTitle : L"";
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    const RECT place{0, 0, info.size.cx, info.size.cy};
    m_frame = SUCCEEDED(hr) ? CreateFrameWindow(place) : nullptr;
    if (m_frame == nullptr)
        return E_OUTOFMEMORY;
    m_page = ComPtr<IPropertyPage>(page);
    hr = page->SetPageSite(m_site.Get());
    m_sited = SUCCEEDED(hr);
    if (m_sited) {
        hr = page->SetObjects(1, &object);
        m_connected = SUCCEEDED(hr);
    }
    if (SUCCEEDED(hr))
        hr = page->Activate(m_frame, &place, TRUE);
    if (FAILED(hr))
        Close();
    return hr;
}

void PropertyFrame::Close()
{
    if (m_page) {
        if (Dialog() != nullptr)
            m_page->Deactivate();
        if (m_connected)
            m_page->SetObjects(0, nullptr);
        // A page that refused this frame's site may hold another's.
        if (m_sited)
            m_page->SetPageSite(nullptr);
        m_page.Reset();
    }
    m_connected = m_sited = false;
    if (m_frame != nullptr)
        DestroyWindow(m_frame);
    m_frame = nullptr;
}

HWND PropertyFrame::Dialog() const { return GetWindow(m_frame, GW_CHILD); }
