// The run in-process, where ThreadSanitizer can watch the streaming thread
// (reader, filter, writer) against the main thread (progress, snapshot,
// stop): a full run, a run cut short by truncation, and one by a write
// failure.
#include "apps/tulrezzo/resize_job.h"
#include "tulrezzo_files.h"

#include <sstream>

namespace tulrezzo {
namespace {

using namespace tulrezzotest;

ResizeOptions RawOptions(const ScratchDir& dir)
{
    ResizeOptions o;
    o.inputKind = InputKind::Raw;
    o.input = dir / "in.yuv";
    o.inputSize = {32, 16};
    o.rate = {25, 1};
    o.interlaced = true;
    o.outputKind = OutputKind::Y4m;
    o.output = dir / "out.y4m";
    o.size = {16, 16};
    o.snapshotSize = {16, 16};
    o.method = FIELD_FILL_DOUBLE;
    return o;
}

void WriteFrames(const ScratchDir& dir, int count, std::size_t extra)
{
    Bytes raw;
    for (int i = 0; i < count; ++i)
        Append(raw, FlatYuy2(32, 16, static_cast<unsigned char>(16 + i), 128, 128));
    raw.resize(raw.size() + extra, 0);
    WriteFile(dir / "in.yuv", raw);
}

TEST(ResizeJobThreads, WholeRunWithProgressAndSnapshot)
{
    ScratchDir dir;
    WriteFrames(dir, 40, 0);
    ResizeOptions o = RawOptions(dir);
    o.snapshot = dir / "s.bmp";
    std::ostringstream err;
    EXPECT_EQ(RunResize(o, err, true), 0) << err.str();
    EXPECT_NE(err.str().find("40 frames in, 40 out, 32x16 -> 16x16"), std::string::npos) << err.str();
    const Y4mFile out = ReadY4m(ReadFile(o.output), 16, 16);
    // 16 lines to 16: the auto policy line-doubles (16 is no multiple of 32).
    EXPECT_EQ(out.header, "YUV4MPEG2 W16 H16 F25:1 Ip A1:1 C422");
    ASSERT_EQ(out.frames.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(out.frames[i], FlatYuy2(16, 16, static_cast<unsigned char>(16 + i), 128, 128)) << i;
    EXPECT_EQ(ReadFile(o.snapshot).size(), 54u + 48 * 16);
}

TEST(ResizeJobThreads, TruncationEndsTheStreamAfterTheWholeFrames)
{
    ScratchDir dir;
    WriteFrames(dir, 6, 100);
    ResizeOptions o = RawOptions(dir);
    o.quiet = true;
    std::ostringstream err;
    EXPECT_EQ(RunResize(o, err, true), 1);
    EXPECT_EQ(err.str(), "tulrezzo: '" + o.input + "': frame 7 is truncated (100 of 1024 bytes)\n");
    EXPECT_EQ(ReadY4m(ReadFile(o.output), 16, 16).frames.size(), 6u);
}

TEST(ResizeJobThreads, WriteFailureStopsTheStream)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ScratchDir dir;
    WriteFrames(dir, 8, 0);
    ResizeOptions o = RawOptions(dir);
    o.outputKind = OutputKind::Raw;
    o.output = "/dev/full";
    o.quiet = true;
    std::ostringstream err;
    EXPECT_EQ(RunResize(o, err, false), 1);
    EXPECT_NE(err.str().find("No space left on device"), std::string::npos) << err.str();
}

TEST(ResizeJobThreads, FrameLimitStopsTheBuiltInSource)
{
    ScratchDir dir;
    ResizeOptions o;
    o.output = dir / "out.yuv";
    o.outputKind = OutputKind::Raw;
    o.frames = 2;
    o.quiet = true;
    std::ostringstream err;
    EXPECT_EQ(RunResize(o, err, false), 0) << err.str();
    EXPECT_EQ(ReadFile(o.output).size(), 2u * 320 * 240 * 2);
}

}  // namespace
}  // namespace tulrezzo
