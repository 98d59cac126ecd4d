// COM activation: per-thread initialisation, class objects served first
// from classes the runtime itself provides (registered by the layers above
// through RegisterRuntimeClass, so this layer knows none of them), then
// from in-process servers found under "CLSID\{...}\InprocServer32" in the
// registry and loaded with dlopen; unloading of servers that allow it.
#pragma once

#include "platform/com/unknown.h"

#define REGDB_E_READREGDB (static_cast<HRESULT>(0x80040150L))
#define REGDB_E_CLASSNOTREG (static_cast<HRESULT>(0x80040154L))
#define CO_E_NOTINITIALIZED (static_cast<HRESULT>(0x800401F0L))
#define CO_E_CLASSSTRING (static_cast<HRESULT>(0x800401F3L))
#define CO_E_DLLNOTFOUND (static_cast<HRESULT>(0x800401F8L))
#define CO_E_ERRORINDLL (static_cast<HRESULT>(0x800401F9L))
#define RPC_E_CHANGED_MODE (static_cast<HRESULT>(0x80010106L))

#define CLSCTX_INPROC_SERVER 0x1u
#define CLSCTX_INPROC_HANDLER 0x2u
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL 0x17u

#define COINIT_MULTITHREADED 0x0u
#define COINIT_APARTMENTTHREADED 0x2u

// S_OK on a thread's first call, S_FALSE on the nested ones (each needs
// its CoUninitialize), RPC_E_CHANGED_MODE when the threading mode differs
// from the thread's first call (which then needs no CoUninitialize).
HRESULT CoInitializeEx(void* pvReserved, DWORD dwCoInit);
HRESULT CoInitialize(void* pvReserved);
void CoUninitialize();

// Both need COM initialised on the calling thread (CO_E_NOTINITIALIZED).
// A class unknown to the runtime and the registry: REGDB_E_CLASSNOTREG;
// a server that does not load: CO_E_DLLNOTFOUND; one without
// DllGetClassObject: CO_E_ERRORINDLL.
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pServerInfo, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv);
// Unloads every loaded server whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// The braced text form, CO_E_CLASSSTRING for anything else.
HRESULT CLSIDFromString(const wchar_t* lpsz, CLSID* pclsid);

// A class the runtime serves itself; the first registration of a class
// identifier wins and later ones return false.
typedef HRESULT (*RuntimeClassCreator)(LPUNKNOWN pUnkOuter, REFIID riid, void** ppv);
bool RegisterRuntimeClass(REFCLSID rclsid, RuntimeClassCreator create);
