// Looking up a module's resources by identifier.
#include "platform/win32/dialog_template.h"

const DIALOG_TEMPLATE* FindDialogResource(HINSTANCE instance, int id)
{
    if (instance == nullptr)
        return nullptr;
    for (int i = 0; i < instance->dialogCount; ++i)
        if (instance->dialogs[i].id == id)
            return instance->dialogs[i].dialog;
    return nullptr;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxCount)
{
    if (buffer == nullptr || maxCount <= 0)
        return 0;
    buffer[0] = L'\0';
    if (instance == nullptr)
        return 0;
    for (int i = 0; i < instance->stringCount; ++i) {
        if (instance->strings[i].id != static_cast<int>(id) || instance->strings[i].text == nullptr)
            continue;
        int n = 0;
        for (LPCWSTR text = instance->strings[i].text; text[n] != L'\0' && n < maxCount - 1; ++n)
            buffer[n] = text[n];
        buffer[n] = L'\0';
        return n;
    }
    return 0;
}
