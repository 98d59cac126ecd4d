// Whether two names on the command line lead to one file, so a run never
// writes over what it reads.
#pragma once

#include <string>
#include <sys/types.h>

namespace tulrezzo {

// The file a name leads to. "-" stands for the standard stream `fd`, which
// is a file only when redirected from or to one. Any other name gives its
// real path, so "./a.bmp", "d/../a.bmp" and a link to a.bmp are one file
// even before it exists; an existing regular file also gives its device
// and inode, which catch hard links and redirected streams.
struct FileRef {
    std::string path;
    bool hasId = false;
    dev_t device = 0;
    ino_t inode = 0;
};

FileRef Resolve(const std::string& name, int fd);

bool SameFile(const FileRef& a, const FileRef& b);

}  // namespace tulrezzo
