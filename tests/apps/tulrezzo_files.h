// Helpers for the tulrezzo tests: a scratch folder, whole-file reads and
// writes, and Y4M and YUY2 streams built with plain loops, independent of
// the program's own readers and writers.
#pragma once

#include "apps/tulrezzo/numbers.h"
#include "tests/support/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace tulrezzotest {

using Bytes = std::vector<unsigned char>;

// A fresh folder under the system's temporary folder, removed afterwards;
// mkdtemp makes it unique even when test programs run side by side.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string name = (std::filesystem::temp_directory_path() / "tulrezzo-XXXXXX").string();
        EXPECT_NE(::mkdtemp(name.data()), nullptr) << "cannot make " << name;
        m_path = name;
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string operator/(const std::string& file) const { return (m_path / file).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteFile(const std::string& path, const std::string& text) { WriteFile(path, Bytes(text.begin(), text.end())); }

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Append(Bytes& to, const std::string& text) { to.insert(to.end(), text.begin(), text.end()); }
inline void Append(Bytes& to, const Bytes& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

// A YUY2 frame of width x height, every pixel (y, u, v).
inline Bytes FlatYuy2(int width, int height, unsigned char y, unsigned char u, unsigned char v)
{
    Bytes frame(static_cast<std::size_t>(width) * height * 2);
    for (std::size_t i = 0; i < frame.size(); i += 4) {
        frame[i] = y;
        frame[i + 1] = u;
        frame[i + 2] = y;
        frame[i + 3] = v;
    }
    return frame;
}

inline Bytes RandomBytes(std::size_t n, std::uint32_t seed)
{
    Bytes b(n);
    tultest::FillRandom(b.data(), n, seed);
    return b;
}

// Y4M stores a YUY2 frame as planes, Y then U then V; moves n bytes from
// one layout to the other.
inline Bytes Reorder(const unsigned char* from, std::size_t n, int width, int height, bool toPlanar)
{
    const std::size_t luma = static_cast<std::size_t>(width) * height;
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t pair = i / 4;  // pixel pairs, row after row
        const std::size_t at = i % 2 == 0 ? 2 * pair + i % 4 / 2 : luma + (i % 4 == 3 ? luma / 2 : 0) + pair;
        (toPlanar ? out[at] : out[i]) = from[toPlanar ? i : at];
    }
    return out;
}

// Sizes and ratios as one comparable text, "720x480" and "4:3".
inline std::string Text(tulrezzo::FrameSize s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }
inline std::string Text(tulrezzo::Ratio r) { return std::to_string(r.num) + ":" + std::to_string(r.den); }

inline std::uint32_t Le32(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// A Y4M stream: header line, then each YUY2 frame as "FRAME\n" + planes.
inline Bytes MakeY4m(const std::string& header, const std::vector<Bytes>& frames, int width, int height)
{
    Bytes out;
    Append(out, header + "\n");
    for (const Bytes& f : frames) {
        Append(out, std::string("FRAME\n"));
        Append(out, Reorder(f.data(), f.size(), width, height, true));
    }
    return out;
}

// A Y4M file read back plainly: its header line and its frames as YUY2.
struct Y4mFile {
    std::string header;  // without the newline
    std::vector<Bytes> frames;
    std::size_t trailing = 0;  // bytes after the last whole frame
};

inline Y4mFile ReadY4m(const Bytes& file, int width, int height)
{
    Y4mFile out;
    std::size_t at = 0;
    while (at < file.size() && file[at] != '\n')
        out.header.push_back(static_cast<char>(file[at++]));
    ++at;
    const std::size_t frameBytes = static_cast<std::size_t>(width) * height * 2;
    const std::string frameLine = "FRAME\n";
    while (at + frameLine.size() + frameBytes <= file.size() &&
           std::equal(frameLine.begin(), frameLine.end(), file.begin() + at)) {
        at += frameLine.size();
        out.frames.push_back(Reorder(file.data() + at, frameBytes, width, height, false));
        at += frameBytes;
    }
    out.trailing = file.size() > at ? file.size() - at : 0;
    return out;
}

// Runs of the built program (its path comes from the build) in a scratch
// folder, with its status, standard error and standard output; only for
// test programs the build tells where the program is.
#ifdef TULREZZO_PATH
inline constexpr const char* kProgram = TULREZZO_PATH;  // set by the build

struct Result {
    int status = -1;
    std::string err;
    Bytes out;
};

inline std::string Quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class ProgramRun : public ::testing::Test {
protected:
    // Runs `tulrezzo <args>` in the scratch folder; stdin from `input`
    // when given, stdout and stderr captured.
    Result Run(const std::string& args, const std::string& stdinFile = "")
    {
        const std::string out = dir / "stdout";
        const std::string err = dir / "stderr";
        std::string command = "cd " + Quote(dir.Path().string()) + " && " + Quote(kProgram) + " " + args;
        command += " < " + (stdinFile.empty() ? std::string("/dev/null") : Quote(stdinFile));
        command += " > " + Quote(out) + " 2> " + Quote(err);
        const int raw = std::system(command.c_str());
        Result r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        const Bytes e = ReadFile(err);
        r.err.assign(e.begin(), e.end());
        r.out = ReadFile(out);
        return r;
    }

    // Runs what must succeed; the caller goes on to check its output.
    Result RunOk(const std::string& args, const std::string& stdinFile = "")
    {
        Result r = Run(args, stdinFile);
        EXPECT_EQ(r.status, 0) << args << ": " << r.err;
        return r;
    }

    // Checks a failed run: its status and one "tulrezzo: ..." line holding
    // `message` (after the summary line, which --quiet leaves out).
    static void ExpectFailure(const Result& r, int status, const std::string& message)
    {
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("tulrezzo: ", 0), 0u) << r.err;
    }

    ScratchDir dir;
};
#endif  // TULREZZO_PATH

}  // namespace tulrezzotest
