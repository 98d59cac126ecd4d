// File identity by real path and by device and inode.
#include "apps/tulrezzo/file_identity.h"

#include <filesystem>
#include <sys/stat.h>

namespace tulrezzo {

FileRef Resolve(const std::string& name, int fd)
{
    FileRef ref;
    if (name.empty())
        return ref;
    struct stat info {};
    if (name == "-") {
        ref.hasId = fstat(fd, &info) == 0;
    } else {
        std::error_code ec;
        const std::filesystem::path real = std::filesystem::weakly_canonical(std::filesystem::absolute(name, ec), ec);
        ref.path = ec ? name : real.string();
        ref.hasId = stat(name.c_str(), &info) == 0;
    }
    // Devices, pipes and terminals are no files to overwrite: standard input
    // and output on one terminal are not "the same file".
    ref.hasId = ref.hasId && S_ISREG(info.st_mode);
    ref.device = info.st_dev;
    ref.inode = info.st_ino;
    return ref;
}

bool SameFile(const FileRef& a, const FileRef& b)
{
    return (!a.path.empty() && a.path == b.path) ||
           (a.hasId && b.hasId && a.device == b.device && a.inode == b.inode);
}

}  // namespace tulrezzo
