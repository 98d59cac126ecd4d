// Raw frames: the words of --input-format, --input-size, --rate and
// --interlaced built from the front of the input (a known name or stray
// text, sizes from 0 past the program's limit, or any text), checked as the
// command line checks them, then the raw reader over a file of the
// remaining bytes. Words it takes give a frame of the format's own byte
// count; each frame is the file's next bytes in order, and the file ends
// cleanly on a frame boundary or as a truncated frame.
#include "apps/tulrezzo/input_words.h"
#include "apps/tulrezzo/raw_reader.h"
#include "fuzz/reader_input.h"

using namespace tul_fuzz;
using TI = TulImage;

namespace {

// Up to `limit` bytes of the input as text.
std::string Text(Input& in, uint32_t limit)
{
    std::string s;
    for (uint32_t n = in.Below(limit + 1); n > 0; --n) s.push_back(char(in.Byte()));
    return s;
}

std::string Word(Input& in, std::initializer_list<const char*> known)
{
    const uint32_t pick = in.Below(uint32_t(known.size()) + 2);
    if (pick < known.size()) return known.begin()[pick];
    return pick == known.size() ? std::string() : Text(in, 12);
}

// The frame's bytes by format, counted apart from the program: a 4:2:0
// frame (even sides) adds two quarter planes to its luma.
uint64_t FormatBytes(TI::COLOR_FORMAT_TYPE f, uint64_t w, uint64_t h)
{
    switch (f) {
        case TI::COLOR_FORMAT_YUV420: case TI::COLOR_FORMAT_YV12: return w * h * 3 / 2;
        case TI::COLOR_FORMAT_YUY2: return w * h * 2;
        case TI::COLOR_FORMAT_RGB24: case TI::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24: return w * h * 3;
        default: return w * h * 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in(data, size);
    tulrezzo::RawWords words;
    words.format = Word(in, {"yuy2", "i420", "yv12", "rgb24", "rgb32", "srgb24", "srgb32", "vuya"});
    const uint32_t sizeKind = in.Below(8);
    if (sizeKind < 7) {
        const uint32_t w = in.Dim(48), h = in.Dim(32);
        words.size = std::to_string(w) + (sizeKind == 6 ? "X" : "x") + std::to_string(h);
    } else {
        words.size = Text(in, 12);
    }
    words.rate = Word(in, {"30000/1001", "25:1", "0/1"});
    words.interlaced = in.Bit();

    tulrezzo::StreamInfo info;
    try {
        info = tulrezzo::CheckRawWords(words, true);
    } catch (const tulrezzo::AppError& e) {
        PrintRefusal(e);
        TUL_FUZZ_EXPECT(e.Status() == tulrezzo::kExitUsage && *e.what() != 0);
        return 0;
    }
    TUL_FUZZ_EXPECT(tulrezzo::PictureSizeProblem(info.format, info.size).empty());
    const uint64_t frameBytes = FormatBytes(info.format, uint64_t(info.size.width), uint64_t(info.size.height));
    TUL_FUZZ_EXPECT(info.FrameBytes() == frameBytes);

    const uint8_t* file = in.Rest();
    const size_t fileBytes = in.RestSize();
    auto reader = OpenReader([&] { return std::make_unique<tulrezzo::RawReader>(AsFile(file, fileBytes), info); },
                             1u << 20);
    TUL_FUZZ_EXPECT(reader != nullptr);
    FramesRead r = ReadFrames(*reader, std::max<uint64_t>(fileBytes, kMaxBytes), [&](uint32_t index, Buffer& frame) {
        TUL_FUZZ_EXPECT(std::memcmp(frame.data(), file + index * frameBytes, frameBytes) == 0);
    });
    if (frameBytes <= std::max<uint64_t>(fileBytes, kMaxBytes)) {
        TUL_FUZZ_EXPECT(r.frames == fileBytes / frameBytes);
        TUL_FUZZ_EXPECT(r.last == (fileBytes % frameBytes ? tulrezzo::ReadStatus::Truncated : tulrezzo::ReadStatus::End));
    }
    return 0;
}
