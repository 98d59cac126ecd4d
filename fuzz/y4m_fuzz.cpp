// The Y4M reader over a fuzzed file: the header line (magic, every tag,
// each chroma tag it accepts), FRAME lines, truncated and oversized frames,
// every input read both as YUY2 and with its 4:2:0 kept. A header the
// reader takes describes a frame the program can hold, a frame it returns
// has the bytes the header's size and chroma give, and plane bytes reach
// the frame unchanged (4:2:0 kept, or 4:2:2 interleaved into YUY2); any
// other input ends in a Failure or a Truncated/Failed read, never more.
#include "apps/tulrezzo/y4m_reader.h"
#include "fuzz/reader_input.h"

using namespace tul_fuzz;
using TI = TulImage;
using tulrezzo::ReadStatus;

namespace {

// Bytes of a stored frame by the Y4M layout, independent of the reader:
// the luma plane, then two chroma planes half as wide (rounded up), and
// for 4:2:0 half as high.
uint64_t StoredBytes(bool is420, uint64_t w, uint64_t h)
{
    return w * h + 2 * ((w + 1) / 2) * (is420 ? (h + 1) / 2 : h);
}

// Where frame `index`'s planes start in the file: past the header line and
// each FRAME line, the reader having accepted all of them.
class FrameWalk {
public:
    FrameWalk(const uint8_t* data, size_t size, uint64_t stored) : data_(data), size_(size), stored_(stored)
    {
        pos_ = NextLine(0);
    }
    const uint8_t* Planes()
    {
        const size_t at = NextLine(pos_);
        TUL_FUZZ_EXPECT(at + stored_ <= size_);
        pos_ = at + stored_;
        return data_ + at;
    }

private:
    size_t NextLine(size_t from) const
    {
        const void* nl = std::memchr(data_ + from, '\n', size_ - from);
        TUL_FUZZ_EXPECT(nl != nullptr);
        return size_t(static_cast<const uint8_t*>(nl) - data_) + 1;
    }
    const uint8_t* data_;
    size_t size_;
    uint64_t stored_;
    size_t pos_;
};

void ReadAs(const uint8_t* data, size_t size, const std::string& path, bool toYuy2)
{
    // The header alone takes no frame's worth of memory: a frame is held
    // only once one arrives.
    auto reader = OpenReader([&] { return std::make_unique<tulrezzo::Y4mReader>(path, toYuy2); }, 1u << 20);
    if (!reader) return;
    const tulrezzo::StreamInfo& info = reader->Info();
    const TI::COLOR_FORMAT_TYPE stored = reader->StoredFormat();
    TUL_FUZZ_EXPECT(stored == TI::COLOR_FORMAT_YUV420 || stored == TI::COLOR_FORMAT_YUY2);
    TUL_FUZZ_EXPECT(info.format == (toYuy2 ? TI::COLOR_FORMAT_YUY2 : stored));
    TUL_FUZZ_EXPECT(tulrezzo::PictureSizeProblem(stored, info.size).empty());
    TUL_FUZZ_EXPECT(info.rate.num > 0 && info.rate.den > 0);
    const uint64_t w = uint64_t(info.size.width), h = uint64_t(info.size.height);
    const bool is420 = stored == TI::COLOR_FORMAT_YUV420;
    const uint64_t storedBytes = StoredBytes(is420, w, h);
    TUL_FUZZ_EXPECT(info.FrameBytes() == (info.format == TI::COLOR_FORMAT_YUY2 ? 2 * w * h : storedBytes));

    FrameWalk walk(data, size, storedBytes);
    const uint64_t cap = std::max<uint64_t>(size, kMaxBytes);
    FramesRead r = ReadFrames(*reader, cap, [&](uint32_t, Buffer& frame) {
        const uint8_t* planes = walk.Planes();
        if (!is420) {  // 4:2:2 joined: Y0 U Y1 V per pixel pair
            const uint8_t* u = planes + w * h;
            const uint8_t* v = u + (w / 2) * h;
            for (uint64_t i = 0; i < w * h; ++i)
                TUL_FUZZ_EXPECT(frame.data()[2 * i] == planes[i] &&
                                frame.data()[2 * i + 1] == (i % 2 ? v : u)[(i / w) * (w / 2) + (i % w) / 2]);
        } else if (!toYuy2) {
            TUL_FUZZ_EXPECT(std::memcmp(frame.data(), planes, storedBytes) == 0);
        }
    });
    // Every frame took its FRAME line and its planes out of the file.
    TUL_FUZZ_EXPECT(uint64_t(r.frames) * (storedBytes + 6) <= size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = AsFile(data, size);
    ReadAs(data, size, path, true);
    ReadAs(data, size, path, false);
    return 0;
}
