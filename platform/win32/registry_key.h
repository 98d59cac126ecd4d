// An owned registry key with string and DWORD helpers, so callers close
// every key on every path and never size string buffers by hand.
#pragma once

#include "platform/win32/registry.h"

#include <string>
#include <utility>
#include <vector>

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    RegistryKey(RegistryKey&& other) noexcept : m_key(std::exchange(other.m_key, nullptr)) {}
    ~RegistryKey() { Close(); }

    LSTATUS Create(HKEY parent, const std::wstring& path)
    {
        Close();
        return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                               &m_key, nullptr);
    }
    LSTATUS Open(HKEY parent, const std::wstring& path)
    {
        Close();
        return RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &m_key);
    }
    void Close()
    {
        if (m_key != nullptr)
            RegCloseKey(std::exchange(m_key, nullptr));
    }
    HKEY Get() const { return m_key; }

    // name empty: the default value.
    LSTATUS SetString(const std::wstring& name, const std::wstring& value) const
    {
        return RegSetValueExW(m_key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    LSTATUS SetDword(const std::wstring& name, DWORD value) const
    {
        return RegSetValueExW(m_key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
    // Text up to its first terminator; ERROR_INVALID_PARAMETER for a
    // value that is not a string.
    LSTATUS GetString(const std::wstring& name, std::wstring* value) const
    {
        DWORD type = 0, size = 0;
        const wchar_t* valueName = name.empty() ? nullptr : name.c_str();
        LSTATUS status = RegQueryValueExW(m_key, valueName, nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return status;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_INVALID_PARAMETER;
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        status = RegQueryValueExW(m_key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size);
        if (status == ERROR_SUCCESS)
            *value = text.c_str();
        return status;
    }
    LSTATUS GetDword(const std::wstring& name, DWORD* value) const
    {
        DWORD type = 0, size = 4;
        const LSTATUS status = RegQueryValueExW(m_key, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(value), &size);
        return status == ERROR_SUCCESS && (type != REG_DWORD || size != 4) ? ERROR_INVALID_PARAMETER : status;
    }
    // Immediate subkey names, in the registry's order.
    std::vector<std::wstring> SubkeyNames() const
    {
        std::vector<std::wstring> names;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD count = 256;
            if (RegEnumKeyExW(m_key, i, name, &count, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                return names;
            names.emplace_back(name, count);
        }
    }

private:
    HKEY m_key = nullptr;
};
