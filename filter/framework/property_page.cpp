// CBasePropertyPage.
#include "filter/framework/property_page.h"

#include "platform/com/task_memory.h"
#include "platform/win32/dialog.h"

#include <cwchar>

namespace {
constexpr int kMaxTitle = 256;
}

CBasePropertyPage::CBasePropertyPage(LPCTSTR pName, LPUNKNOWN pUnk, int DialogId, int TitleId, HINSTANCE resources)
    : CUnknown(pName, pUnk), m_TitleId(TitleId), m_DialogId(DialogId), m_resources(resources)
{
}

STDMETHODIMP CBasePropertyPage::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv != nullptr && riid == IID_IPropertyPage)
        return GetInterface(static_cast<IPropertyPage*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBasePropertyPage::NonDelegatingRelease()
{
    const LONG left = m_cRef.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left != 0)
        return static_cast<ULONG>(left < 0 ? 0 : left);
    // Held at one so the overrides below may hand out and drop references.
    m_cRef.store(1, std::memory_order_relaxed);
    if (m_hwnd != nullptr)
        Deactivate();
    if (m_bObjectSet)
        SetObjects(0, nullptr);
    if (m_pPageSite != nullptr)
        SetPageSite(nullptr);
    delete this;
    return 0;
}

INT_PTR CBasePropertyPage::OnReceiveMessage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR CBasePropertyPage::DialogProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        if (lParam != 0)
            reinterpret_cast<CBasePropertyPage*>(lParam)->m_Dlg = hwnd;
    }
    auto* page = reinterpret_cast<CBasePropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return page != nullptr ? page->OnReceiveMessage(hwnd, uMsg, wParam, lParam) : FALSE;
}

STDMETHODIMP CBasePropertyPage::SetPageSite(IPropertyPageSite* pPageSite)
{
    if (pPageSite != nullptr) {
        if (m_pPageSite != nullptr)
            return E_UNEXPECTED;
        m_pPageSite = pPageSite;
        m_pPageSite->AddRef();
        return S_OK;
    }
    if (m_pPageSite == nullptr)
        return E_UNEXPECTED;
    m_pPageSite->Release();
    m_pPageSite = nullptr;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Activate(HWND hWndParent, LPCRECT pRect, BOOL)
{
    if (pRect == nullptr)
        return E_POINTER;
    if (!m_bObjectSet || m_pPageSite == nullptr || m_hwnd != nullptr)
        return E_UNEXPECTED;
    m_hwnd = CreateDialogParamW(m_resources, m_DialogId, hWndParent, DialogProc, reinterpret_cast<LPARAM>(this));
    if (m_hwnd == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = OnActivate();
    if (FAILED(hr)) {
        DestroyWindow(m_hwnd);
        m_hwnd = m_Dlg = nullptr;
        return hr;
    }
    Move(pRect);
    return Show(SW_SHOWNORMAL);
}

STDMETHODIMP CBasePropertyPage::Deactivate()
{
    if (m_hwnd == nullptr)
        return E_UNEXPECTED;
    OnDeactivate();
    DestroyWindow(m_hwnd);
    m_hwnd = m_Dlg = nullptr;
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::GetPageInfo(PROPPAGEINFO* pPageInfo)
{
    if (pPageInfo == nullptr)
        return E_POINTER;
    WCHAR title[kMaxTitle];
    const int length = LoadStringW(m_resources, static_cast<UINT>(m_TitleId), title, kMaxTitle);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((static_cast<std::size_t>(length) + 1) * sizeof(WCHAR)));
    if (copy == nullptr)
        return E_OUTOFMEMORY;
    std::wmemcpy(copy, title, static_cast<std::size_t>(length) + 1);
    // The size of the dialog as it would be made, measured on a copy
    // that sends nothing to the page.
    const HWND measured = CreateDialogParamW(m_resources, m_DialogId, nullptr, nullptr, 0);
    RECT client{};
    if (measured == nullptr || !GetClientRect(measured, &client)) {
        CoTaskMemFree(copy);
        return measured == nullptr ? E_OUTOFMEMORY : E_FAIL;
    }
    DestroyWindow(measured);
    *pPageInfo = {sizeof(PROPPAGEINFO), copy, {client.right, client.bottom}, nullptr, nullptr, 0};
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::SetObjects(ULONG cObjects, IUnknown** ppUnk)
{
    if (cObjects == 1) {
        if (ppUnk == nullptr || *ppUnk == nullptr)
            return E_POINTER;
        // Only a connection that took counts: Activate and Apply must not
        // run a page whose OnConnect failed.
        const HRESULT hr = OnConnect(*ppUnk);
        m_bObjectSet = SUCCEEDED(hr) ? TRUE : FALSE;
        return hr;
    }
    if (cObjects == 0) {
        m_bObjectSet = FALSE;
        return OnDisconnect();
    }
    return E_UNEXPECTED;
}

STDMETHODIMP CBasePropertyPage::Show(UINT nCmdShow)
{
    if (m_hwnd == nullptr)
        return E_UNEXPECTED;
    if (nCmdShow != SW_SHOW && nCmdShow != SW_SHOWNORMAL && nCmdShow != SW_HIDE)
        return E_INVALIDARG;
    ShowWindow(m_hwnd, static_cast<int>(nCmdShow));
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::Move(LPCRECT pRect)
{
    if (pRect == nullptr)
        return E_POINTER;
    if (m_hwnd == nullptr)
        return E_UNEXPECTED;
    MoveWindow(m_hwnd, pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top, TRUE);
    return S_OK;
}

STDMETHODIMP CBasePropertyPage::IsPageDirty() { return m_bDirty ? S_OK : S_FALSE; }

STDMETHODIMP CBasePropertyPage::Apply()
{
    if (!m_bObjectSet || m_pPageSite == nullptr)
        return E_UNEXPECTED;
    if (!m_bDirty)
        return S_OK;
    const HRESULT hr = OnApplyChanges();
    if (SUCCEEDED(hr))
        m_bDirty = FALSE;
    return hr;
}
