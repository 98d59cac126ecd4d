// The registry file: values read back exactly through the file, names
// ignore case, enumeration and tree deletion, concurrent writers, and a
// file that does not parse is refused and left byte-for-byte alone.
#include "platform/win32/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char dir[] = "/tmp/tul_registry_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_dir = dir;
        m_file = m_dir + "/sub/dir/registry.reg";
        setenv("TUL_REGISTRY", m_file.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("TUL_REGISTRY");
        std::system(("rm -rf " + m_dir).c_str());
    }
    HKEY Create(const wchar_t* path)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    std::vector<BYTE> Query(HKEY key, const wchar_t* name, DWORD* type)
    {
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, nullptr, &size), ERROR_SUCCESS);
        std::vector<BYTE> data(size);
        EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, data.data(), &size), ERROR_SUCCESS);
        return data;
    }
    std::string m_dir, m_file;
};

std::vector<BYTE> Wide(const std::wstring& s, bool terminated = true)
{
    const std::size_t units = s.size() + (terminated ? 1 : 0);
    const auto* p = reinterpret_cast<const BYTE*>(s.c_str());
    return {p, p + units * sizeof(wchar_t)};
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheFileText)
{
    std::vector<BYTE> blob(70);
    for (std::size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<BYTE>(i * 37);
    const DWORD merit = 0x00200000;
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> data;
    } cases[] = {
        {nullptr, REG_SZ, Wide(L"C:\\dir\\\"quoted\" \u00e9\U0001F600")},
        {L"Lines", REG_SZ, Wide(L"one\r\ntwo")},
        {L"Open", REG_SZ, Wide(L"no end", false)},
        {L"Many", REG_MULTI_SZ, Wide(std::wstring(L"a\0b\0", 4))},
        {L"Merit", REG_DWORD, {0x00, 0x00, 0x20, 0x00}},
        {L"Blob", REG_BINARY, blob},
        {L"Empty", REG_BINARY, {}},
    };
    HKEY key = Create(L"CLSID\\{Test}\\Inproc");
    for (const Case& c : cases)
        ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
    // Replaced in place, whatever the case of the name.
    ASSERT_EQ(RegSetValueExW(key, L"MERIT", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&merit), 4), ERROR_SUCCESS);
    const std::string text = Slurp(m_file);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\CLSID]\n", 0), 0u) << text;
    EXPECT_NE(text.find("@=\"C:\\\\dir\\\\\\\"quoted\\\" \xC3\xA9\xF0\x9F\x98\x80\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Merit\"=dword:00200000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Lines\"=hex(1):6f,00,6e,00,65,00,0d,00,0a,00,74,00,77,00,6f,00,00,00\n"), std::string::npos);
    RegCloseKey(key);

    HKEY again = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"clsid\\{TEST}\\inproc", 0, KEY_READ, &again), ERROR_SUCCESS);
    for (const Case& c : cases) {
        DWORD type = 0;
        EXPECT_EQ(Query(again, c.name, &type), c.data) << (c.name ? "named" : "default");
        EXPECT_EQ(type, c.type);
    }
    DWORD size = 3;
    BYTE small[3];
    EXPECT_EQ(RegQueryValueExW(again, L"Merit", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(RegQueryValueExW(again, L"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(again, L"Merit", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(again, L"Odd", 0, REG_SZ, small, 3), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(again, L"Short", 0, REG_DWORD, small, 3), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(again), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{Other}", 0, KEY_READ, &again), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, EnumeratesInNameOrderAndDeletesTrees)
{
    for (const wchar_t* path : {L"Top\\beta\\deep\\er", L"Top\\Alpha", L"Top\\gamma", L"Other\\kept"})
        RegCloseKey(Create(path));
    HKEY top = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"TOP", 0, nullptr, 0, 0, nullptr, &top, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    auto names = [&] {
        std::vector<std::wstring> out;
        wchar_t name[16];
        for (DWORD i = 0;; ++i) {
            DWORD count = 16;
            const LSTATUS status = RegEnumKeyExW(top, i, name, &count, nullptr, nullptr, nullptr, nullptr);
            if (status != ERROR_SUCCESS) {
                EXPECT_EQ(status, ERROR_NO_MORE_ITEMS);
                return out;
            }
            EXPECT_EQ(count, std::wcslen(name));
            out.push_back(name);
        }
    };
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
    wchar_t tiny[5];
    DWORD count = 5;
    EXPECT_EQ(RegEnumKeyExW(top, 0, tiny, &count, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    HKEY deep = nullptr;
    ASSERT_EQ(RegOpenKeyExW(top, L"Beta\\Deep", 0, KEY_READ, &deep), ERROR_SUCCESS);
    const BYTE one[4] = {1, 0, 0, 0};
    ASSERT_EQ(RegSetValueExW(top, L"v", 0, REG_DWORD, one, 4), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(top, L"BETA"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(top, L"beta"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegSetValueExW(deep, L"v", 0, REG_DWORD, one, 4), ERROR_KEY_DELETED);
    EXPECT_EQ(names(), (std::vector<std::wstring>{L"Alpha", L"gamma"}));
    // Without a subkey: everything below and the values go, the key stays.
    EXPECT_EQ(RegDeleteTreeW(top, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(names().empty());
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(top, L"v", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    HKEY kept = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Other\\Kept", 0, KEY_READ, &kept), ERROR_SUCCESS);
    for (HKEY k : {top, deep, kept})
        RegCloseKey(k);
}

// Each writer reads, changes and replaces the file under the lock, with
// its own handles, so no key is lost between them.
TEST_F(RegistryTest, ConcurrentWritersKeepEachOthersKeys)
{
    constexpr int kKeys = 40;
    auto writer = [this](wchar_t tag) {
        for (int i = 0; i < kKeys; ++i) {
            const std::wstring path = std::wstring(L"W") + tag + L"\\" + std::to_wstring(i);
            HKEY key = Create(path.c_str());
            const DWORD value = static_cast<DWORD>(i);
            EXPECT_EQ(RegSetValueExW(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
                      ERROR_SUCCESS);
            RegCloseKey(key);
        }
    };
    std::thread a(writer, L'a'), b(writer, L'b');
    a.join();
    b.join();
    for (const wchar_t* tag : {L"Wa\\", L"Wb\\"})
        for (int i = 0; i < kKeys; ++i) {
            HKEY key = nullptr;
            ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, (tag + std::to_wstring(i)).c_str(), 0, KEY_READ, &key),
                      ERROR_SUCCESS);
            DWORD type = 0;
            EXPECT_EQ(Query(key, nullptr, &type), (std::vector<BYTE>{static_cast<BYTE>(i), 0, 0, 0}));
            RegCloseKey(key);
        }
}

TEST_F(RegistryTest, AFileThatDoesNotParseIsRefusedAndLeftAlone)
{
    RegCloseKey(Create(L"Good"));
    const std::string good = Slurp(m_file);
    for (const std::string& bad : {std::string("REGEDIT4\n"), good + "\"x\"=dword:12\n", good + "[-Gone]\n",
                                   good + "junk\n", std::string("\xff\xfe binary")}) {
        std::ofstream(m_file, std::ios::binary) << bad;
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"New", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_BADDB);
        EXPECT_NE(std::string(RegistryFailureReason()).find("line"), std::string::npos) << RegistryFailureReason();
        EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Good"), ERROR_BADDB);
        EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Good", 0, KEY_READ, &key), ERROR_BADDB);
        EXPECT_EQ(Slurp(m_file), bad);
    }
}

TEST_F(RegistryTest, FilePathFollowsTheEnvironment)
{
    EXPECT_EQ(RegistryFilePath(), m_file);
    unsetenv("TUL_REGISTRY");
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(RegistryFilePath(), "/data/tul/registry.reg");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(RegistryFilePath(), "/home/u/.local/share/tul/registry.reg");
}

}  // namespace
