// The PNG reader (libpng underneath) over a fuzzed file: truncated and
// corrupt chunks, every colour type and bit depth, transparency chunks,
// interlacing. A picture it takes has the size of its IHDR chunk, tight
// top-down rows of RGB24 or RGB32, and a frame of exactly those bytes;
// anything else ends in a Failure, with no long jump, leak or read past
// what libpng was given. An input whose chunk checksums are wrong is read
// a second time with them made right, so a mutation inside a chunk reaches
// the decoding rather than stopping at libpng's checksum test (libpng is
// the system's, not instrumented, so the fuzzer cannot steer past it).
#include "apps/tulrezzo/png_reader.h"
#include "fuzz/reader_input.h"

#include <zlib.h>

#include <cstring>

using namespace tul_fuzz;
using TI = TulImage;

namespace {

// The input with every whole chunk's CRC recomputed; empty when none
// changed.
std::vector<uint8_t> WithChunkCrcsRepaired(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out(data, data + size);
    bool changed = false;
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t length = Be32(&out[at]);
        if (length > size - at - 12) break;
        const uint32_t crc = uint32_t(crc32(0, &out[at + 4], length + 4));
        uint8_t* stored = &out[at + 8 + length];
        if (Be32(stored) != crc) {
            for (int i = 0; i < 4; ++i) stored[i] = uint8_t(crc >> (24 - 8 * i));
            changed = true;
        }
        at += 12 + size_t(length);
    }
    return changed ? out : std::vector<uint8_t>();
}

// The data of the first whole IHDR chunk (13 bytes), walking the chunks
// after the signature; null when there is none.
const uint8_t* FirstIhdr(const uint8_t* data, size_t size)
{
    for (size_t at = 8; at + 12 <= size;) {
        const uint32_t length = Be32(data + at);
        if (length > size - at - 12) break;
        if (length == 13 && std::memcmp(data + at + 4, "IHDR", 4) == 0) return data + at + 8;
        at += 12 + size_t(length);
    }
    return nullptr;
}

void Read(const uint8_t* data, size_t size)
{
    const std::string& path = AsFile(data, size);
    // The decoded picture is held before it is decoded, so its size must be
    // one the file can hold: deflate gives at most 1032 bytes for one, a
    // byte at most 8 pixels, a pixel at most 4 bytes out.
    const uint64_t decodable = 4 * 8 * (1032 * uint64_t(size) + 1024);
    auto reader = OpenReader([&] { return std::make_unique<tulrezzo::PngReader>(path); }, decodable + (1u << 20));
    if (!reader) return;
    // Taken: the file holds an IHDR chunk, after the signature and any
    // chunks libpng lets pass before it (unknown ancillary ones).
    const uint8_t* ihdr = FirstIhdr(data, size);
    TUL_FUZZ_EXPECT(ihdr != nullptr);
    const tulrezzo::StreamInfo& info = reader->Info();
    TUL_FUZZ_EXPECT(uint32_t(info.size.width) == Be32(ihdr) && uint32_t(info.size.height) == Be32(ihdr + 4));
    TUL_FUZZ_EXPECT(info.format == TI::COLOR_FORMAT_RGB24 || info.format == TI::COLOR_FORMAT_RGB32);
    // An alpha channel comes from the colour type (4, 6) or a tRNS chunk.
    const uint8_t colourType = ihdr[9];
    if (colourType & 4) TUL_FUZZ_EXPECT(info.format == TI::COLOR_FORMAT_RGB32);
    const uint64_t pixel = info.format == TI::COLOR_FORMAT_RGB32 ? 4 : 3;
    TUL_FUZZ_EXPECT(uint64_t(info.Step()) == pixel * uint64_t(info.size.width));
    TUL_FUZZ_EXPECT(info.FrameBytes() == uint64_t(info.Step()) * uint64_t(info.size.height));

    FramesRead r = ReadFrames(*reader, UINT64_MAX, [](uint32_t, Buffer&) {});
    TUL_FUZZ_EXPECT(r.frames == 1 && r.last == tulrezzo::ReadStatus::End);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Read(data, size);
    const std::vector<uint8_t> repaired = WithChunkCrcsRepaired(data, size);
    if (!repaired.empty()) Read(repaired.data(), repaired.size());
    return 0;
}
