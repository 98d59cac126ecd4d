// The frame side of a property page, as oleaut32's property frame does it
// for one page: a frame window, a site that counts the status changes the
// page reports, and the calls that connect, show and close the page. Front
// ends draw the page's dialog their own way (the dialog layer's user side).
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/dshow/property_page.h"

#include <atomic>
#include <string>

class CPageSite final : public IPropertyPageSite {
public:
    // A new site with one reference, or null when memory runs out.
    static CPageSite* Create();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP OnStatusChange(DWORD dwFlags) override;
    // The user's default locale.
    STDMETHODIMP GetLocaleID(LCID* pLocaleID) override;
    // No container to offer: E_NOTIMPL, as Windows allows.
    STDMETHODIMP GetPageContainer(IUnknown** ppUnk) override;
    // Keys are not translated here: S_FALSE.
    STDMETHODIMP TranslateAccelerator(MSG* pMsg) override;

    ULONG StatusChanges() const { return m_changes.load(); }
    DWORD LastStatus() const { return m_lastStatus.load(); }

private:
    CPageSite() = default;
    ~CPageSite() = default;

    std::atomic<ULONG> m_cRef{1};
    std::atomic<ULONG> m_changes{0};
    std::atomic<DWORD> m_lastStatus{0};
};

class PropertyFrame {
public:
    PropertyFrame() = default;
    ~PropertyFrame() { Close(); }
    PropertyFrame(const PropertyFrame&) = delete;
    PropertyFrame& operator=(const PropertyFrame&) = delete;

    // Gives the page this frame's site, connects it to object and shows
    // it at its own size; the first failure is returned with everything
    // undone.
    HRESULT Open(IPropertyPage* page, IUnknown* object);
    // Deactivates and disconnects the page and lets it go; harmless when
    // nothing is open.
    void Close();

    IPropertyPage* Page() const { return m_page.Get(); }
    CPageSite* Site() const { return m_site.Get(); }
    // The page's dialog while it is shown, else null.
    HWND Dialog() const;
    const std::wstring& Title() const { return m_title; }

private:
    ComPtr<IPropertyPage> m_page;
    ComPtr<CPageSite> m_site;
    HWND m_frame = nullptr;
    bool m_sited = false;
    bool m_connected = false;
    std::wstring m_title;
};
