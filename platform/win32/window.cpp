// The calls on any window, each a message to the window's own procedure.
#include "platform/win32/window.h"

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return hwnd != nullptr && hwnd->wndProc != nullptr ? hwnd->wndProc(hwnd, msg, wParam, lParam) : 0;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TULWM_ENABLE, enable ? TRUE : FALSE, 0));
}

BOOL IsWindowEnabled(HWND hwnd) { return static_cast<BOOL>(SendMessageW(hwnd, TULWM_ISENABLED, 0, 0)); }

BOOL ShowWindow(HWND hwnd, int cmdShow)
{
    return static_cast<BOOL>(SendMessageW(hwnd, TULWM_SHOW, static_cast<WPARAM>(cmdShow), 0));
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL)
{
    const RECT rect{x, y, x + width, y + height};
    return static_cast<BOOL>(SendMessageW(hwnd, TULWM_MOVE, 0, reinterpret_cast<LPARAM>(&rect)));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount)
{
    if (text == nullptr || maxCount <= 0)
        return 0;
    text[0] = L'\0';
    return static_cast<int>(
        SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

int GetDlgCtrlID(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, TULWM_GETLONG, WPARAM(GWL_ID), 0)); }

LONG GetWindowLongW(HWND hwnd, int index)
{
    return static_cast<LONG>(SendMessageW(hwnd, TULWM_GETLONG, static_cast<WPARAM>(index), 0));
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index)
{
    return SendMessageW(hwnd, TULWM_GETLONG, static_cast<WPARAM>(index), 0);
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    return SendMessageW(hwnd, TULWM_SETLONG, static_cast<WPARAM>(index), value);
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    if (rect == nullptr || SendMessageW(hwnd, TULWM_GETRECT, 0, reinterpret_cast<LPARAM>(rect)) == 0)
        return FALSE;
    rect->right -= rect->left;
    rect->bottom -= rect->top;
    rect->left = rect->top = 0;
    return TRUE;
}

BOOL DestroyWindow(HWND hwnd) { return static_cast<BOOL>(SendMessageW(hwnd, TULWM_DESTROY, 0, 0)); }

HWND GetWindow(HWND hwnd, UINT cmd)
{
    return cmd == GW_CHILD ? reinterpret_cast<HWND>(SendMessageW(hwnd, TULWM_GETCHILD, 0, 0)) : nullptr;
}
