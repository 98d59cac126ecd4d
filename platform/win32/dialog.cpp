// Dialogs and their controls. Each window is a heap object starting with
// its window procedure; the two procedures below are the only code that
// looks past that first member, so a window is always worked by the copy
// of this layer that made it.
//
// Reentrancy: a control's notification runs the dialog procedure, which
// may set texts, check buttons or destroy the dialog. So every handler
// sends its notification last and touches nothing of its own afterwards.
#include "platform/win32/dialog.h"

#include "platform/win32/muldiv.h"

#include <cwctype>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

enum class Kind { Edit, Button, Other };

struct Dialog;

struct Control : HWND__ {
    Dialog* owner = nullptr;
    int index = 0;
    int id = 0;
    Kind kind = Kind::Other;
    std::wstring className;
    std::wstring text;
    DWORD style = 0;
    RECT rect{};
    bool enabled = true;
    bool checked = false;
};

struct Dialog : HWND__ {
    HWND parent = nullptr;
    DLGPROC dialogProc = nullptr;
    LONG_PTR user = 0;
    DWORD style = 0;
    RECT rect{};
    bool enabled = true;
    bool visible = false;
    std::vector<std::unique_ptr<Control>> controls;
};

bool SameClass(const std::wstring& name, LPCWSTR expected)
{
    std::size_t i = 0;
    for (; i < name.size() && expected[i] != L'\0'; ++i)
        if (std::towupper(static_cast<wint_t>(name[i])) != static_cast<wint_t>(expected[i]))
            return false;
    return i == name.size() && expected[i] == L'\0';
}

DWORD ButtonType(const Control& c) { return c.kind == Kind::Button ? c.style & BS_TYPEMASK : ~0u; }

LRESULT CopyText(const std::wstring& text, WPARAM maxCount, LPARAM buffer)
{
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    if (out == nullptr || maxCount == 0)
        return 0;
    const std::size_t n = text.size() < maxCount - 1 ? text.size() : maxCount - 1;
    text.copy(out, n);
    out[n] = L'\0';
    return static_cast<LRESULT>(n);
}

// Sends WM_COMMAND for the control to its dialog; the caller touches
// nothing afterwards (the dialog may be gone).
LRESULT Notify(Control* c, WORD code, LRESULT result)
{
    SendMessageW(c->owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c->id), code), reinterpret_cast<LPARAM>(c));
    return result;
}

// Windows' group: from the nearest control at or before this one that has
// WS_GROUP (or the first) up to the next that has it.
void CheckInGroup(Dialog& d, int index)
{
    int first = index;
    while (first > 0 && (d.controls[first]->style & WS_GROUP) == 0)
        --first;
    int end = index + 1;
    while (end < static_cast<int>(d.controls.size()) && (d.controls[end]->style & WS_GROUP) == 0)
        ++end;
    for (int i = first; i < end; ++i)
        if (ButtonType(*d.controls[i]) == BS_AUTORADIOBUTTON)
            d.controls[i]->checked = i == index;
}

// Messages both kinds of window answer alike.
bool CommonMessage(bool& enabled, const RECT& rect, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case TULWM_ENABLE:
        *result = enabled ? FALSE : TRUE;
        enabled = wParam != 0;
        return true;
    case TULWM_ISENABLED: *result = enabled ? TRUE : FALSE; return true;
    case TULWM_GETRECT:
        *reinterpret_cast<RECT*>(lParam) = rect;
        *result = TRUE;
        return true;
    default: return false;
    }
}

LRESULT ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* c = static_cast<Control*>(hwnd);
    LRESULT result = 0;
    if (CommonMessage(c->enabled, c->rect, msg, wParam, lParam, &result))
        return result;
    switch (msg) {
    case WM_SETTEXT:
        c->text = lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return c->kind == Kind::Edit ? Notify(c, EN_CHANGE, TRUE) : TRUE;
    case TULWM_TYPE:
        if (c->kind != Kind::Edit || !c->enabled)
            return FALSE;
        c->text = lParam != 0 ? reinterpret_cast<LPCWSTR>(lParam) : L"";
        return Notify(c, EN_CHANGE, TRUE);
    case WM_GETTEXT: return CopyText(c->text, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(c->text.size());
    case BM_GETCHECK: return c->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (c->kind == Kind::Button)
            c->checked = wParam == BST_CHECKED;
        return 0;
    case BM_CLICK:
        if (c->kind != Kind::Button || !c->enabled || ButtonType(*c) == BS_GROUPBOX)
            return 0;
        if (ButtonType(*c) == BS_AUTORADIOBUTTON)
            CheckInGroup(*c->owner, c->index);
        else if (ButtonType(*c) == BS_AUTOCHECKBOX)
            c->checked = !c->checked;
        return Notify(c, BN_CLICKED, 0);
    case TULWM_GETLONG:
        if (static_cast<int>(wParam) == GWL_ID)
            return c->id;
        return static_cast<int>(wParam) == GWL_STYLE ? (c->style & ~WS_DISABLED) | (c->enabled ? 0 : WS_DISABLED)
                                                     : 0;
    case TULWM_GETCLASS: return reinterpret_cast<LRESULT>(c->className.c_str());
    default: return 0;
    }
}

