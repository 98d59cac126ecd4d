// The built module as an in-process server: registered into a scratch
// registry, created by class id through it, streaming at the size set on
// its property page (itself created by class id, its dialog worked through
// this program's own copy of the dialog layer), unloaded once everything
// is released, and unregistered without a trace. Its entry points, lifetime rules and
// exported symbols are checked on the loaded module itself.
#include "platform/com/activation.h"
#include "platform/com/task_memory.h"
#include "platform/dshow/filter_mapper.h"
#include "platform/dshow/property_frame.h"
#include "platform/win32/dialog.h"
#include "platform/win32/dialog_user.h"
#include "platform/win32/registry_key.h"
#include "tests/filter/resize_graph.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace {

using namespace rftest;

const std::string kModule = TUL_FILTER_MODULE;
const std::wstring kFilterKey = L"CLSID\\{5A3D6EF8-8328-4482-A109-606E989A8FD6}";
const std::wstring kPageKey = L"CLSID\\{9759BA5F-97C9-4493-BDA3-E4D0BB955663}";

bool Loaded()
{
    void* handle = dlopen(kModule.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);  // the probe's own reference
    return handle != nullptr;
}

// The module loaded for the length of a scope, with its entry points.
struct Module {
    explicit Module(const std::string& path = kModule) : handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        EXPECT_NE(handle, nullptr) << dlerror();
    }
    ~Module()
    {
        if (handle != nullptr)
            dlclose(handle);
    }
    template <class F>
    F* Entry(const char* name) const
    {
        return handle != nullptr ? reinterpret_cast<F*>(dlsym(handle, name)) : nullptr;
    }
    HRESULT Call(const char* name) const
    {
        auto* entry = Entry<HRESULT()>(name);
        return entry != nullptr ? entry() : E_FAIL;
    }
    void* handle;
};

std::string Slurp(const std::string& path)
{
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tul_module_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_registry = m_dir + "/registry.reg";
        setenv("TUL_REGISTRY", m_registry.c_str(), 1);
        RegistryKey unrelated;
        ASSERT_EQ(unrelated.Create(HKEY_CLASSES_ROOT, L"CLSID\\{Unrelated}\\InprocServer32"), ERROR_SUCCESS);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        RegisterFilterMapperClasses();
    }
    void TearDown() override
    {
        CoUninitialize();
        unsetenv("TUL_REGISTRY");
        std::system(("rm -rf " + m_dir).c_str());
    }
    static bool KeyExists(const std::wstring& path)
    {
        RegistryKey key;
        return key.Open(HKEY_CLASSES_ROOT, path) == ERROR_SUCCESS;
    }
    std::string m_dir, m_registry;
};

