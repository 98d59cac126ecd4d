// The picture commands' files end to end: bitmaps of every depth and
// orientation, PNG pictures written by libpng here, 4:2:0 and 4:2:2 Y4M
// and raw frames go through `tulrezzo convert` and come out where a plain
// model says; every reader's refusals; resize on 4:2:0 streams.
#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/bmp_reader.h"
#include "tulrezzo_files.h"

#include <png.h>
#include <zlib.h>

namespace tulrezzotest {
namespace {

void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A BMP with a 40-byte header: `table` (4 bytes an entry) then the stored
// rows, which the caller lays out.
Bytes Bmp(int width, int height, int bits, const Bytes& table, const Bytes& rows)
{
    Bytes b(54, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 10, static_cast<std::uint32_t>(54 + table.size()));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    b[26] = 1, b[28] = static_cast<unsigned char>(bits);
    Put32(b, 46, static_cast<std::uint32_t>(table.size() / 4));
    Append(b, table);
    Append(b, rows);
    return b;
}

struct Depth {
    int bits;
    bool topDown;
};

class BmpInput : public ProgramRun, public ::testing::WithParamInterface<Depth> {};

// Random rows (padding included) and, below 24 bits, a table of fewer
// entries than the depth allows: indices past it must read black, not
// beyond the table.
TEST_P(BmpInput, ComesOutAsTheTableOrTheBytesSay)
{
    const auto [bits, topDown] = GetParam();
    const int w = 5, h = 3, stride = (w * bits + 31) / 32 * 4, px = bits == 32 ? 4 : 3;
    const Bytes rows = RandomBytes(static_cast<std::size_t>(stride) * h, 7 + bits);
    const Bytes table = bits <= 8 ? RandomBytes(4 * ((1u << bits) - 1), 3) : Bytes{};
    WriteFile(dir / "in.bmp", Bmp(w, topDown ? -h : h, bits, table, rows));
    Bytes want;
    for (int r = 0; r < h; ++r)
        for (int x = 0; x < w; ++x) {
            const unsigned char* row = &rows[static_cast<std::size_t>(topDown ? r : h - 1 - r) * stride];
            if (bits > 8) {
                want.insert(want.end(), row + x * px, row + x * px + px);
                continue;
            }
            const unsigned index = (row[x * bits / 8] >> (8 - bits - x * bits % 8)) & ((1u << bits) - 1);
            for (int c = 0; c < 3; ++c)
                want.push_back(4 * index < table.size() ? table[4 * index + c] : 0);
        }
    RunOk(std::string("convert in.bmp -q -o out.yuv --to ") + (bits == 32 ? "rgb32" : "rgb24"));
    EXPECT_EQ(ReadFile(dir / "out.yuv"), want);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpInput,
                         ::testing::Values(Depth{1, false}, Depth{4, true}, Depth{8, false}, Depth{8, true},
                                           Depth{24, false}, Depth{24, true}, Depth{32, false}, Depth{32, true}));

struct Lie {
    std::size_t at;          // a byte of a good 4x2 8-bit bitmap, 16-entry table...
    std::uint32_t value;     // ...set to this 32-bit value (or, past the file, the file cut there)
    const char* message;
};

class BmpRefusal : public ::testing::TestWithParam<Lie> {};

TEST_P(BmpRefusal, NamesTheField)
{
    ScratchDir dir;
    Bytes file = Bmp(4, 2, 8, Bytes(64, 9), Bytes(8, 1));
    if (GetParam().at >= 1000)
        file.resize(GetParam().at - 1000);
    else
        Put32(file, GetParam().at, GetParam().value);
    WriteFile(dir / "x.bmp", file);
    try {
        tulrezzo::BmpReader reader(dir / "x.bmp");
        FAIL() << "accepted";
    } catch (const tulrezzo::AppError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BmpRefusal,
    ::testing::Values(Lie{0, 0x4D42 + 1, "does not begin with BM"}, Lie{14, 12, "header size 12"},
                      Lie{18, 0, "size 0x2"}, Lie{18, 0x80000000u, "size -2147483648x2"},
                      Lie{22, 0x80000000u, "size 4x-2147483648"}, Lie{22, 16385, "both sides must be 1 to 16384"},
                      Lie{26, 0x00100002, "planes 2"}, Lie{26, 0x00100001, "16 bits per pixel"},
                      Lie{30, 1, "compression 1"}, Lie{46, 257, "257 entries: a 8-bit picture has at most 256"},
                      Lie{46, 17, "17 entries runs past the pixel offset 118"},
                      Lie{10, 20, "pixel offset 20"},
                      Lie{10, 0xFFFFFFF0u, "ends inside its headers before the pixels"},
                      Lie{1000 + 30, 0, "ends inside its bitmap header"}, Lie{1000 + 125, 0, "truncated"}));

// PNG through libpng on both sides: the program's own pictures read back
// byte for byte (alpha kept), grey and palette pictures as their colours.
TEST_F(ProgramRun, PngPicturesRoundTripAndExpand)
{
    for (const char* format : {"rgb24", "rgb32"}) {
        const Bytes raw = RandomBytes(std::string(format) == "rgb24" ? 5 * 3 * 3 : 5 * 3 * 4, 11);
        WriteFile(dir / "in.yuv", raw);
        RunOk(std::string("convert in.yuv --input-format ") + format + " --input-size 5x3 -o p.png -q");
        RunOk(std::string("convert p.png -o back.yuv -q --to ") + format);
        EXPECT_EQ(ReadFile(dir / "back.yuv"), raw) << format;
    }
    const Bytes grey = RandomBytes(6, 5), colours = RandomBytes(9, 6), indices = {2, 0, 1, 1, 2, 0};
    png_image image{};
    image.version = PNG_IMAGE_VERSION, image.width = 3, image.height = 2, image.format = PNG_FORMAT_GRAY;
    ASSERT_TRUE(png_image_write_to_file(&image, (dir / "g.png").c_str(), 0, grey.data(), 3, nullptr));
    image.format = PNG_FORMAT_RGB_COLORMAP, image.colormap_entries = 3;
    ASSERT_TRUE(png_image_write_to_file(&image, (dir / "c.png").c_str(), 0, indices.data(), 3, colours.data()));
    Bytes wantGrey, wantColours;
    for (int i = 0; i < 6; ++i)
        for (int c = 2; c >= 0; --c) {  // B, G, R from R, G, B
            wantGrey.push_back(grey[i]);
            wantColours.push_back(colours[3 * indices[i] + c]);
        }
    RunOk("convert g.png -o g.yuv -q --to rgb24");
    RunOk("convert c.png -o c.yuv -q --to rgb24");
    EXPECT_EQ(ReadFile(dir / "g.yuv"), wantGrey);
    EXPECT_EQ(ReadFile(dir / "c.yuv"), wantColours);

    image.width = 16385, image.height = 1, image.format = PNG_FORMAT_GRAY;
    ASSERT_TRUE(png_image_write_to_file(&image, (dir / "wide.png").c_str(), 0, Bytes(16385).data(), 0, nullptr));
    ExpectFailure(Run("convert wide.png -o x.bmp -q"), 1, "size 16385x1: both sides must be 1 to 16384");
    Bytes cut = ReadFile(dir / "c.png");
    cut.resize(cut.size() - 20);
    WriteFile(dir / "cut.png", cut);
    ExpectFailure(Run("convert cut.png -o x.bmp -q"), 1, "'cut.png': the PNG picture cannot be decoded");
    // A header that claims 16000x16000 (its checksum made good) over a few
    // hundred bytes of pixels.
    Bytes lie = ReadFile(dir / "g.png");
    for (std::size_t at : {16u, 20u})
        lie[at] = 0, lie[at + 1] = 0, lie[at + 2] = 0x3E, lie[at + 3] = 0x80;
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, &lie[12], 17));
    for (int i = 0; i < 4; ++i)
        lie[29 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    WriteFile(dir / "lie.png", lie);
    ExpectFailure(Run("convert lie.png -o x.bmp -q"), 1, "size 16000x16000 is more than a file of");
    WriteFile(dir / "not.png", std::string("GIF89a"));
    ExpectFailure(Run("convert not.png -o x.bmp -q"), 1, "'not.png': not a PNG picture");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.bmp"));
}

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// A 4:2:0 Y4M frame of 8x4 as a plain model stores it: Y, U, V planes.
Bytes Frames420(int frames, std::uint32_t seed)
{
    Bytes out;
    for (int f = 0; f < frames; ++f) {
        Append(out, std::string("FRAME\n"));
        Append(out, RandomBytes(48, seed + f));
    }
    return out;
}

// Every 4:2:0 chroma tag reads as I420 and is written back with its frames,
// interlace and pixel aspect unchanged; YV12 and VUYA frames are written
// as Y, U, V (and A) planes.
TEST_F(ProgramRun, Y4mStreamsKeepTheirPlanes)
{
    const Bytes frames = Frames420(2, 40);
    for (const char* chroma : {"", " C420", " C420jpeg", " C420mpeg2", " C420paldv"}) {
        Bytes in;
        Append(in, std::string("YUV4MPEG2 W8 H4 F25:1 Ib A32:27") + chroma + "\n");
        Append(in, frames);
        WriteFile(dir / "in.y4m", in);
        RunOk("convert in.y4m -o out.y4m -q");
        Bytes want;
        Append(want, std::string("YUV4MPEG2 W8 H4 F25:1 Ib A32:27 C420jpeg\n"));
        Append(want, frames);
        EXPECT_EQ(ReadFile(dir / "out.y4m"), want) << chroma;
    }
    const Bytes yv12 = RandomBytes(48, 2), vuya = RandomBytes(8 * 4 * 4, 3);
    WriteFile(dir / "yv12.yuv", yv12);
    WriteFile(dir / "vuya.yuv", vuya);
    RunOk("convert yv12.yuv --input-format yv12 --input-size 8x4 --rate 25/1 -o yv12.y4m -q");
    RunOk("convert vuya.yuv --input-format vuya --input-size 8x4 --rate 25/1 -o vuya.y4m -q");
    Bytes want;
    Append(want, std::string("YUV4MPEG2 W8 H4 F25:1 Ip A1:1 C420jpeg\nFRAME\n"));
    want.insert(want.end(), yv12.begin(), yv12.begin() + 32);
    want.insert(want.end(), yv12.begin() + 40, yv12.end());  // U after V in YV12
    want.insert(want.end(), yv12.begin() + 32, yv12.begin() + 40);
    EXPECT_EQ(ReadFile(dir / "yv12.y4m"), want);
    want.clear();
    Append(want, std::string("YUV4MPEG2 W8 H4 F25:1 Ip A1:1 C444alpha\nFRAME\n"));
    for (int plane : {2, 1, 0, 3})  // Y, U, V, A from V, U, Y, A bytes
        for (std::size_t i = 0; i < 32; ++i)
            want.push_back(vuya[4 * i + plane]);
    EXPECT_EQ(ReadFile(dir / "vuya.y4m"), want);
}

// The settings reach the conversion: --keep-aspect letterboxes a wide
// picture with black rows (luma 0), --deinterlace double keeps one field
// and marks the output progressive.
TEST_F(ProgramRun, ConvertSettingsReachTheLibrary)
{
    Bytes fields = FlatYuy2(16, 8, 40, 128, 128);
    for (int r = 1; r < 8; r += 2)
        for (int x = 0; x < 32; x += 2)
            fields[r * 32 + x] = 90;  // the bottom field brighter
    WriteFile(dir / "in.y4m", MakeY4m("YUV4MPEG2 W16 H8 F25:1 It C422", {fields}, 16, 8));
    RunOk("convert in.y4m -o box.y4m --size 16x16 --keep-aspect --scan progressive -q");
    const Y4mFile box = ReadY4m(ReadFile(dir / "box.y4m"), 16, 16);
    ASSERT_EQ(box.frames.size(), 1u);
    EXPECT_EQ(box.frames[0][0], 0) << "the top bar";
    EXPECT_EQ(box.frames[0][15 * 32], 0) << "the bottom bar";
    EXPECT_NE(box.frames[0][8 * 32], 0) << "the picture";
    RunOk("convert in.y4m -o single.y4m --deinterlace double -q");
    const Y4mFile single = ReadY4m(ReadFile(dir / "single.y4m"), 16, 8);
    EXPECT_EQ(single.header, "YUV4MPEG2 W16 H8 F25:1 Ip A1:1 C422");
    ASSERT_EQ(single.frames.size(), 1u);
    for (int r = 0; r < 8; r += 2)
        EXPECT_TRUE(std::equal(&single.frames[0][r * 32], &single.frames[0][r * 32 + 32],
                               &single.frames[0][r * 32 + 32]))
            << "rows " << r << " and " << r + 1 << " are one field's row twice";
}

// Picture outputs of several frames take a number; without one the second
// frame stops the run. Requests the library or the output cannot serve are
// refused before the output exists.
TEST_F(ProgramRun, PictureNamesAndRefusals)
{
    Bytes in;
    Append(in, std::string("YUV4MPEG2 W8 H4 F25:1\n"));
    Append(in, Frames420(3, 50));
    WriteFile(dir / "in.y4m", in);
    RunOk("convert in.y4m -o f-%02d%%.bmp -q");
    EXPECT_TRUE(std::filesystem::exists(dir / "f-03%.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "f-04%.bmp"));
    ExpectFailure(Run("convert in.y4m -o one.png -q"), 1, "name the pictures with a number, e.g. frame-%04d.png");
    EXPECT_TRUE(std::filesystem::exists(dir / "one.png"));
    ExpectFailure(Run("convert in.y4m -o f-%x.png"), 2, "must be %d, %0Nd");
    ExpectFailure(Run("convert in.y4m -o f.png --to yuy2"), 2, "--to yuy2: 'f.png' cannot hold it");
    ExpectFailure(Run("convert in.y4m -o f.y4m --to i420 --size 6x3 -q"), 1, "i420 6x3 frames: width and height");
    WriteFile(dir / "yv12.yuv", Bytes(48));
    ExpectFailure(Run("convert yv12.yuv --input-format yv12 --input-size 8x4 -o f.yuv --to i420 -q"), 1,
                  "cannot convert yv12 8x4 to i420 8x4");
    EXPECT_FALSE(std::filesystem::exists(dir / "f.yuv"));
}

// resize takes 4:2:0 streams (converted to YUY2 for the filter) and gives
// 4:2:0 back unless asked for 4:2:2. A flat picture stays flat through
// every step.
TEST_F(ProgramRun, ResizeTakesAndGives420)
{
    Bytes in;
    Append(in, std::string("YUV4MPEG2 W16 H8 F25:1 It C420mpeg2\nFRAME\n"));
    Append(in, Bytes(128, 90));
    Append(in, Bytes(32, 60));
    Append(in, Bytes(32, 200));
    WriteFile(dir / "in.y4m", in);
    RunOk("resize in.y4m -o out.y4m --size 32x16 -q");
    Bytes want;
    Append(want, std::string("YUV4MPEG2 W32 H16 F25:1 It A1:1 C420jpeg\nFRAME\n"));
    Append(want, Bytes(512, 90));
    Append(want, Bytes(128, 60));
    Append(want, Bytes(128, 200));
    EXPECT_EQ(ReadFile(dir / "out.y4m"), want);
    RunOk("resize in.y4m -o out422.y4m --size 32x16 --output-chroma 422 -q");
    const Y4mFile out = ReadY4m(ReadFile(dir / "out422.y4m"), 32, 16);
    EXPECT_EQ(out.header, "YUV4MPEG2 W32 H16 F25:1 It A1:1 C422");
    ASSERT_EQ(out.frames.size(), 1u);
    EXPECT_EQ(out.frames[0], FlatYuy2(32, 16, 90, 60, 200));
}

// Where ffprobe is installed it must accept every kind of file written.
TEST_F(ProgramRun, FfprobeReadsTheOutputs)
{
    if (std::system("command -v ffprobe > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffprobe is not installed";
    for (const char* out : {"a.y4m --to yuy2", "b.y4m --to i420", "c.y4m --to vuya", "d.png", "e.png --to rgb32"}) {
        RunOk(std::string("convert --frames 1 -q -o ") + out);
        const std::string name = std::string(out).substr(0, 5);
        EXPECT_EQ(std::system(("ffprobe -v error " + Quote(dir / name) + " > /dev/null").c_str()), 0) << out;
    }
}

// ffmpeg's own 4:2:0 Y4M goes through convert and resize; convert's RGB
// agrees with ffmpeg's conversion to within the two colour regimes'
// rounding (about 48 dB on testsrc2).
TEST_F(ProgramRun, FfmpegStreamsConvertAsFfmpegDoes)
{
    if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffmpeg is not installed";
    const std::string cd = "cd " + Quote(dir.Path().string()) + " && ";
    ASSERT_EQ(std::system((cd + "ffmpeg -v error -f lavfi -i testsrc2=size=320x240:rate=25 -frames:v 2 -f "
                                "yuv4mpegpipe src.y4m && ffmpeg -v error -i src.y4m -frames:v 1 ref.png").c_str()),
              0);
    RunOk("convert src.y4m -o ours.png --frames 1 -q");
    RunOk("resize src.y4m -o small.y4m --size 160x120 -q");
    EXPECT_NE(ReadY4m(ReadFile(dir / "small.y4m"), 160, 120).header.find("C420jpeg"), std::string::npos);
    ASSERT_EQ(std::system((cd + "ffmpeg -i ours.png -i ref.png -lavfi psnr -f null - 2> psnr.txt").c_str()), 0);
    const std::string text = Text(ReadFile(dir / "psnr.txt"));
    const std::size_t at = text.find("average:");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_GT(std::atof(text.c_str() + at + 8), 40.0) << text;
}

}  // namespace
}  // namespace tulrezzotest
