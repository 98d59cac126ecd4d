// user32's windows as the property page needs them: handles, messages and
// the calls on any window. A handle points at a heap object whose one
// public member is the window procedure of the code that created it, and
// every call on a window is a message sent through that procedure. So a
// program and a module that each link their own copy of this layer can
// both work any window: the creating copy's procedure does the work.
#pragma once

#include "platform/win32/wintypes.h"

#include <cstdint>

typedef wchar_t WCHAR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPWSTR;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef const RECT* LPCRECT;

struct HWND__;
typedef HWND__* HWND;
typedef LRESULT (*WNDPROC)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The layout every copy agrees on; the rest of a window is private to the
// procedure that made it.
struct HWND__ {
    WNDPROC wndProc;
};

struct tagPOINT {
    LONG x;
    LONG y;
};
typedef tagPOINT POINT;

struct tagSIZE {
    LONG cx;
    LONG cy;
};
typedef tagSIZE SIZE;

struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef tagMSG MSG;

constexpr WORD LOWORD(WPARAM value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(WPARAM value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return static_cast<WPARAM>(low) | static_cast<WPARAM>(high) << 16; }

// Window styles.
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_BORDER 0x00800000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define DS_SETFONT 0x00000040u
#define ES_AUTOHSCROLL 0x00000080u
#define SS_LEFT 0x00000000u
#define BS_PUSHBUTTON 0x00000000u
#define BS_CHECKBOX 0x00000002u
#define BS_AUTOCHECKBOX 0x00000003u
#define BS_RADIOBUTTON 0x00000004u
#define BS_GROUPBOX 0x00000007u
#define BS_AUTORADIOBUTTON 0x00000009u
#define BS_TYPEMASK 0x0000000Fu
#define BS_MULTILINE 0x00002000u

// Messages, notifications and their values.
#define WM_DESTROY 0x0002u
#define WM_SETTEXT 0x000Cu
#define WM_GETTEXT 0x000Du
#define WM_GETTEXTLENGTH 0x000Eu
#define WM_INITDIALOG 0x0110u
#define WM_COMMAND 0x0111u
#define BM_GETCHECK 0x00F0u
#define BM_SETCHECK 0x00F1u
#define BM_CLICK 0x00F5u
#define EN_CHANGE 0x0300u
#define BN_CLICKED 0u
#define BST_UNCHECKED 0u
#define BST_CHECKED 1u
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#define GWL_STYLE (-16)
#define GWL_ID (-12)
#define DWLP_USER 16
#define GW_CHILD 5u

// Messages of this layer's own, below WM_USER's range so no dialog
// procedure mistakes them for its own: they carry the calls that have no
// message on Windows to the window's procedure.
enum : UINT {
    TULWM_GETITEM = 0x03A0,     // wParam: control identifier; returns its HWND
    TULWM_ITEMCOUNT,            // returns the number of controls
    TULWM_ITEMAT,               // wParam: index; returns that control's HWND
    TULWM_ENABLE,               // wParam: enable; returns TRUE if it was disabled
    TULWM_ISENABLED,            // returns TRUE when enabled
    TULWM_GETLONG,              // wParam: GWL_STYLE, GWL_ID or DWLP_USER
    TULWM_SETLONG,              // wParam: DWLP_USER; lParam: the value; returns the old one
    TULWM_GETCLASS,             // returns the class name (LPCWSTR) the window keeps
    TULWM_GETRECT,              // lParam: RECT*, the window's place in pixels in its parent
    TULWM_SHOW,                 // wParam: SW_ value; returns TRUE if it was visible
    TULWM_MOVE,                 // lParam: const RECT* in pixels
    TULWM_TYPE,                 // the user types lParam (LPCWSTR) into an edit
    TULWM_DESTROY,              // the window is destroyed
    TULWM_ADDCHILD,             // lParam: a window made with this one as its parent
    TULWM_REMOVECHILD,          // lParam: that window, being destroyed
    TULWM_GETCHILD,             // returns the first child still alive
};

// Sends msg to hwnd's procedure; 0 for a null handle.
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// TRUE if the window was disabled before the call.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
// Copies at most maxCount - 1 characters and a terminator; returns the
// characters copied.
int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount);
int GetWindowTextLengthW(HWND hwnd);
int GetDlgCtrlID(HWND hwnd);
LONG GetWindowLongW(HWND hwnd, int index);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
// The client area in pixels, from (0, 0).
BOOL GetClientRect(HWND hwnd, RECT* rect);
// Dialogs and frames only (a control lives as long as its dialog): a
// dialog sends WM_DESTROY to its dialog procedure, leaves its parent and
// is freed with its controls. The handle is dangling afterwards. A frame
// is destroyed after its children.
BOOL DestroyWindow(HWND hwnd);
// GW_CHILD: the first child window; null for anything else.
HWND GetWindow(HWND hwnd, UINT cmd);
