// The registry file's reading, locking and atomic replacement.
#include "platform/win32/registry_file.h"

#include "platform/win32/registry.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace regfile {
namespace {

std::string Explain(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// Closes the descriptor on every path.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool MakeParentDirectories(const std::string& path, std::string* why)
{
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        const std::string dir = path.substr(0, at);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
            *why = Explain("cannot create directory", dir);
            return false;
        }
    }
    return true;
}

bool WriteAll(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Temporary file beside the target, then rename: a reader sees the old
// file or the new one, never part of either.
LONG Replace(const std::string& path, const std::string& text, std::string* why)
{
    std::string temp = path + ".XXXXXX";
    Fd out;
    out.fd = ::mkstemp(temp.data());
    if (out.fd < 0) {
        *why = Explain("cannot create a temporary file beside", path);
        return ERROR_WRITE_FAULT;
    }
    const bool written = ::fchmod(out.fd, 0644) == 0 && WriteAll(out.fd, text) && ::fsync(out.fd) == 0;
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        *why = Explain(written ? "cannot rename a temporary file onto" : "cannot write a temporary file for", path);
        ::unlink(temp.c_str());
        return ERROR_WRITE_FAULT;
    }
    return ERROR_SUCCESS;
}

}  // namespace

LONG Read(const std::string& path, regtext::Document* doc, std::string* why)
{
    doc->keys.clear();
    if (path.empty()) {
        *why = "no registry file: set TUL_REGISTRY, XDG_DATA_HOME or HOME";
        return ERROR_PATH_NOT_FOUND;
    }
    Fd in;
    in.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0) {
        if (errno == ENOENT)
            return ERROR_SUCCESS;
        *why = Explain("cannot open", path);
        return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_READ_FAULT;
    }
    std::string text;
    char block[8192];
    for (;;) {
        const ssize_t n = ::read(in.fd, block, sizeof block);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *why = Explain("cannot read", path);
            return ERROR_READ_FAULT;
        }
        if (n == 0)
            break;
        text.append(block, static_cast<std::size_t>(n));
    }
    std::string reason;
    if (!regtext::Parse(text, doc, &reason)) {
        *why = path + " is not a registry file this program can read, so it is left alone: " + reason;
        return ERROR_BADDB;
    }
    return ERROR_SUCCESS;
}

LONG Modify(const std::string& path, const std::function<LONG(regtext::Document&, bool*)>& change,
            std::string* why)
{
    if (path.empty()) {
        *why = "no registry file: set TUL_REGISTRY, XDG_DATA_HOME or HOME";
        return ERROR_PATH_NOT_FOUND;
    }
    if (!MakeParentDirectories(path, why))
        return ERROR_PATH_NOT_FOUND;
    const std::string lockPath = path + ".lock";
    Fd lock;
    lock.fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock.fd < 0) {
        *why = Explain("cannot open the lock file", lockPath);
        return ERROR_ACCESS_DENIED;
    }
    while (::flock(lock.fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            *why = Explain("cannot lock", lockPath);
            return ERROR_WRITE_FAULT;
        }
    }
    regtext::Document doc;
    LONG status = Read(path, &doc, why);
    if (status != ERROR_SUCCESS)
        return status;
    bool changed = false;
    status = change(doc, &changed);
    if (status != ERROR_SUCCESS || !changed)
        return status;
    return Replace(path, regtext::Serialize(doc), why);
}

}  // namespace regfile
