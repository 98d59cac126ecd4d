// The BMP reader over a fuzzed file: header sizes, bit counts, compression
// and masks, palette lengths, pixel offsets, negative heights and truncated
// files. A picture it takes has the size its header states, RGB32 for 32
// bits and RGB24 otherwise, rows padded to 32-bit words, the step's sign
// from the height's (bottom-up files step backwards), and 24- and 32-bit
// pixels exactly the file's bytes from the pixel offset; any other input
// ends in a Failure, before the reader takes more memory than the file holds.
#include "apps/tulrezzo/bmp_reader.h"
#include "fuzz/reader_input.h"

using namespace tul_fuzz;
using TI = TulImage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = AsFile(data, size);
    // The stored rows are held as the file delivers them: a vector's growth
    // past the file's bytes, and a piece in hand.
    auto reader = OpenReader([&] { return std::make_unique<tulrezzo::BmpReader>(path); }, 2 * uint64_t(size) + (4u << 20));
    if (!reader) return 0;
    // Taken: the file holds both headers (14 + 40 bytes at least).
    TUL_FUZZ_EXPECT(size >= 54);
    const uint32_t pixelOffset = Le32(data + 10);
    const int64_t width = int32_t(Le32(data + 18)), height = int32_t(Le32(data + 22));
    const unsigned bits = data[28] | data[29] << 8;
    const uint64_t rows = uint64_t(height < 0 ? -height : height);
    const tulrezzo::StreamInfo& info = reader->Info();
    TUL_FUZZ_EXPECT(info.size.width == width && uint64_t(info.size.height) == rows);
    TUL_FUZZ_EXPECT(info.format == (bits == 32 ? TI::COLOR_FORMAT_RGB32 : TI::COLOR_FORMAT_RGB24));
    const uint64_t outBits = bits == 32 ? 32 : 24;
    const uint64_t pitch = (uint64_t(width) * outBits + 31) / 32 * 4;
    TUL_FUZZ_EXPECT(info.step == (height > 0 ? -int64_t(pitch) : int64_t(pitch)));
    TUL_FUZZ_EXPECT(info.FrameBytes() == pitch * rows);
    // The stored rows lie inside the file.
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    TUL_FUZZ_EXPECT(uint64_t(pixelOffset) + stride * rows <= size);

    FramesRead r = ReadFrames(*reader, UINT64_MAX, [&](uint32_t, Buffer& frame) {
        if (bits > 8) TUL_FUZZ_EXPECT(std::memcmp(frame.data(), data + pixelOffset, frame.size()) == 0);
    });
    TUL_FUZZ_EXPECT(r.frames == 1 && r.last == tulrezzo::ReadStatus::End);
    return 0;
}
