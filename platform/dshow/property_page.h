// The property frame's interfaces as abstract classes in the published
// method order: IPropertyPage, which a page implements, and
// IPropertyPageSite, which the frame showing it implements. Windows,
// rectangles and messages are the dialog layer's.
#pragma once

#include "platform/com/unknown.h"
#include "platform/dshow/dshow_guids.h"
#include "platform/win32/window.h"

typedef wchar_t* LPOLESTR;
typedef const wchar_t* LPCOLESTR;
typedef DWORD LCID;

struct tagPROPPAGEINFO {
    ULONG cb;
    LPOLESTR pszTitle;  // from CoTaskMemAlloc; the caller frees it
    SIZE size;          // pixels
    LPOLESTR pszDocString;
    LPOLESTR pszHelpFile;
    DWORD dwHelpContext;
};
typedef tagPROPPAGEINFO PROPPAGEINFO;

// IPropertyPageSite::OnStatusChange flags.
#define PROPPAGESTATUS_DIRTY 0x1u
#define PROPPAGESTATUS_VALIDATE 0x2u
#define PROPPAGESTATUS_CLEAN 0x4u

class IPropertyPageSite : public IUnknown {
public:
    STDMETHOD(OnStatusChange)(DWORD dwFlags) = 0;
    STDMETHOD(GetLocaleID)(LCID* pLocaleID) = 0;
    STDMETHOD(GetPageContainer)(IUnknown** ppUnk) = 0;
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) = 0;

protected:
    ~IPropertyPageSite() = default;
};
typedef IPropertyPageSite* LPPROPERTYPAGESITE;

class IPropertyPage : public IUnknown {
public:
    STDMETHOD(SetPageSite)(IPropertyPageSite* pPageSite) = 0;
    STDMETHOD(Activate)(HWND hWndParent, LPCRECT pRect, BOOL bModal) = 0;
    STDMETHOD(Deactivate)() = 0;
    STDMETHOD(GetPageInfo)(PROPPAGEINFO* pPageInfo) = 0;
    STDMETHOD(SetObjects)(ULONG cObjects, IUnknown** ppUnk) = 0;
    STDMETHOD(Show)(UINT nCmdShow) = 0;
    STDMETHOD(Move)(LPCRECT pRect) = 0;
    STDMETHOD(IsPageDirty)() = 0;
    STDMETHOD(Apply)() = 0;
    STDMETHOD(Help)(LPCOLESTR pszHelpDir) = 0;
    STDMETHOD(TranslateAccelerator)(MSG* pMsg) = 0;

protected:
    ~IPropertyPage() = default;
};
