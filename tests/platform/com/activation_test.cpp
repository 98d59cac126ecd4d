// Activation: per-thread initialisation, the runtime's classes ahead of
// the registry, the registry's failures with their codes, GUID text read
// back, and the module path. Loading and unloading a real server is the
// module's end-to-end test.
#include "platform/com/activation.h"
#include "platform/com/module_path.h"
#include "platform/win32/registry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

DEFINE_GUID(kRuntimeClass, 0x6a1e3b8c, 0x1d2e, 0x4f50, 0x8a, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77);
DEFINE_GUID(kServerClass, 0x6a1e3b8d, 0x1d2e, 0x4f50, 0x8a, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77);

HRESULT CreateRuntimeObject(LPUNKNOWN outer, REFIID, void** ppv)
{
    *ppv = outer;  // stands for the object: tells the test the creator ran
    return outer != nullptr ? S_OK : E_FAIL;
}

class Activation : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tul_activation_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        setenv("TUL_REGISTRY", (m_dir + "/registry.reg").c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override
    {
        CoUninitialize();
        unsetenv("TUL_REGISTRY");
        std::system(("rm -rf " + m_dir).c_str());
    }
    // Writes CLSID\{clsid}\InprocServer32 = server.
    static void Register(REFCLSID clsid, const std::string& server)
    {
        wchar_t guid[39];
        StringFromGUID2(clsid, guid, 39);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + guid + L"\\InprocServer32").c_str(),
                                  0, nullptr, 0, 0, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring wide(server.begin(), server.end());
        ASSERT_EQ(RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                 static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    std::string m_dir;
};

TEST_F(Activation, InitialisationCountsPerThreadAndKeepsItsMode)
{
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    void* object = nullptr;
    std::thread([&] {
        EXPECT_EQ(CoCreateInstance(kServerClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_NOTINITIALIZED);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    }).join();
    // Still initialised here once.
    EXPECT_EQ(CoCreateInstance(kServerClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
}

TEST_F(Activation, RuntimeClassesComeBeforeTheRegistry)
{
    ASSERT_TRUE(RegisterRuntimeClass(kRuntimeClass, CreateRuntimeObject) ||
                !RegisterRuntimeClass(kRuntimeClass, CreateRuntimeObject));
    EXPECT_FALSE(RegisterRuntimeClass(kRuntimeClass, CreateRuntimeObject));
    Register(kRuntimeClass, m_dir + "/missing.so");
    auto* outer = reinterpret_cast<IUnknown*>(this);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kRuntimeClass, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object), S_OK);
    EXPECT_EQ(object, outer);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(kRuntimeClass, CLSCTX_ALL, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(CoGetClassObject(kRuntimeClass, CLSCTX_ALL, nullptr, IID_IPersist, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
}

TEST_F(Activation, RegistryFailuresHaveTheirCodes)
{
    void* object = reinterpret_cast<void*>(this);
    EXPECT_EQ(CoCreateInstance(kServerClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    Register(kServerClass, m_dir + "/missing.so");
    EXPECT_EQ(CoCreateInstance(kServerClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_DLLNOTFOUND);
    // A real shared object without DllGetClassObject: the maths library.
    std::string libm;
    double (*sine)(double) = std::sin;
    ASSERT_EQ(GetModulePathOf(reinterpret_cast<const void*>(sine), &libm), S_OK);
    Register(kServerClass, libm);
    EXPECT_EQ(CoCreateInstance(kServerClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_ERRORINDLL);
    EXPECT_EQ(CoCreateInstance(kServerClass, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr), E_POINTER);
}

TEST(GuidText, ReadsBackWhatItWritesAndRefusesTheRest)
{
    CLSID read{};
    wchar_t text[39];
    ASSERT_EQ(StringFromGUID2(kServerClass, text, 39), 39);
    ASSERT_EQ(CLSIDFromString(text, &read), S_OK);
    EXPECT_EQ(read, kServerClass);
    EXPECT_EQ(CLSIDFromString(L"{6a1e3b8d-1d2e-4f50-8a11-223344556677}", &read), S_OK);
    EXPECT_EQ(read, kServerClass);
    for (const wchar_t* bad : {L"", L"6A1E3B8D-1D2E-4F50-8A11-223344556677", L"{6A1E3B8D-1D2E-4F50-8A11-22334455667}",
                               L"{6A1E3B8D-1D2E-4F50-8A11-2233445566778}", L"{6A1E3B8D+1D2E-4F50-8A11-223344556677}",
                               L"{6A1E3B8D-1D2E-4F50-8A1G-223344556677}", L"{6A1E3B8D-1D2E-4F50-8A11-223344556677}x"})
        EXPECT_EQ(CLSIDFromString(bad, &read), CO_E_CLASSSTRING) << static_cast<int>(std::wcslen(bad));
    EXPECT_EQ(read, kServerClass);
}

TEST(ModulePath, IsAbsoluteAndResolved)
{
    std::string path;
    ASSERT_EQ(GetModulePathOf(reinterpret_cast<const void*>(&CreateRuntimeObject), &path), S_OK);
    char self[PATH_MAX];
    ASSERT_NE(realpath("/proc/self/exe", self), nullptr);
    EXPECT_EQ(path, self);
    int onStack = 0;
    EXPECT_EQ(GetModulePathOf(&onStack, &path), HRESULT_FROM_WIN32(126));
    EXPECT_TRUE(path.empty());
}

}  // namespace
