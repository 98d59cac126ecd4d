// Activation: the thread's initialisation count, the runtime's own
// classes, and the table of loaded in-process servers. One recursive lock
// guards the server table and is held across a server's DllGetClassObject
// so CoFreeUnusedLibraries on another thread cannot unload it mid-call.
#include "platform/com/activation.h"

#include "platform/win32/registry_key.h"
#include "platform/win32/registry_text.h"

#include <dlfcn.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

thread_local LONG t_initCount = 0;
thread_local DWORD t_initMode = 0;

struct RuntimeClass {
    CLSID clsid;
    RuntimeClassCreator create;
};
std::mutex g_runtimeLock;
std::vector<RuntimeClass> g_runtimeClasses;

typedef HRESULT (*GetClassObjectFn)(REFCLSID, REFIID, void**);
typedef HRESULT (*CanUnloadNowFn)();
struct LoadedServer {
    std::string path;
    void* handle;
    GetClassObjectFn getClassObject;
    CanUnloadNowFn canUnloadNow;  // may be absent: such a server stays
};
std::recursive_mutex g_serversLock;
std::vector<LoadedServer> g_servers;

// The class object of a runtime class: creates through its creator.
class RuntimeFactory final : public IClassFactory {
public:
    explicit RuntimeFactory(RuntimeClassCreator create) : m_create(create) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = --m_refs;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHODIMP CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        return m_create(pUnkOuter, riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    std::atomic<LONG> m_refs{0};
    RuntimeClassCreator m_create;
};

RuntimeClassCreator FindRuntimeClass(REFCLSID rclsid)
{
    std::lock_guard<std::mutex> lock(g_runtimeLock);
    for (const RuntimeClass& c : g_runtimeClasses)
        if (c.clsid == rclsid)
            return c.create;
    return nullptr;
}

// The server path under CLSID\{...}\InprocServer32.
HRESULT ServerPath(REFCLSID rclsid, std::string* path)
{
    wchar_t guid[39];
    StringFromGUID2(rclsid, guid, 39);
    RegistryKey key;
    LSTATUS status = key.Open(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + guid + L"\\InprocServer32");
    std::wstring text;
    if (status == ERROR_SUCCESS)
        status = key.GetString(L"", &text);
    if (status == ERROR_FILE_NOT_FOUND)
        return REGDB_E_CLASSNOTREG;
    if (status != ERROR_SUCCESS)
        return REGDB_E_READREGDB;
    // Paths are bytes on Linux, kept in the registry as UTF-8 text.
    *path = regtext::ToUtf8(text);
    return path->empty() ? CO_E_DLLNOTFOUND : S_OK;
}

// Caller holds g_serversLock.
HRESULT LoadServer(const std::string& path, const LoadedServer** server)
{
    for (const LoadedServer& s : g_servers)
        if (s.path == path) {
            *server = &s;
            return S_OK;
        }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return CO_E_DLLNOTFOUND;
    auto get = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (get == nullptr) {
        dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    auto canUnload = reinterpret_cast<CanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
    g_servers.push_back(LoadedServer{path, handle, get, canUnload});
    *server = &g_servers.back();
    return S_OK;
}

}  // namespace

HRESULT CoInitializeEx(void*, DWORD dwCoInit)
{
    if (t_initCount > 0 && dwCoInit != t_initMode)
        return RPC_E_CHANGED_MODE;
    t_initMode = dwCoInit;
    return t_initCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void* pvReserved) { return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize()
{
    if (t_initCount > 0)
        --t_initCount;
}

bool RegisterRuntimeClass(REFCLSID rclsid, RuntimeClassCreator create)
{
    if (create == nullptr)
        return false;
    std::lock_guard<std::mutex> lock(g_runtimeLock);
    for (const RuntimeClass& c : g_runtimeClasses)
        if (c.clsid == rclsid)
            return false;
    g_runtimeClasses.push_back(RuntimeClass{rclsid, create});
    return true;
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void*, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (t_initCount == 0)
        return CO_E_NOTINITIALIZED;
    if ((dwClsContext & CLSCTX_INPROC) == 0)
        return REGDB_E_CLASSNOTREG;
    if (RuntimeClassCreator create = FindRuntimeClass(rclsid)) {
        auto* factory = new (std::nothrow) RuntimeFactory(create);
        if (factory == nullptr)
            return E_OUTOFMEMORY;
        factory->AddRef();
        const HRESULT hr = factory->QueryInterface(riid, ppv);
        factory->Release();
        return hr;
    }
    if ((dwClsContext & CLSCTX_INPROC_SERVER) == 0)
        return REGDB_E_CLASSNOTREG;
    std::string path;
    if (const HRESULT hr = ServerPath(rclsid, &path); FAILED(hr))
        return hr;
    std::lock_guard<std::recursive_mutex> lock(g_serversLock);
    const LoadedServer* server = nullptr;
    if (const HRESULT hr = LoadServer(path, &server); FAILED(hr))
        return hr;
    return server->getClassObject(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return hr;
}

void CoFreeUnusedLibraries()
{
    std::lock_guard<std::recursive_mutex> lock(g_serversLock);
    for (auto it = g_servers.begin(); it != g_servers.end();) {
        if (it->canUnloadNow != nullptr && it->canUnloadNow() == S_OK) {
            dlclose(it->handle);
            it = g_servers.erase(it);
        } else {
            ++it;
        }
    }
}

HRESULT CLSIDFromString(const wchar_t* lpsz, CLSID* pclsid)
{
    if (lpsz == nullptr || pclsid == nullptr)
        return E_INVALIDARG;
    char narrow[39];
    std::size_t n = 0;
    for (; lpsz[n] != L'\0'; ++n) {
        if (n >= 38 || lpsz[n] > 0x7F)
            return CO_E_CLASSSTRING;
        narrow[n] = static_cast<char>(lpsz[n]);
    }
    narrow[n] = '\0';
    return TextToGuid(narrow, pclsid) ? S_OK : CO_E_CLASSSTRING;
}
