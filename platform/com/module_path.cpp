// dladdr names the object as it was loaded, which may be relative to a
// working directory that has since changed; the loader's map in
// /proc/self/maps always carries the absolute path, so it is the fallback.
#include "platform/com/module_path.h"

#include <dlfcn.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr DWORD kModNotFound = 126;  // ERROR_MOD_NOT_FOUND

bool PathFromMaps(std::uintptr_t at, std::string* path)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, file;
        fields >> range >> perms >> offset >> device >> inode >> file;
        const std::size_t dash = range.find('-');
        if (dash == std::string::npos || file.empty() || file[0] != '/')
            continue;
        const auto low = std::strtoull(range.c_str(), nullptr, 16);
        const auto high = std::strtoull(range.c_str() + dash + 1, nullptr, 16);
        if (at >= low && at < high) {
            *path = file;
            return true;
        }
    }
    return false;
}

}  // namespace

HRESULT GetModulePathOf(const void* address, std::string* path)
{
    if (path == nullptr)
        return E_POINTER;
    path->clear();
    Dl_info info{};
    std::string found;
    if (dladdr(address, &info) != 0 && info.dli_fname != nullptr && info.dli_fname[0] == '/')
        found = info.dli_fname;
    else if (!PathFromMaps(reinterpret_cast<std::uintptr_t>(address), &found))
        return HRESULT_FROM_WIN32(kModNotFound);
    char resolved[PATH_MAX];
    if (realpath(found.c_str(), resolved) == nullptr || resolved[0] != '/')
        return HRESULT_FROM_WIN32(kModNotFound);
    *path = resolved;
    return S_OK;
}
