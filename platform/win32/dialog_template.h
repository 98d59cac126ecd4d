// A dialog template as one record (what a resource compiler makes of a
// DIALOGEX block), and a module's resources: its dialogs and strings by
// identifier, which an HINSTANCE names here.
#pragma once

#include "platform/win32/window.h"

// One control: its window class ("EDIT", "BUTTON", "STATIC"), identifier
// (-1 for a static one), text, place in dialog units and style.
struct DIALOG_CONTROL {
    LPCWSTR className;
    int id;
    LPCWSTR text;
    short x;
    short y;
    short cx;
    short cy;
    DWORD style;
};

struct DIALOG_TEMPLATE {
    DWORD style;
    short cx;  // dialog units
    short cy;
    LPCWSTR fontName;
    WORD pointSize;
    const DIALOG_CONTROL* controls;
    int controlCount;
};

struct DIALOG_RESOURCE {
    int id;
    const DIALOG_TEMPLATE* dialog;
};

struct STRING_RESOURCE {
    int id;
    LPCWSTR text;
};

struct MODULE_RESOURCES {
    const DIALOG_RESOURCE* dialogs;
    int dialogCount;
    const STRING_RESOURCE* strings;
    int stringCount;
};
typedef const MODULE_RESOURCES* HINSTANCE;

// The template of dialog id in instance, or null.
const DIALOG_TEMPLATE* FindDialogResource(HINSTANCE instance, int id);
// Copies string id into buffer (at most maxCount - 1 characters and a
// terminator) and returns the characters copied; 0 when there is none.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxCount);
