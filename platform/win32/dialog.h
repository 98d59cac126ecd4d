// user32's dialogs: creation from a template with a dialog procedure, and
// the calls on a dialog's controls by identifier. Windows made here carry
// their state and procedure with them (window.h), so a dialog made by a
// module can be worked by a program with its own copy of this layer.
#pragma once

#include "platform/win32/dialog_template.h"

typedef INT_PTR (*DLGPROC)(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Dialog base units of "MS Shell Dlg" at 8 points on a 96 dpi screen: a
// dialog unit is a quarter of the average character width across and an
// eighth of the character height down.
constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 13;

// Creates the dialog and its controls, then sends WM_INITDIALOG with
// initParam to dialogProc (which may be null). Null when the template is
// missing or memory runs out. The dialog lives until DestroyWindow.
HWND CreateDialogIndirectParamW(HINSTANCE instance, const DIALOG_TEMPLATE* dialog, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam);
// The same from dialog resource id of instance.
HWND CreateDialogParamW(HINSTANCE instance, int id, HWND parent, DLGPROC dialogProc, LPARAM initParam);

HWND GetDlgItem(HWND dialog, int id);
// Sets the control's text; an edit then sends EN_CHANGE to the dialog
// through WM_COMMAND, as on Windows.
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
// At most maxCount - 1 characters and a terminator; returns the characters
// copied (0, with an empty text, when there is no such control).
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount);
// Checks button check and clears every other button whose identifier is
// from first to last. No notification is sent.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
