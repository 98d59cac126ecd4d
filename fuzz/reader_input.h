// Shared plumbing of the reader harnesses: the fuzzer's bytes as a file the
// program's readers open by name, and the frame loop every reader must
// survive. The readers take paths (and libpng its own FILE*), so the input
// goes to an anonymous in-memory file of this process (memfd) named by its
// /proc/self/fd path: each open starts at offset 0, fstat sees a regular
// file of the input's length, and nothing is left on disk after a crash.
#pragma once

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/frame_source.h"
#include "fuzz/fuzz_input.h"

#include <atomic>
#include <sanitizer/allocator_interface.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace tul_fuzz {

class MemoryFile {
public:
    MemoryFile() : fd_(memfd_create("tul-fuzz-input", 0))
    {
        if (fd_ < 0) Fail("memfd_create", __FILE__, __LINE__);
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    // The file now holds exactly these bytes; its path.
    const std::string& Hold(const uint8_t* data, size_t size)
    {
        if (ftruncate(fd_, 0) != 0) Fail("ftruncate", __FILE__, __LINE__);
        for (size_t done = 0; done < size;) {
            const ssize_t n = pwrite(fd_, data + done, size - done, off_t(done));
            if (n <= 0) Fail("pwrite", __FILE__, __LINE__);
            done += size_t(n);
        }
        return path_;
    }

private:
    int fd_;
    std::string path_;
};

inline const std::string& AsFile(const uint8_t* data, size_t size)
{
    static MemoryFile file;
    return file.Hold(data, size);
}

// The largest single block taken while a Watch lives, seen through the
// sanitizer's allocation hooks: a reader must not take memory a header
// promises before the file shows it holds that much.
class LargestAllocation {
public:
    LargestAllocation()
    {
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
        if (!installed) Fail("installing the allocation hooks", __FILE__, __LINE__);
        Largest() = 0;
        Watching() = true;
    }
    ~LargestAllocation() { Watching() = false; }
    size_t Bytes() const { return Largest(); }

private:
    static std::atomic<size_t>& Largest()
    {
        static std::atomic<size_t> bytes{0};
        return bytes;
    }
    static std::atomic<bool>& Watching()
    {
        static std::atomic<bool> on{false};
        return on;
    }
    static void OnMalloc(const volatile void*, size_t size)
    {
        if (Watching() && size > Largest()) Largest() = size;
    }
    static void OnFree(const volatile void*) {}
};

// With TUL_FUZZ_PRINT set, a harness tells what became of an input: the
// reader's refusal, or its frames.
inline bool Printing()
{
    static const bool on = std::getenv("TUL_FUZZ_PRINT") != nullptr;
    return on;
}
inline void PrintRefusal(const std::exception& e)
{
    if (Printing()) std::fprintf(stderr, "refused: %s\n", e.what());
}

// Opens a reader with `open`, which returns it or throws the program's
// Failure (null then); the largest block taken meanwhile must stay within
// `bound`, what the input itself justifies.
template <class Open>
auto OpenReader(Open open, uint64_t bound) -> decltype(open())
{
    decltype(open()) reader;
    LargestAllocation watch;
    try {
        reader = open();
    } catch (const tulrezzo::AppError& e) {
        PrintRefusal(e);
        TUL_FUZZ_EXPECT(e.Status() == tulrezzo::kExitFailure && *e.what() != 0);
    }
    if (watch.Bytes() > bound) {
        std::fprintf(stderr, "the reader took a block of %zu bytes; the input justifies %llu\n", watch.Bytes(),
                     (unsigned long long)bound);
        Fail("a header's promise allocated before the file showed it", __FILE__, __LINE__);
    }
    return reader;
}

// How a frame loop ended.
struct FramesRead {
    uint32_t frames = 0;
    tulrezzo::ReadStatus last = tulrezzo::ReadStatus::End;
};

// Reads every frame of `source` into a buffer of exactly Info().FrameBytes()
// bytes, so a reader writing one byte past its stated frame is caught;
// `each` sees every whole frame. A frame larger than `cap` is not read: it
// can only come out truncated from an input this small, and allocating it
// would only slow the run (constructing the reader still ran its checks).
// A reader ends with End, Truncated or Failed, the last two with a message.
template <class Each>
FramesRead ReadFrames(tulrezzo::FrameSource& source, uint64_t cap, Each each)
{
    FramesRead r;
    const uint64_t bytes = source.Info().FrameBytes();
    TUL_FUZZ_EXPECT(bytes > 0);
    if (bytes > cap) return r;
    Buffer frame(bytes);
    for (;;) {
        tulrezzo::ReadOutcome out = source.ReadFrame(frame.data());
        r.last = out.status;
        if (out.status != tulrezzo::ReadStatus::Frame) {
            if (Printing())
                std::fprintf(stderr, "%ux%u format %d: %u frames of %llu bytes, then %d %s\n",
                             unsigned(source.Info().size.width), unsigned(source.Info().size.height),
                             int(source.Info().format), r.frames, (unsigned long long)bytes, int(out.status),
                             out.message.c_str());
            TUL_FUZZ_EXPECT(out.message.empty() == (out.status == tulrezzo::ReadStatus::End));
            return r;
        }
        TUL_FUZZ_EXPECT(out.message.empty());
        each(r.frames, frame);
        ++r.frames;
    }
}

inline uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
inline uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

}  // namespace tul_fuzz