LRESULT DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* d = static_cast<Dialog*>(hwnd);
    LRESULT result = 0;
    if (CommonMessage(d->enabled, d->rect, msg, wParam, lParam, &result))
        return result;
    switch (msg) {
    case TULWM_GETITEM:
        for (const auto& c : d->controls)
            if (c->id == static_cast<int>(wParam))
                return reinterpret_cast<LRESULT>(c.get());
        return 0;
    case TULWM_ITEMCOUNT: return static_cast<LRESULT>(d->controls.size());
    case TULWM_ITEMAT:
        return wParam < d->controls.size() ? reinterpret_cast<LRESULT>(d->controls[wParam].get()) : 0;
    case TULWM_GETLONG:
        if (static_cast<int>(wParam) == GWL_STYLE)
            return d->style;
        return static_cast<int>(wParam) == DWLP_USER ? d->user : 0;
    case TULWM_SETLONG:
        if (static_cast<int>(wParam) != DWLP_USER)
            return 0;
        result = d->user;
        d->user = lParam;
        return result;
    case TULWM_GETCLASS: return reinterpret_cast<LRESULT>(L"#32770");  // the system's dialog class
    case TULWM_SHOW:
        result = d->visible ? TRUE : FALSE;
        d->visible = static_cast<int>(wParam) != SW_HIDE;
        return result;
    case TULWM_MOVE:
        d->rect = *reinterpret_cast<const RECT*>(lParam);
        return TRUE;
    case TULWM_DESTROY:
        if (d->dialogProc != nullptr)
            d->dialogProc(hwnd, WM_DESTROY, 0, 0);
        SendMessageW(d->parent, TULWM_REMOVECHILD, 0, reinterpret_cast<LPARAM>(hwnd));
        delete d;
        return TRUE;
    default: return d->dialogProc != nullptr ? d->dialogProc(hwnd, msg, wParam, lParam) : 0;
    }
}

// Dialog units to pixels, rounded as MapDialogRect rounds.
RECT MapDialogUnits(int x, int y, int cx, int cy)
{
    const LONG left = MulDiv(x, kDialogBaseUnitX, 4);
    const LONG top = MulDiv(y, kDialogBaseUnitY, 8);
    return {left, top, left + MulDiv(cx, kDialogBaseUnitX, 4), top + MulDiv(cy, kDialogBaseUnitY, 8)};
}

std::unique_ptr<Dialog> MakeDialog(const DIALOG_TEMPLATE& t, DLGPROC dialogProc)
{
    auto d = std::make_unique<Dialog>();
    d->wndProc = DialogProc;
    d->dialogProc = dialogProc;
    d->style = t.style;
    d->rect = MapDialogUnits(0, 0, t.cx, t.cy);
    for (int i = 0; i < t.controlCount; ++i) {
        const DIALOG_CONTROL& source = t.controls[i];
        auto c = std::make_unique<Control>();
        c->wndProc = ControlProc;
        c->owner = d.get();
        c->index = i;
        c->id = source.id;
        c->className = source.className != nullptr ? source.className : L"";
        c->kind = SameClass(c->className, L"EDIT") ? Kind::Edit
                  : SameClass(c->className, L"BUTTON") ? Kind::Button
                                                       : Kind::Other;
        c->text = source.text != nullptr ? source.text : L"";
        c->style = source.style;
        c->rect = MapDialogUnits(source.x, source.y, source.cx, source.cy);
        c->enabled = (source.style & WS_DISABLED) == 0;
        d->controls.push_back(std::move(c));
    }
    return d;
}

}  // namespace

HWND CreateDialogIndirectParamW(HINSTANCE, const DIALOG_TEMPLATE* dialog, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam)
{
    if (dialog == nullptr || dialog->controlCount < 0 || (dialog->controlCount > 0 && dialog->controls == nullptr))
        return nullptr;
    std::unique_ptr<Dialog> d;
    try {
        d = MakeDialog(*dialog, dialogProc);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Dialog* made = d.release();
    made->parent = parent;
    SendMessageW(parent, TULWM_ADDCHILD, 0, reinterpret_cast<LPARAM>(made));
    SendMessageW(made, WM_INITDIALOG, 0, initParam);
    return made;
}

HWND CreateDialogParamW(HINSTANCE instance, int id, HWND parent, DLGPROC dialogProc, LPARAM initParam)
{
    return CreateDialogIndirectParamW(instance, FindDialogResource(instance, id), parent, dialogProc, initParam);
}

HWND GetDlgItem(HWND dialog, int id)
{
    return reinterpret_cast<HWND>(SendMessageW(dialog, TULWM_GETITEM, static_cast<WPARAM>(id), 0));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text)
{
    const HWND item = GetDlgItem(dialog, id);
    return item != nullptr ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount)
{
    if (text != nullptr && maxCount > 0)
        text[0] = L'\0';
    return static_cast<UINT>(GetWindowTextW(GetDlgItem(dialog, id), text, maxCount));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    const HWND item = GetDlgItem(dialog, id);
    SendMessageW(item, BM_SETCHECK, check, 0);
    return item != nullptr ? TRUE : FALSE;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check)
{
    const int count = static_cast<int>(SendMessageW(dialog, TULWM_ITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const HWND item = reinterpret_cast<HWND>(SendMessageW(dialog, TULWM_ITEMAT, static_cast<WPARAM>(i), 0));
        const int id = GetDlgCtrlID(item);
        if (id >= first && id <= last)
            SendMessageW(item, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    return static_cast<UINT>(SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}
