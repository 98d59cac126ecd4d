// The user's side of a dialog, through the windows' own procedures.
#include "platform/win32/dialog_user.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

struct Frame : HWND__ {
    RECT rect{};
    std::vector<HWND> children;
};

LRESULT FrameProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam)
{
    auto* f = static_cast<Frame*>(hwnd);
    const auto child = reinterpret_cast<HWND>(lParam);
    try {
        switch (msg) {
        case TULWM_ADDCHILD: f->children.push_back(child); return TRUE;
        case TULWM_REMOVECHILD:
            f->children.erase(std::remove(f->children.begin(), f->children.end(), child), f->children.end());
            return TRUE;
        case TULWM_GETCHILD: return f->children.empty() ? 0 : reinterpret_cast<LRESULT>(f->children.front());
        case TULWM_GETRECT: *reinterpret_cast<RECT*>(lParam) = f->rect; return TRUE;
        case TULWM_GETCLASS: return reinterpret_cast<LRESULT>(L"TulFrame");
        case TULWM_ISENABLED: return TRUE;
        case TULWM_DESTROY: delete f; return TRUE;
        default: return 0;
        }
    } catch (const std::bad_alloc&) {
        return FALSE;  // a child the frame cannot list is simply not found
    }
}

}  // namespace

HWND CreateFrameWindow(const RECT& place)
{
    auto* frame = new (std::nothrow) Frame();
    if (frame != nullptr) {
        frame->wndProc = FrameProc;
        frame->rect = place;
    }
    return frame;
}

int DialogControlCount(HWND dialog) { return static_cast<int>(SendMessageW(dialog, TULWM_ITEMCOUNT, 0, 0)); }

HWND DialogControlAt(HWND dialog, int index)
{
    return index < 0 ? nullptr
                     : reinterpret_cast<HWND>(SendMessageW(dialog, TULWM_ITEMAT, static_cast<WPARAM>(index), 0));
}

LPCWSTR GetControlClass(HWND control)
{
    const auto name = reinterpret_cast<LPCWSTR>(SendMessageW(control, TULWM_GETCLASS, 0, 0));
    return name != nullptr ? name : L"";
}

BOOL GetControlRect(HWND control, RECT* rect)
{
    return rect != nullptr && SendMessageW(control, TULWM_GETRECT, 0, reinterpret_cast<LPARAM>(rect)) != 0;
}

BOOL UserTypeText(HWND control, LPCWSTR text)
{
    return static_cast<BOOL>(SendMessageW(control, TULWM_TYPE, 0, reinterpret_cast<LPARAM>(text)));
}

void UserClick(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }
