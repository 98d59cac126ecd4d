// The filter's creation. The module is loaded once and stays loaded for
// the life of the process: filters made from it may live as long as any
// element, and GStreamer never unloads a plugin either.
#include "gst/filter_module.h"
#include "gst/hresult_text.h"

#include "filter/filter_guids.h"
#include "platform/com/activation.h"
#include "platform/dshow/dshow_guids.h"

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>

namespace tulgst {
namespace {

using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);

// This plugin's own folder, found through one of its symbols.
std::string PluginFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&FilterModulePath), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string path(info.dli_fname);
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

struct LoadedModule {
    GetClassObjectFn getClassObject = nullptr;
    std::string error;
};

const LoadedModule& Module()
{
    static LoadedModule loaded;
    static std::once_flag once;
    std::call_once(once, [] {
        const std::string path = FilterModulePath();
        void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* error = dlerror();
            loaded.error = "cannot load " + path + ": " + (error != nullptr ? error : "unknown error");
            return;
        }
        loaded.getClassObject = reinterpret_cast<GetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
        if (loaded.getClassObject == nullptr)
            loaded.error = path + " has no DllGetClassObject";
    });
    return loaded;
}

HRESULT CreateFromModule(IBaseFilter** ppFilter, std::string* why)
{
    const LoadedModule& module = Module();
    if (module.getClassObject == nullptr) {
        *why = module.error;
        return CO_E_DLLNOTFOUND;
    }
    IClassFactory* factory = nullptr;
    HRESULT hr = module.getClassObject(CLSID_ResizeFilter, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr) || factory == nullptr) {
        *why = "the module's class factory is unavailable (" + HresultText(hr) + ")";
        return FAILED(hr) ? hr : E_UNEXPECTED;
    }
    hr = factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(ppFilter));
    factory->Release();
    if (FAILED(hr))
        *why = "the module's class factory cannot make the filter (" + HresultText(hr) + ")";
    return hr;
}

}  // namespace

std::string FilterModulePath()
{
    const std::string folder = PluginFolder();
    if (!folder.empty()) {
        const std::string installed = folder + "/" TUL_MODULE_FROM_PLUGIN_DIR;
        if (access(installed.c_str(), R_OK) == 0)
            return installed;
    }
    return TUL_MODULE_IN_BUILD;
}

HRESULT CreateResizeFilter(IBaseFilter** ppFilter, std::string* why)
{
    if (ppFilter == nullptr || why == nullptr)
        return E_POINTER;
    *ppFilter = nullptr;
    // Streaming and application threads both make filters: each call
    // brings its own initialisation and undoes it.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HRESULT hr = CoCreateInstance(CLSID_ResizeFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(ppFilter));
    if (SUCCEEDED(init))
        CoUninitialize();
    if (SUCCEEDED(hr) && *ppFilter != nullptr)
        return S_OK;
    // Not registered (or a registry that cannot be read): the module's own
    // class factory, as an in-process server is used without registration.
    return CreateFromModule(ppFilter, why);
}

}  // namespace tulgst
