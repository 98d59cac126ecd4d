// The absolute path of the shared object (or program) holding an address,
// as GetModuleFileName gives a module its own file.
#pragma once

#include "platform/com/hresult.h"

#include <string>

// S_OK with an absolute path, or the Win32 ERROR_MOD_NOT_FOUND folded into
// an HRESULT: a relative path is never returned.
HRESULT GetModulePathOf(const void* address, std::string* path);
