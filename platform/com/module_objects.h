// The module's count of live COM objects and server locks, read by
// DllCanUnloadNow: the module may unload only when both are zero.
#pragma once

#include "platform/win32/wintypes.h"

void ModuleObjectCreated() noexcept;
void ModuleObjectDestroyed() noexcept;
LONG ModuleObjectCount() noexcept;

void ModuleLockServer(bool lock) noexcept;
LONG ModuleLockCount() noexcept;

// True when no object is alive and no lock is held.
bool ModuleCanUnload() noexcept;
