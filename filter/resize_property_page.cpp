// CResizePropertyPage.
#include "filter/resize_property_page.h"

#include "filter/resize_page_dialog.h"
#include "platform/win32/dialog.h"

#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <new>

namespace {

// Characters taken from an edit, terminator included.
constexpr int kEditChars = 256;

// Decimal text as the C library reads it (leading white space, an optional
// sign, digits; no number gives 0), except that a value beyond 32 bits
// stops at INT32_MAX or INT32_MIN: atoi would wrap "4294967616" to 320,
// which the filter would take, where a saturated value is refused.
LONG ReadDecimal(const WCHAR* text)
{
    while (*text != L'\0' && std::iswspace(static_cast<wint_t>(*text)))
        ++text;
    const bool negative = *text == L'-';
    if (*text == L'+' || *text == L'-')
        ++text;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t value = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
        value = value * 10 + (*text - L'0') > limit ? limit : value * 10 + (*text - L'0');
    return static_cast<LONG>(negative ? -value : value);
}

}  // namespace

CResizePropertyPage::CResizePropertyPage(LPUNKNOWN pUnk)
    : CBasePropertyPage(NAME("Resize Property Page"), pUnk, IDD_RESIZE_PAGE, IDS_RESIZE_PAGE_TITLE,
                        &kResizePageResources)
{
}

CUnknown* CResizePropertyPage::CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
{
    auto* page = new (std::nothrow) CResizePropertyPage(pUnk);
    if (page == nullptr && phr != nullptr)
        *phr = E_OUTOFMEMORY;
    return page;
}

HRESULT CResizePropertyPage::OnConnect(IUnknown* pUnknown)
{
    m_settings.Reset();
    if (pUnknown == nullptr ||
        FAILED(pUnknown->QueryInterface(IID_IResizeSettings,
                                        reinterpret_cast<void**>(m_settings.ReleaseAndGetAddressOf()))))
        return E_NOINTERFACE;
    m_settings->GetOutputSize(&m_width, &m_height, &m_canChangeSize);
    LONG mode = RESIZE_MODE_FIT;
    m_settings->GetResizeMode(&mode);
    m_active = false;
    m_modeButton = mode == RESIZE_MODE_FIT ? IDC_FIT_DESTINATION : IDC_KEEP_ASPECT;
    return S_OK;
}

HRESULT CResizePropertyPage::OnDisconnect()
{
    if (!m_settings)
        return E_UNEXPECTED;
    m_settings.Reset();
    return S_OK;
}

HRESULT CResizePropertyPage::OnActivate()
{
    if (!m_settings)
        return E_UNEXPECTED;
    ShowSize();
    if (!m_canChangeSize) {
        EnableWindow(GetDlgItem(m_Dlg, IDC_WIDTH), FALSE);
        EnableWindow(GetDlgItem(m_Dlg, IDC_HEIGHT), FALSE);
    }
    CheckRadioButton(m_Dlg, IDC_FIT_DESTINATION, IDC_KEEP_ASPECT, m_modeButton);
    m_active = true;
    return S_OK;
}

HRESULT CResizePropertyPage::OnDeactivate()
{
    m_active = false;
    ReadControls();
    return S_OK;
}

HRESULT CResizePropertyPage::OnApplyChanges()
{
    if (!m_settings)
        return E_UNEXPECTED;
    if (m_Dlg != nullptr)
        ReadControls();
    const HRESULT sized = m_settings->SetOutputSize(m_width, m_height);
    m_settings->SetResizeMode(m_modeButton == IDC_FIT_DESTINATION ? RESIZE_MODE_FIT : RESIZE_MODE_KEEP_ASPECT);
    if (sized == S_OK)
        return S_OK;
    LONG width = 0;
    LONG height = 0;
    BOOL canChange = FALSE;
    m_settings->GetOutputSize(&width, &height, &canChange);
    // While the output is connected every size is refused, the one it
    // already has too; asking for that one changes nothing.
    if (width == m_width && height == m_height)
        return S_OK;
    m_width = width;
    m_height = height;
    m_canChangeSize = canChange;
    if (m_Dlg != nullptr)
        ShowSize();
    return canChange ? E_INVALIDARG : VFW_E_ALREADY_CONNECTED;
}

INT_PTR CResizePropertyPage::OnReceiveMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_COMMAND)
        return CBasePropertyPage::OnReceiveMessage(hwnd, uMsg, wParam, lParam);
    if (m_active) {
        m_bDirty = TRUE;
        if (m_pPageSite != nullptr)
            m_pPageSite->OnStatusChange(PROPPAGESTATUS_DIRTY);
    }
    return 1;
}

void CResizePropertyPage::ShowSize()
{
    const bool active = m_active;
    m_active = false;
    WCHAR text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"%d", static_cast<int>(m_width));
    SetDlgItemTextW(m_Dlg, IDC_WIDTH, text);
    std::swprintf(text, sizeof text / sizeof text[0], L"%d", static_cast<int>(m_height));
    SetDlgItemTextW(m_Dlg, IDC_HEIGHT, text);
    m_active = active;
}

void CResizePropertyPage::ReadControls()
{
    WCHAR text[kEditChars];
    GetDlgItemTextW(m_Dlg, IDC_WIDTH, text, kEditChars);
    const LONG width = ReadDecimal(text);
    GetDlgItemTextW(m_Dlg, IDC_HEIGHT, text, kEditChars);
    const LONG height = ReadDecimal(text);
    if (width >= 0 && height >= 0) {
        m_width = width;
        m_height = height;
    }
    m_modeButton = IsDlgButtonChecked(m_Dlg, IDC_FIT_DESTINATION) == BST_CHECKED ? IDC_FIT_DESTINATION
                                                                                 : IDC_KEEP_ASPECT;
}
