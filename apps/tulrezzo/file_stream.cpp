// Buffered file access over stdio; errno is captured at the failing call
// so the message names the real cause.
#include "apps/tulrezzo/file_stream.h"

#include "apps/tulrezzo/app_error.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace tulrezzo {

namespace {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

}  // namespace

InputFile::InputFile(const std::string& path)
{
    if (path == "-") {
        m_file = stdin;
        m_name = "standard input";
        return;
    }
    m_name = Quoted(path);
    m_file = std::fopen(path.c_str(), "rb");
    if (m_file == nullptr)
        throw Failure("cannot open " + m_name + ": " + std::strerror(errno));
    m_owned = true;
    struct stat info {};
    if (fstat(fileno(m_file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(m_file);
        m_file = nullptr;
        throw Failure("cannot read " + m_name + ": it is a directory");
    }
}

InputFile::~InputFile()
{
    if (m_owned && m_file != nullptr)
        std::fclose(m_file);
}

std::size_t InputFile::Read(void* dst, std::size_t count)
{
    auto* out = static_cast<unsigned char*>(dst);
    std::size_t done = 0;
    while (done < count) {
        errno = 0;
        const std::size_t got = std::fread(out + done, 1, count - done, m_file);
        done += got;
        if (got == 0) {
            if (std::ferror(m_file)) {
                if (errno == EINTR) {
                    std::clearerr(m_file);
                    continue;
                }
                m_errno = errno != 0 ? errno : EIO;
            }
            break;
        }
    }
    return done;
}

int InputFile::ReadByte()
{
    errno = 0;
    const int c = std::fgetc(m_file);
    if (c == EOF && std::ferror(m_file))
        m_errno = errno != 0 ? errno : EIO;
    return c;
}

bool InputFile::Failed() const { return m_errno != 0; }

std::string InputFile::ReadErrorMessage() const { return "cannot read " + m_name + ": " + std::strerror(m_errno); }

OutputFile::OutputFile(const std::string& path)
{
    if (path == "-") {
        m_file = stdout;
        m_name = "standard output";
        return;
    }
    m_name = Quoted(path);
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr)
        throw Failure("cannot write " + m_name + ": " + std::strerror(errno));
    m_owned = true;
}

OutputFile::~OutputFile()
{
    if (m_owned && m_file != nullptr)
        std::fclose(m_file);
}

bool OutputFile::Fail()
{
    if (m_error.empty())
        m_error = "cannot write " + m_name + ": " + std::strerror(errno != 0 ? errno : EIO);
    return false;
}

bool OutputFile::Write(const void* data, std::size_t count)
{
    if (m_file == nullptr)
        return Fail();
    errno = 0;
    if (std::fwrite(data, 1, count, m_file) != count)
        return Fail();
    return true;
}

bool OutputFile::Flush()
{
    if (m_file == nullptr)
        return Fail();
    errno = 0;
    return std::fflush(m_file) == 0 ? true : Fail();
}

bool OutputFile::Close()
{
    if (m_file == nullptr)
        return m_error.empty();
    bool ok = Flush();
    if (m_owned) {
        errno = 0;
        if (std::fclose(m_file) != 0 && ok)
            ok = Fail();
    }
    m_file = nullptr;
    return ok;
}

}  // namespace tulrezzo
