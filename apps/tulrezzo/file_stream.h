// Files opened by name, "-" standing for standard input or output, with
// failures reported as one-line messages that name the file.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace tulrezzo {

class InputFile {
public:
    // Throws a Failure naming the file when it cannot be opened for
    // reading, or when it is a directory.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads until count bytes arrived, the input ended or a read failed;
    // returns the bytes read. After a short read, Failed() tells the two
    // cases apart.
    std::size_t Read(void* dst, std::size_t count);
    // The next byte, or EOF.
    int ReadByte();
    bool Failed() const;
    // "cannot read NAME: reason"
    std::string ReadErrorMessage() const;
    const std::string& Name() const { return m_name; }

private:
    std::FILE* m_file = nullptr;
    bool m_owned = false;
    int m_errno = 0;
    std::string m_name;
};

class OutputFile {
public:
    // Throws a Failure naming the file when it cannot be created.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // false (with ErrorMessage set) when the bytes could not be written.
    bool Write(const void* data, std::size_t count);
    // Pushes everything written so far to the system, so a later failure
    // never loses it.
    bool Flush();
    // Flushes and closes; false when either failed.
    bool Close();
    const std::string& ErrorMessage() const { return m_error; }
    const std::string& Name() const { return m_name; }

private:
    bool Fail();

    std::FILE* m_file = nullptr;
    bool m_owned = false;
    std::string m_name;
    std::string m_error;
};

}  // namespace tulrezzo
