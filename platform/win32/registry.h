// advapi32's registry calls over HKEY_CLASSES_ROOT, kept in one text file
// in the .reg export format. Every call reads the file afresh (nothing is
// cached), so two copies of this code in one process, or two processes,
// meet in the file; writes are read-modify-write under a file lock and
// replace the file atomically.
#pragma once

#include "platform/win32/wintypes.h"

#include <cstdint>
#include <string>

typedef wchar_t WCHAR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPWSTR;
typedef LONG LSTATUS;
typedef DWORD REGSAM;
typedef struct HKEY__* HKEY;
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

// The one predefined root served here.
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))

// Win32 error codes these calls return.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_WRITE_FAULT 29L
#define ERROR_READ_FAULT 30L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_BADDB 1009L
#define ERROR_KEY_DELETED 1018L

// Value types.
#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

// Accepted and ignored: there is no security and no volatile storage.
#define REG_OPTION_NON_VOLATILE 0u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu
#define REG_CREATED_NEW_KEY 1u
#define REG_OPENED_EXISTING_KEY 2u

// Key and value names compare without regard to ASCII case. String data
// is counted in bytes of wchar_t units, terminator included when given.
LSTATUS RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                        REGSAM samDesired, const void* lpSecurityAttributes, HKEY* phkResult,
                        DWORD* lpdwDisposition);
LSTATUS RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, HKEY* phkResult);
LSTATUS RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                       DWORD cbData);
LSTATUS RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD* lpReserved, DWORD* lpType, BYTE* lpData,
                         DWORD* lpcbData);
// Subkeys in case-insensitive name order.
LSTATUS RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD* lpcchName, DWORD* lpReserved,
                      LPWSTR lpClass, DWORD* lpcchClass, FILETIME* lpftLastWriteTime);
// With a subkey: that key and everything below it. Without: everything
// below hKey and its values, hKey itself kept.
LSTATUS RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey);
LSTATUS RegCloseKey(HKEY hKey);

// Why the last failing registry call on this thread failed, in words
// (for a file that does not parse, the line and what was wrong).
const char* RegistryFailureReason();
// The file the calls use: TUL_REGISTRY, else $XDG_DATA_HOME/tul/registry.reg,
// else ~/.local/share/tul/registry.reg; empty when none can be formed.
std::string RegistryFilePath();
