// End-to-end runs of the built tulrezzo program on small generated inputs:
// frame counts, headers, pixels of known frames, the snapshot bitmap, and
// every kind of bad input with its message, its status and the frames
// written before it.
#include "tulrezzo_files.h"

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace tulrezzotest {
namespace {

class TulrezzoRun : public ProgramRun {
protected:
    // Checks a Y4M output file: its header and every frame, nothing after.
    void ExpectY4m(const std::string& name, int width, int height, const std::string& header,
                   const std::vector<Bytes>& frames)
    {
        const Y4mFile out = ReadY4m(ReadFile(dir / name), width, height);
        EXPECT_EQ(out.header, header) << name;
        EXPECT_EQ(out.frames, frames) << name;
        EXPECT_EQ(out.trailing, 0u) << name;
    }

    std::string MakeInput(const std::string& name, const std::string& header, const std::vector<Bytes>& frames,
                          int width, int height)
    {
        WriteFile(dir / name, MakeY4m(header, frames, width, height));
        return dir / name;
    }
};

// A frame of `lines` rows of 64 pixels, grey 50, with a box of luma 200 at
// x 8..23 on even lines and x 32..47 on odd lines of rows 16..31: its two
// fields disagree.
Bytes FieldBoxFrame(int height)
{
    Bytes f = FlatYuy2(64, height, 50, 128, 128);
    for (int r = 16; r < 32; ++r)
        for (int x = (r % 2 == 0 ? 8 : 32); x < (r % 2 == 0 ? 24 : 48); ++x)
            f[(static_cast<std::size_t>(r) * 64 + x) * 2] = 200;
    return f;
}

// Full-range BT.601 in 15-bit fixed point, floored and clamped.
std::array<int, 3> Bgr(int y, int u, int v)
{
    auto clamp = [](int x) { return x < 0 ? 0 : x > 255 ? 255 : x; };
    const int d = u - 128;
    const int e = v - 128;
    return {clamp((32768 * y + 58064 * d) >> 15), clamp((32768 * y - 11272 * d - 23396 * e) >> 15),
            clamp((32768 * y + 45940 * e) >> 15)};
}

TEST_F(TulrezzoRun, LineDoublingCopiesTheTopFieldOverTheBottomAsThePolicySays)
{
    MakeInput("in.y4m", "YUV4MPEG2 W64 H48 F25:1 It A1:1 C422", {FieldBoxFrame(48)}, 64, 48);
    // Same size in and out: the resize itself leaves the frame alone.
    RunOk("resize in.y4m -o plain.y4m --size 64x48 -q");
    ExpectY4m("plain.y4m", 64, 48, "YUV4MPEG2 W64 H48 F25:1 It A1:1 C422", {FieldBoxFrame(48)});

    RunOk("resize in.y4m -o doubled.y4m --size 64x48 --deinterlace double -q");
    Bytes expected = FieldBoxFrame(48);
    for (int row = 1; row < 48; row += 2)
        std::copy_n(expected.begin() + (row - 1) * 128, 128, expected.begin() + row * 128);
    ExpectY4m("doubled.y4m", 64, 48, "YUV4MPEG2 W64 H48 F25:1 Ip A1:1 C422", {expected});

    // The auto policy leaves heights that are multiples of 32; "always" does not.
    MakeInput("in64.y4m", "YUV4MPEG2 W64 H64 F25:1 It C422", {FieldBoxFrame(64)}, 64, 64);
    RunOk("resize in64.y4m -o auto.y4m --size 64x64 --deinterlace double -q");
    ExpectY4m("auto.y4m", 64, 64, "YUV4MPEG2 W64 H64 F25:1 It A1:1 C422", {FieldBoxFrame(64)});
    RunOk("resize in64.y4m -o always.y4m --size 64x64 --deinterlace double --policy always -q");
    EXPECT_EQ(ReadY4m(ReadFile(dir / "always.y4m"), 64, 64).header, "YUV4MPEG2 W64 H64 F25:1 Ip A1:1 C422");
}

// Raw frames in, to raw out under a frame limit and to a Y4M file that the
// raw options describe.
TEST_F(TulrezzoRun, RawInputWithFrameLimitAndDescription)
{
    Bytes raw, expected;
    for (int i = 0; i < 5; ++i) {
        Append(raw, FlatYuy2(16, 8, static_cast<unsigned char>(20 * i + 10), 128, 128));
        if (i < 3)
            Append(expected, FlatYuy2(8, 4, static_cast<unsigned char>(20 * i + 10), 128, 128));
    }
    WriteFile(dir / "in.yuv", raw);
    const Result r = RunOk("resize in.yuv --input-size 16x8 --rate 25/1 -o out.yuv --size 8x4 --frames 3");
    EXPECT_NE(r.err.find("3 frames in, 3 out, 16x8 -> 8x4"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir / "out.yuv"), expected);

    RunOk("resize in.yuv --input-size 16x8 --rate 50/1 --interlaced -o out.y4m --size 720x480 --output-aspect 4:3 "
          "--frames 1 -q");
    ExpectY4m("out.y4m", 720, 480, "YUV4MPEG2 W720 H480 F50:1 It A8:9 C422", {FlatYuy2(720, 480, 10, 128, 128)});
}

// Random frames at an odd height pass unchanged at the same size: the
// reader joins every sample of the planes where the writer splits them.
TEST_F(TulrezzoRun, StandardInputToStandardOutput)
{
    const std::vector<Bytes> frames = {RandomBytes(6 * 5 * 2, 1), RandomBytes(6 * 5 * 2, 2)};
    const std::string in = MakeInput("in.y4m", "YUV4MPEG2 W6 H5 F24:1 C422", frames, 6, 5);
    const Y4mFile out = ReadY4m(RunOk("resize - -o - --size 6x5 -q", in).out, 6, 5);
    EXPECT_EQ(out.header, "YUV4MPEG2 W6 H5 F24:1 A1:1 C422");
    EXPECT_EQ(out.frames, frames);
    EXPECT_EQ(out.trailing, 0u);
}

TEST_F(TulrezzoRun, BuiltInSourceWithSnapshot)
{
    const Result r = RunOk("resize -o demo.y4m --frames 3 --snapshot snap.bmp --snapshot-size 90x60");
    EXPECT_NE(r.err.find("3 frames in, 3 out, 720x480 -> 320x240"), std::string::npos) << r.err;
    const Y4mFile out = ReadY4m(ReadFile(dir / "demo.y4m"), 320, 240);
    EXPECT_EQ(out.header, "YUV4MPEG2 W320 H240 F30000:1001 It A1:1 C422");
    EXPECT_EQ(out.frames.size(), 3u);
    const Bytes bmp = ReadFile(dir / "snap.bmp");
    ASSERT_EQ(bmp.size(), 54u + 272 * 60);  // 90 x 3 = 270 bytes, padded to 272
    // Top row (last in the file) starts in the white bar: 180, 128, 128.
    const auto white = Bgr(180, 128, 128);
    EXPECT_TRUE(std::equal(white.begin(), white.end(), bmp.begin() + 54 + 272 * 59));
}

// A 2:1 picture kept in shape in a square frame and a square snapshot: black
// bars above and below, in the Y4M frame and in the bitmap's pixels.
TEST_F(TulrezzoRun, KeepAspectBarsInTheFramesAndTheSnapshot)
{
    MakeInput("in.y4m", "YUV4MPEG2 W64 H32 F25:1 Ip C422", {FlatYuy2(64, 32, 16, 128, 240)}, 64, 32);
    const Result r =
        RunOk("resize in.y4m -o out.y4m --size 32x32 --mode keep-aspect --snapshot s.bmp --snapshot-size 30x30 -q");
    EXPECT_EQ(r.err, "");
    // 32 x 16, centred; black is 00 7F 00 7F.
    Bytes expected;
    Append(expected, FlatYuy2(32, 8, 0, 127, 127));
    Append(expected, FlatYuy2(32, 16, 16, 128, 240));
    Append(expected, FlatYuy2(32, 8, 0, 127, 127));
    ExpectY4m("out.y4m", 32, 32, "YUV4MPEG2 W32 H32 F25:1 Ip A1:1 C422", {expected});
    const Bytes bmp = ReadFile(dir / "s.bmp");
    const std::size_t stride = 92;
    ASSERT_EQ(bmp.size(), 54 + stride * 30);
    // In 30 x 30: a picture 30 x 15, centred, black rows around it.
    const auto colour = Bgr(16, 128, 240);
    const auto black = Bgr(0, 127, 127);
    for (int fileRow = 0; fileRow < 30; ++fileRow) {
        const int row = 29 - fileRow;  // bottom-up
        if (row == 7 || row == 22)
            continue;  // the picture's rim rows may blend with the bars
        const auto& want = row < 7 || row > 22 ? black : colour;
        for (int x = 0; x < 30; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(bmp[54 + stride * fileRow + 3 * x + c], want[c]) << "row " << row << " x " << x;
        EXPECT_EQ(bmp[54 + stride * fileRow + 90] | bmp[54 + stride * fileRow + 91], 0);  // padding
    }
}

// Bad input: status, message, and what was written before the failure.

TEST_F(TulrezzoRun, TruncatedLastFrameAfterTheWholeOnes)
{
    const std::vector<Bytes> frames = {FlatYuy2(8, 4, 10, 128, 128), FlatYuy2(8, 4, 20, 128, 128),
                                       FlatYuy2(8, 4, 30, 128, 128)};
    Bytes file = MakeY4m("YUV4MPEG2 W8 H4 F25:1 C422", frames, 8, 4);
    file.erase(file.end() - 5, file.end());
    WriteFile(dir / "in.y4m", file);
    const Result r = Run("resize in.y4m -o out.y4m --size 8x4");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("2 frames in, 2 out"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("tulrezzo: 'in.y4m': frame 3 is truncated (59 of 64 bytes)"), std::string::npos) << r.err;
    ExpectY4m("out.y4m", 8, 4, "YUV4MPEG2 W8 H4 F25:1 A1:1 C422", {frames[0], frames[1]});
}

// Inputs that cannot be read, outputs that cannot be written, and a stream
// with no frame for the snapshot.
TEST_F(TulrezzoRun, FilesThatCannotBeReadOrWritten)
{
    ExpectFailure(Run("resize absent.y4m -o out.y4m -q"), 1, "cannot open 'absent.y4m': No such file or directory");
    std::filesystem::create_directory(dir / "folder.y4m");
    ExpectFailure(Run("resize folder.y4m -o out.y4m -q"), 1, "'folder.y4m': it is a directory");
    if (geteuid() != 0) {
        WriteFile(dir / "locked.y4m", std::string("YUV4MPEG2 W2 H2 F25:1 C422\n"));
        std::filesystem::permissions(dir / "locked.y4m", std::filesystem::perms::none);
        ExpectFailure(Run("resize locked.y4m -o out.y4m -q"), 1, "Permission denied");
    }
    // No output is created for an input that cannot be read.
    EXPECT_FALSE(std::filesystem::exists(dir / "out.y4m"));

    ExpectFailure(Run("resize -o nowhere/out.y4m --frames 1 -q"), 1, "cannot write 'nowhere/out.y4m'");
    // With --configure the input is checked before the form asks anything.
    ExpectFailure(Run("resize missing.y4m -o out.y4m --configure -q"), 1, "cannot open 'missing.y4m'");
    if (std::filesystem::exists("/dev/full")) {
        // A full disk, by way of a name the program takes for a Y4M file.
        std::filesystem::create_symlink("/dev/full", dir / "full.y4m");
        ExpectFailure(Run("resize -o full.y4m --frames 2 -q"), 1, "cannot write 'full.y4m': No space left on device");
    }
    MakeInput("in.y4m", "YUV4MPEG2 W8 H4 F25:1 C422", {FlatYuy2(8, 4, 1, 2, 3)}, 8, 4);
    ExpectFailure(Run("resize in.y4m -o out.y4m --snapshot nowhere/s.bmp -q"), 1, "cannot write 'nowhere/s.bmp'");
    EXPECT_EQ(ReadY4m(ReadFile(dir / "out.y4m"), 320, 240).frames.size(), 1u);

    WriteFile(dir / "empty.y4m", std::string("YUV4MPEG2 W8 H4 F25:1 C422\n"));
    RunOk("resize empty.y4m -o out.y4m -q");
    EXPECT_EQ(ReadY4m(ReadFile(dir / "out.y4m"), 320, 240).header, "YUV4MPEG2 W320 H240 F25:1 A1:1 C422");
    ExpectFailure(Run("resize empty.y4m -o out.y4m --snapshot s.bmp -q"), 1, "no frame");
}

// Refusals reach the user as one line and a status: a bad header exits 1,
// wrong usage 2, and neither leaves an output file. The readers' and the
// parser's own tests hold every message.
TEST_F(TulrezzoRun, RefusalsExitWithTheirStatusAndOneLine)
{
    WriteFile(dir / "bad.y4m", std::string("YUV4MPEG2 W8 H4 F25:1 C411\nFRAME\n") + std::string(64, 'x'));
    ExpectFailure(Run("resize bad.y4m -o out.y4m -q"), 1, "'bad.y4m': Y4M header: tag 'C411': only 4:2:0");
    ExpectFailure(Run("resize -o out.y4m --size 33x24"), 2, "--size '33x24': width must be even");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.y4m"));
    // Help is no refusal: status 0, every option with its default.
    const Result top = Run("--help");
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(std::string(top.out.begin(), top.out.end()).find("resize"), std::string::npos);
    const Result help = Run("resize --help");
    EXPECT_EQ(help.status, 0);
    const std::string text(help.out.begin(), help.out.end());
    for (const char* option : {"--output", "--size", "320x240", "--mode", "--output-aspect", "--deinterlace",
                               "--policy", "--frames", "--snapshot", "--snapshot-size", "--input-size", "--rate",
                               "--aspect", "--interlaced", "--progressive", "--quiet", "default: stretch",
                               "default: none", "default: auto"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}

// A run never writes over a file it reads or writes, whatever name leads
// there: the same name, another path, a hard link, or a redirected
// standard stream. The refusal comes before any file is touched.
TEST_F(TulrezzoRun, RefusesToWriteOverItsOwnFiles)
{
    const std::string in = MakeInput("in.y4m", "YUV4MPEG2 W8 H4 F25:1 C422", {FlatYuy2(8, 4, 1, 2, 3)}, 8, 4);
    const Bytes before = ReadFile(in);
    std::filesystem::create_hard_link(in, dir / "hard.y4m");
    for (const char* args : {"resize in.y4m -o ./in.y4m", "resize hard.y4m -o in.y4m", "resize - -o in.y4m"})
        ExpectFailure(Run(std::string(args) + " -q", in), 2, "is the input file");
    for (const std::string& args :
         {std::string("resize in.y4m -o out.y4m --snapshot in.y4m"), std::string("resize - -o out.y4m --snapshot ") + in,
          std::string("resize hard.y4m -o out.y4m --snapshot in.y4m"),
          std::string("resize in.y4m -o out.y4m --snapshot ./out.y4m"),
          std::string("resize in.y4m -o - --snapshot stdout")})
        ExpectFailure(Run(args + " -q", in), 2, "is the input or the output file");
    EXPECT_EQ(ReadFile(in), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.y4m"));
}

TEST_F(TulrezzoRun, ClosedPipeIsAWriteErrorNotACrash)
{
    const std::string err = dir / "pipe-err";
    const std::string command = "bash -c " + Quote(Quote(kProgram) + " resize -o - --frames 50 -q 2> " + Quote(err) +
                                                   " | head -c 1000 > /dev/null; exit ${PIPESTATUS[0]}");
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    const Bytes e = ReadFile(err);
    EXPECT_NE(std::string(e.begin(), e.end()).find("Broken pipe"), std::string::npos);
}

}  // namespace
}  // namespace tulrezzotest
