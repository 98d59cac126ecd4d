// CResizePropertyPage, "Resize Detail...": the filter's output width and
// height in two edits and the resize mode as two radio buttons, written
// to the filter through IResizeSettings on Apply.
//
// The page reads the filter once, at connection; after that it shows
// those values and the user's edits. Only commands that arrive after the
// page has filled its own controls make it dirty.
#pragma once

#include "filter/framework/property_page.h"
#include "filter/resize_settings.h"
#include "platform/com/com_ptr.h"

class CResizePropertyPage : public CBasePropertyPage {
public:
    // The class factory's creation function: a new page with no reference
    // yet, aggregated by pUnk when given. On failure *phr is
    // E_OUTOFMEMORY and the result null.
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr);

    // Takes the object's IResizeSettings (E_NOINTERFACE without one) and
    // reads the size, whether it may change, and the mode. A second
    // connection lets the first object go.
    HRESULT OnConnect(IUnknown* pUnknown) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;
    HRESULT OnDeactivate() override;
    // Writes the size and the mode. When the filter refuses the size the
    // mode is still written, the page takes the filter's size back and
    // the result is E_INVALIDARG, or VFW_E_ALREADY_CONNECTED while the
    // output is connected, so the page stays dirty.
    HRESULT OnApplyChanges() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    explicit CResizePropertyPage(LPUNKNOWN pUnk);

    // Writes m_width and m_height into the edits without counting as an
    // edit of the user's.
    void ShowSize();
    // Takes the edits' numbers (both, when neither is negative) and the
    // chosen radio button.
    void ReadControls();

    LONG m_width = 0;
    LONG m_height = 0;
    LONG m_modeButton = 0;
    bool m_active = false;
    BOOL m_canChangeSize = FALSE;
    ComPtr<IResizeSettings> m_settings;
};