TEST_F(ModuleTest, RegisteredModuleStreamsUnloadsAndUnregistersCleanly)
{
    // Registered through a relative path: the keys still name the file absolutely.
    {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        const std::size_t slash = kModule.rfind('/');
        ASSERT_EQ(chdir(kModule.substr(0, slash).c_str()), 0);
        Module module("." + kModule.substr(slash));
        ASSERT_EQ(chdir(cwd), 0);
        ASSERT_EQ(module.Call("DllRegisterServer"), S_OK) << RegistryFailureReason();
    }
    EXPECT_FALSE(Loaded());
    char real[PATH_MAX];
    ASSERT_NE(realpath(kModule.c_str(), real), nullptr);
    for (const std::wstring& key : {kFilterKey, kPageKey}) {
        RegistryKey server;
        std::wstring path, model;
        ASSERT_EQ(server.Open(HKEY_CLASSES_ROOT, key + L"\\InprocServer32"), ERROR_SUCCESS);
        EXPECT_EQ(server.GetString(L"", &path), ERROR_SUCCESS);
        EXPECT_EQ(path, std::wstring(real, real + std::strlen(real)));
        EXPECT_EQ(server.GetString(L"ThreadingModel", &model), ERROR_SUCCESS);
        EXPECT_EQ(model, L"Both");
    }
    std::vector<RegisteredFilter> filters;
    ASSERT_EQ(FindRegisteredFilters(CLSID_LegacyAmFilterCategory, &filters), S_OK);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].name, L"Vexo Tul Rezzo Filter");
    EXPECT_EQ(filters[0].clsid, CLSID_ResizeFilter);
    EXPECT_EQ(filters[0].merit, 0x00200000u);
    ASSERT_EQ(filters[0].pins.size(), 2u);
    for (DWORD i = 0; i < 2; ++i) {
        EXPECT_EQ(filters[0].pins[i].name, i == 0 ? L"Input" : L"Output");
        EXPECT_EQ(filters[0].pins[i].flags, i == 0 ? 0u : REG_PINFLAG_B_OUTPUT);
        ASSERT_EQ(filters[0].pins[i].types.size(), 1u);
        EXPECT_EQ(filters[0].pins[i].types[0].major, MEDIATYPE_Video);
        EXPECT_EQ(filters[0].pins[i].types[0].minor, GUID_NULL);
    }

    {
        ComPtr<IBaseFilter> filter;
        ASSERT_EQ(CoCreateInstance(CLSID_ResizeFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                   reinterpret_cast<void**>(filter.ReleaseAndGetAddressOf())),
                  S_OK);
        EXPECT_TRUE(Loaded());
        ComPtr<ISpecifyPropertyPages> pages;
        ASSERT_EQ(filter.As(IID_ISpecifyPropertyPages, &pages), S_OK);
        CAUUID list{};
        ASSERT_EQ(pages->GetPages(&list), S_OK);
        ASSERT_EQ(list.cElems, 1u);
        const CLSID pageClass = list.pElems[0];
        CoTaskMemFree(list.pElems);
        ComPtr<IPropertyPage> page;
        ASSERT_EQ(CoCreateInstance(pageClass, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                   reinterpret_cast<void**>(page.ReleaseAndGetAddressOf())),
                  S_OK);
        {
            PropertyFrame frame;
            ASSERT_EQ(frame.Open(page.Get(), filter.Get()), S_OK);
            ASSERT_TRUE(UserTypeText(GetDlgItem(frame.Dialog(), 1012), L"640"));
            ASSERT_TRUE(UserTypeText(GetDlgItem(frame.Dialog(), 1014), L"480"));
            EXPECT_EQ(page->Apply(), S_OK);
        }
        page.Reset();
        TestGraph<IBaseFilter> graph(VideoType(176, 144), 3, filter, L"resize", [](PushFrame& f) {
            FillFlat(f.pData, static_cast<std::size_t>(f.lActual), 90);
            return S_OK;
        });
        ASSERT_EQ(graph.Connect(), S_OK);
        graph.RunToEnd();
        const std::vector<Delivered> frames = graph.Take();
        ASSERT_EQ(frames.size(), 3u);
        for (const Delivered& d : frames) {
            ASSERT_EQ(d.bytes.size(), 640u * 480u * 2u);
            ExpectPicture(d.bytes, 640, 480, 90, 640, 480);
        }
        ASSERT_EQ(graph.graph->Stop(), S_OK);
        CoFreeUnusedLibraries();
        EXPECT_TRUE(Loaded()) << "unloaded while the filter lives";
    }
    CoFreeUnusedLibraries();
    EXPECT_FALSE(Loaded());

    {
        Module module;
        ASSERT_EQ(module.Call("DllUnregisterServer"), S_OK);
        EXPECT_EQ(module.Call("DllUnregisterServer"), S_OK);
    }
    EXPECT_FALSE(KeyExists(kFilterKey));
    EXPECT_FALSE(KeyExists(kPageKey));
    EXPECT_TRUE(KeyExists(L"CLSID\\{Unrelated}\\InprocServer32"));
    ASSERT_EQ(FindRegisteredFilters(CLSID_LegacyAmFilterCategory, &filters), S_OK);
    EXPECT_TRUE(filters.empty());
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ResizeFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, &object),
              REGDB_E_CLASSNOTREG);
}

TEST_F(ModuleTest, EntryPointsKeepTheModuleWhileAnythingOfItLives)
{
    Module module;
    auto* getClassObject = module.Entry<HRESULT(REFCLSID, REFIID, void**)>("DllGetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    void* none = nullptr;
    EXPECT_EQ(getClassObject(IID_IResizeSettings, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(getClassObject(CLSID_ResizeFilter, IID_IBaseFilter, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    auto factoryOf = [&](REFCLSID clsid) {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        return ComPtr<IClassFactory>::Attach(factory);
    };
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_OK);
    ComPtr<IClassFactory> factory = factoryOf(CLSID_ResizeFilter);
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_FALSE);
    IUnknown* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    factory.Reset();
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_FALSE);
    object->Release();
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_OK);
    factoryOf(CLSID_ResizeFilter)->LockServer(TRUE);
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_FALSE);
    factoryOf(CLSID_ResizeFilter)->LockServer(FALSE);
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_OK);
    // A page keeps the module too.
    ASSERT_EQ(factoryOf(CLSID_ResizePropertyPage)->CreateInstance(nullptr, IID_IPropertyPage, &none), S_OK);
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_FALSE);
    static_cast<IPropertyPage*>(none)->Release();
    EXPECT_EQ(module.Call("DllCanUnloadNow"), S_OK);

    // Exactly the four entry points are defined in the dynamic symbol table.
    FILE* pipe = popen(("nm -D --defined-only '" + kModule + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> symbols;
    char address[64], kind[8], name[512];
    while (std::fscanf(pipe, "%63s %7s %511s", address, kind, name) == 3)
        symbols.insert(name);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(symbols, (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                              "DllUnregisterServer"}));
}

TEST_F(ModuleTest, RegistrationLeavesAnUnreadableRegistryAlone)
{
    std::ofstream(m_registry, std::ios::binary) << "Windows Registry Editor Version 5.00\n\n[A]\nbroken\n";
    const std::string before = Slurp(m_registry);
    Module module;
    EXPECT_EQ(module.Call("DllRegisterServer"), HRESULT_FROM_WIN32(ERROR_BADDB));
    EXPECT_EQ(module.Call("DllUnregisterServer"), HRESULT_FROM_WIN32(ERROR_BADDB));
    EXPECT_EQ(Slurp(m_registry), before);
}

}  // namespace
