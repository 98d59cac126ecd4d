// The user's side of a dialog, for front ends that draw it their own way
// and for tests: the controls in template order with their class, place
// and state, and the two things a user does to them. A disabled control
// ignores both, as on screen.
#pragma once

#include "platform/win32/window.h"

// A top-level window that only holds what is made inside it, as the
// window a property frame shows its page in; GetWindow(frame, GW_CHILD)
// finds the page's dialog. Null when memory runs out.
HWND CreateFrameWindow(const RECT& place);

int DialogControlCount(HWND dialog);
HWND DialogControlAt(HWND dialog, int index);
// The class name the window keeps ("EDIT", "BUTTON", "STATIC"); valid
// while the window lives. Empty for a null handle.
LPCWSTR GetControlClass(HWND control);
// The control's place in its dialog, in pixels.
BOOL GetControlRect(HWND control, RECT* rect);
// Replaces an edit's text as typing would, which sends EN_CHANGE. FALSE
// for anything but an enabled edit.
BOOL UserTypeText(HWND control, LPCWSTR text);
// Clicks a button: an auto radio button is checked and the other auto
// radio buttons of its group cleared, an auto check box toggles, and
// BN_CLICKED goes to the dialog. Nothing for a disabled one.
void UserClick(HWND control);
