// The Reg*W calls: handles name a key path; every call reads the file
// (writes under the file's lock), so no state but the open handles lives
// in the process.
#include "platform/win32/registry.h"

#include "platform/win32/registry_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

namespace {

using regtext::Document;
using regtext::Key;
using regtext::SameName;
using regtext::Value;

constexpr char kRoot[] = "HKEY_CLASSES_ROOT";

// A plain array: a thread_local with a destructor would pin a module that
// links this code in memory until the thread ends, so it could not unload.
thread_local char t_reason[512];

LSTATUS Fail(LSTATUS code, const std::string& why)
{
    std::snprintf(t_reason, sizeof t_reason, "%s", why.c_str());
    return code;
}

struct KeyObject {
    std::string path;
};
// Live handles, so a stale or foreign handle is refused instead of followed.
std::mutex g_handlesLock;
std::set<const KeyObject*> g_handles;

bool BasePath(HKEY h, std::string* path)
{
    if (h == HKEY_CLASSES_ROOT) {
        *path = kRoot;
        return true;
    }
    std::lock_guard<std::mutex> lock(g_handlesLock);
    const auto* key = reinterpret_cast<const KeyObject*>(h);
    if (g_handles.count(key) == 0)
        return false;
    *path = key->path;
    return true;
}

HKEY NewHandle(const std::string& path)
{
    auto* key = new KeyObject{path};
    std::lock_guard<std::mutex> lock(g_handlesLock);
    g_handles.insert(key);
    return reinterpret_cast<HKEY>(key);
}

// Names may not break the file's lines; paths have no empty components.
bool CleanName(const std::string& name)
{
    return name.find('\n') == std::string::npos && name.find('\r') == std::string::npos;
}

bool JoinPath(const std::string& base, LPCWSTR sub, std::string* path)
{
    *path = base;
    if (sub == nullptr || *sub == L'\0')
        return true;
    const std::string tail = regtext::ToUtf8(sub);
    if (!CleanName(tail) || tail.front() == '\\' || tail.back() == '\\' || tail.find("\\\\") != std::string::npos)
        return false;
    *path += "\\" + tail;
    return true;
}

bool IsBelow(const std::string& path, const std::string& ancestor)
{
    return path.size() > ancestor.size() + 1 && path[ancestor.size()] == '\\' &&
           SameName(path.substr(0, ancestor.size()), ancestor);
}

Key* FindKey(Document& doc, const std::string& path)
{
    for (Key& k : doc.keys)
        if (SameName(k.path, path))
            return &k;
    return nullptr;
}

// A key exists when written, when a key below it is written, or as the root.
bool Exists(const Document& doc, const std::string& path)
{
    if (SameName(path, kRoot))
        return true;
    return std::any_of(doc.keys.begin(), doc.keys.end(),
                       [&](const Key& k) { return SameName(k.path, path) || IsBelow(k.path, path); });
}

// Writes the key and each missing ancestor below the root as its own
// section, as an export lists every key.
bool AddKeyWithAncestors(Document& doc, const std::string& path)
{
    bool added = false;
    for (std::size_t at = std::strlen(kRoot); at != std::string::npos;) {
        at = path.find('\\', at + 1);
        const std::string prefix = path.substr(0, at);
        if (FindKey(doc, prefix) == nullptr) {
            doc.keys.push_back(Key{prefix, {}});
            added = true;
        }
    }
    return added;
}

std::vector<std::string> Children(const Document& doc, const std::string& path)
{
    std::vector<std::string> names;
    for (const Key& k : doc.keys) {
        if (!IsBelow(k.path, path))
            continue;
        const std::string rest = k.path.substr(path.size() + 1);
        const std::string name = rest.substr(0, rest.find('\\'));
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); }))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    });
    return names;
}

LSTATUS ReadDoc(Document* doc)
{
    std::string why;
    const LONG status = regfile::Read(RegistryFilePath(), doc, &why);
    return status == ERROR_SUCCESS ? status : Fail(status, why);
}

