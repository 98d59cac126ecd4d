// Where the element's filter objects come from: the registered class when
// the module is registered, else the module's own class factory, loaded
// from beside the installed plugin or from the build tree.
#pragma once

#include "platform/dshow/interfaces.h"

#include <string>

namespace tulgst {

// A new "Vexo Tul Rezzo Filter" with one reference for the caller. COM is
// initialised on the calling thread for the call. On failure *why says
// what was tried.
HRESULT CreateResizeFilter(IBaseFilter** ppFilter, std::string* why);

// The module file the element loads when the class is not registered.
std::string FilterModulePath();

}  // namespace tulgst
