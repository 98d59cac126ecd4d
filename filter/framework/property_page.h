// CBasePropertyPage: IPropertyPage over a dialog from a module's resources.
// A page derives from it and fills in the On... steps:
// - SetObjects(1, &object) calls OnConnect(object); SetObjects(0, null)
//   calls OnDisconnect.
// - Activate creates the dialog, which sends its messages to
//   OnReceiveMessage, then calls OnActivate; Deactivate calls OnDeactivate
//   and destroys the dialog.
// - Apply calls OnApplyChanges only while the page is dirty and cleans it
//   when that succeeds.
// Activate and Apply need a connected object and a page site first.
#pragma once

#include "filter/framework/combase.h"
#include "platform/dshow/property_page.h"
#include "platform/win32/dialog_template.h"

class CBasePropertyPage : public IPropertyPage, public CUnknown {
public:
    // resources: the module's dialogs and strings, where DialogId and
    // TitleId are looked up.
    CBasePropertyPage(LPCTSTR pName, LPUNKNOWN pUnk, int DialogId, int TitleId, HINSTANCE resources);
    ~CBasePropertyPage() override = default;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    // The last release deactivates, disconnects and lets the site go
    // before the page dies, so nothing the page holds outlives it.
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override;

    virtual HRESULT OnConnect(IUnknown*) { return S_OK; }
    virtual HRESULT OnDisconnect() { return S_OK; }
    virtual HRESULT OnActivate() { return S_OK; }
    virtual HRESULT OnDeactivate() { return S_OK; }
    virtual HRESULT OnApplyChanges() { return S_OK; }
    virtual INT_PTR OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    // IPropertyPage
    STDMETHODIMP SetPageSite(IPropertyPageSite* pPageSite) override;
    STDMETHODIMP Activate(HWND hWndParent, LPCRECT pRect, BOOL bModal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* pPageInfo) override;
    STDMETHODIMP SetObjects(ULONG cObjects, IUnknown** ppUnk) override;
    STDMETHODIMP Show(UINT nCmdShow) override;
    STDMETHODIMP Move(LPCRECT pRect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

protected:
    LPPROPERTYPAGESITE m_pPageSite = nullptr;
    HWND m_hwnd = nullptr;  // the dialog while active
    HWND m_Dlg = nullptr;   // the same, known from WM_INITDIALOG on
    BOOL m_bDirty = FALSE;
    int m_TitleId;
    int m_DialogId;
    BOOL m_bObjectSet = FALSE;  // OnConnect succeeded and no disconnect since

private:
    static INT_PTR DialogProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HINSTANCE m_resources;
};