LSTATUS ModifyDoc(const std::function<LONG(Document&, bool*)>& change)
{
    std::string why;
    const LONG status = regfile::Modify(RegistryFilePath(), change, &why);
    return status == ERROR_SUCCESS ? status : Fail(status, why.empty() ? "the key is gone" : why);
}

// String data must be whole wchar_t units of real characters, so it can be
// written as text (or UTF-16) and read back unchanged.
bool ValidData(DWORD type, const BYTE* data, DWORD size)
{
    if (size > 0 && data == nullptr)
        return false;
    if (type == REG_DWORD)
        return size == 4;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ)
        return true;
    if (size % sizeof(wchar_t) != 0)
        return false;
    for (DWORD i = 0; i < size; i += sizeof(wchar_t)) {
        wchar_t w;
        std::memcpy(&w, data + i, sizeof w);
        const auto c = static_cast<std::uint32_t>(w);
        if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return false;
    }
    return true;
}

}  // namespace

const char* RegistryFailureReason() { return t_reason; }

std::string RegistryFilePath()
{
    const char* chosen = std::getenv("TUL_REGISTRY");
    if (chosen != nullptr && *chosen != '\0')
        return chosen;
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/')
        return std::string(data) + "/tul/registry.reg";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return std::string(home) + "/.local/share/tul/registry.reg";
    return {};
}

LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM, const void*, HKEY* phkResult,
                        DWORD* lpdwDisposition)
{
    std::string base, path;
    if (phkResult == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, "no place for the key handle");
    *phkResult = nullptr;
    if (!BasePath(hKey, &base))
        return Fail(ERROR_INVALID_HANDLE, "not an open key");
    if (!JoinPath(base, lpSubKey, &path))
        return Fail(ERROR_INVALID_PARAMETER, "bad key name");
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    const LSTATUS status = ModifyDoc([&](Document& doc, bool* changed) -> LONG {
        if (!Exists(doc, base))
            return ERROR_KEY_DELETED;
        if (!Exists(doc, path))
            disposition = REG_CREATED_NEW_KEY;
        *changed = AddKeyWithAncestors(doc, path);
        return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS)
        return status;
    *phkResult = NewHandle(path);
    if (lpdwDisposition != nullptr)
        *lpdwDisposition = disposition;
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, HKEY* phkResult)
{
    std::string base, path;
    if (phkResult == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, "no place for the key handle");
    *phkResult = nullptr;
    if (!BasePath(hKey, &base))
        return Fail(ERROR_INVALID_HANDLE, "not an open key");
    if (!JoinPath(base, lpSubKey, &path))
        return Fail(ERROR_INVALID_PARAMETER, "bad key name");
    Document doc;
    if (const LSTATUS status = ReadDoc(&doc); status != ERROR_SUCCESS)
        return status;
    if (!Exists(doc, path))
        return Fail(ERROR_FILE_NOT_FOUND, "no key " + path);
    *phkResult = NewHandle(path);
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    std::string path;
    if (!BasePath(hKey, &path))
        return Fail(ERROR_INVALID_HANDLE, "not an open key");
    const std::string name = lpValueName != nullptr ? regtext::ToUtf8(lpValueName) : std::string();
    if (!CleanName(name) || !ValidData(dwType, lpData, cbData))
        return Fail(ERROR_INVALID_PARAMETER, "bad value name or data");
    Value value{name, dwType, std::vector<BYTE>(lpData, lpData + cbData)};
    return ModifyDoc([&](Document& doc, bool* changed) -> LONG {
        if (!Exists(doc, path))
            return ERROR_KEY_DELETED;
        AddKeyWithAncestors(doc, path);
        *changed = true;
        std::vector<Value>& values = FindKey(doc, path)->values;
        for (Value& old : values)
            if (SameName(old.name, name)) {
                old.type = value.type;
                old.data = std::move(value.data);
                return ERROR_SUCCESS;
            }
        values.push_back(std::move(value));
        return ERROR_SUCCESS;
    });
}

LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD*, DWORD* lpType, BYTE* lpData, DWORD* lpcbData)
{
    std::string path;
    if (!BasePath(hKey, &path))
        return Fail(ERROR_INVALID_HANDLE, "not an open key");
    if (lpData != nullptr && lpcbData == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, "a data buffer needs its size");
    Document doc;
    if (const LSTATUS status = ReadDoc(&doc); status != ERROR_SUCCESS)
        return status;
    if (!Exists(doc, path))
        return Fail(ERROR_KEY_DELETED, "key " + path + " was deleted");
    const std::string name = lpValueName != nullptr ? regtext::ToUtf8(lpValueName) : std::string();
    const Key* key = FindKey(doc, path);
    const Value* found = nullptr;
    if (key != nullptr)
        for (const Value& v : key->values)
            if (SameName(v.name, name))
                found = &v;
    if (found == nullptr)
        return Fail(ERROR_FILE_NOT_FOUND, "no value \"" + name + "\" in " + path);
    if (lpType != nullptr)
        *lpType = found->type;
    const auto size = static_cast<DWORD>(found->data.size());
    if (lpcbData == nullptr)
        return ERROR_SUCCESS;
    const DWORD capacity = *lpcbData;
    *lpcbData = size;
    if (lpData == nullptr)
        return ERROR_SUCCESS;
    if (capacity < size)
        return Fail(ERROR_MORE_DATA, "buffer too small");
    if (size > 0)
        std::memcpy(lpData, found->data.data(), size);
    return ERROR_SUCCESS;
}

LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD* lpcchName, DWORD*, LPWSTR lpClass,
                      DWORD* lpcchClass, FILETIME* lpftLastWriteTime)
{
    std::string path;
    if (!BasePath(hKey, &path))
        return Fail(ERROR_INVALID_HANDLE, "not an open key");
    if (lpName == nullptr || lpcchName == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, "no place for the name");
    Document doc;
    if (const LSTATUS status = ReadDoc(&doc); status != ERROR_SUCCESS)
        return status;
    if (!Exists(doc, path))
        return Fail(ERROR_KEY_DELETED, "key " + path + " was deleted");
    const std::vector<std::string> names = Children(doc, path);
    if (dwIndex >= names.size())
        return ERROR_NO_MORE_ITEMS;
    const std::wstring name = regtext::FromUtf8(names[dwIndex]);
    if (*lpcchName <= name.size())
        return Fail(ERROR_MORE_DATA, "name buffer too small");
    std::copy(name.begin(), name.end(), lpName);
    lpName[name.size()] = L'\0';
    *lpcchName = static_cast<DWORD>(name.size());
    if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0) {
        lpClass[0] = L'\0';
        *lpcchClass = 0;
    }
    if (lpftLastWriteTime != nullptr)
        *lpftLastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey)
{
    std::string base, path;
    if (!BasePath(hKey, &base))
        return Fail(ERROR_INVALID_HANDLE, "not an open key");
    if (!JoinPath(base, lpSubKey, &path))
        return Fail(ERROR_INVALID_PARAMETER, "bad key name");
    const bool keepTop = path == base;
    return ModifyDoc([&](Document& doc, bool* changed) -> LONG {
        if (!Exists(doc, path))
            return keepTop ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND;
        const std::size_t before = doc.keys.size();
        doc.keys.erase(std::remove_if(doc.keys.begin(), doc.keys.end(),
                                      [&](const Key& k) {
                                          return IsBelow(k.path, path) || (!keepTop && SameName(k.path, path));
                                      }),
                       doc.keys.end());
        Key* top = keepTop ? FindKey(doc, path) : nullptr;
        *changed = doc.keys.size() != before || (top != nullptr && !top->values.empty());
        if (top != nullptr)
            top->values.clear();
        return ERROR_SUCCESS;
    });
}

LSTATUS RegCloseKey(HKEY hKey)
{
    if (hKey == HKEY_CLASSES_ROOT)
        return ERROR_SUCCESS;
    const auto* key = reinterpret_cast<const KeyObject*>(hKey);
    {
        std::lock_guard<std::mutex> lock(g_handlesLock);
        if (g_handles.erase(key) == 0)
            return Fail(ERROR_INVALID_HANDLE, "not an open key");
    }
    delete key;
    return ERROR_SUCCESS;
}
