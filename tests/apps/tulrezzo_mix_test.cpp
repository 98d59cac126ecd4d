// blend, overlay and diff end to end, on flat frames whose results the
// library's rules give exactly: weights 0 and 1, opaque and clear alpha,
// sums of luma differences on every 8th row and pixel.
#include "tulrezzo_files.h"

namespace tulrezzotest {
namespace {

// A 4:2:2 Y4M stream of 16x8 frames, each flat with the luma given.
void FlatStream(const std::string& path, const std::vector<int>& lumas, int width = 16)
{
    std::vector<Bytes> frames;
    for (int y : lumas)
        frames.push_back(FlatYuy2(width, 8, static_cast<unsigned char>(y), 128, 128));
    WriteFile(path, MakeY4m("YUV4MPEG2 W" + std::to_string(width) + " H8 F25:1 Ip C422", frames, width, 8));
}

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// 16x8 frames hold 2 x 1 samples of the measure, so a luma step of d
// measures 2d.
TEST_F(ProgramRun, DiffListsTheMeasure)
{
    FlatStream(dir / "a.y4m", {10, 30, 25});
    FlatStream(dir / "b.y4m", {12, 12, 12});
    FlatStream(dir / "wide.y4m", {10}, 32);
    EXPECT_EQ(Text(RunOk("diff a.y4m -q").out), "frame,delta\n2,40\n3,10\n");
    EXPECT_EQ(Text(RunOk("diff a.y4m -q --cuts 10").out), "frame,delta\n2,40\n");
    EXPECT_EQ(Text(RunOk("diff a.y4m b.y4m -q").out), "frame,delta\n1,4\n2,36\n3,26\n");
    ExpectFailure(Run("diff a.y4m wide.y4m -q"), 1, "'wide.y4m' has frames of 32x8 and 'a.y4m' of 16x8");
}

// Weight 1 gives B, 0 gives A; a fade runs from one to the other; an odd
// field mixes the odd rows only.
TEST_F(ProgramRun, BlendMixesAsWeighted)
{
    FlatStream(dir / "a.y4m", {100, 100});
    FlatStream(dir / "b.y4m", {200, 200});
    FlatStream(dir / "wide.y4m", {200}, 32);
    const Bytes a = FlatYuy2(16, 8, 100, 128, 128), b = FlatYuy2(16, 8, 200, 128, 128);
    RunOk("blend a.y4m b.y4m -o fade.y4m --weight-from 0 --weight-to 1 --frames 2 -q");
    EXPECT_EQ(ReadY4m(ReadFile(dir / "fade.y4m"), 16, 8).frames, (std::vector<Bytes>{a, b}));
    RunOk("blend a.y4m b.y4m -o field.y4m --weight 1 --field odd -q");
    Bytes odd = a;
    for (int r = 1; r < 8; r += 2)
        std::copy(b.begin() + r * 32, b.begin() + r * 32 + 32, odd.begin() + r * 32);
    EXPECT_EQ(ReadY4m(ReadFile(dir / "field.y4m"), 16, 8).frames, (std::vector<Bytes>{odd, odd}));
    RunOk("blend a.y4m wide.y4m -o fit.y4m --weight 1 --fit -q");
    EXPECT_EQ(ReadY4m(ReadFile(dir / "fit.y4m"), 16, 8).frames, (std::vector<Bytes>{b}));
    ExpectFailure(Run("blend a.y4m wide.y4m -o x.y4m -q"), 1, "blend mixes frames of one size");
    ExpectFailure(Run("blend a.y4m b.y4m -o x.y4m --weight 1.5"), 2, "--weight '1.5'");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.y4m"));
}

// An opaque foreground pixel replaces the background, a clear one leaves
// it; the picture must fit inside the frame where it is put.
TEST_F(ProgramRun, OverlayCompositesInPlace)
{
    const Bytes background = RandomBytes(8 * 4 * 3, 21);
    WriteFile(dir / "bg.yuv", background);
    Bytes fg = RandomBytes(2 * 2 * 4, 22);  // B, G, R, A; alpha 255 and 0 by turns
    for (std::size_t i = 3; i < fg.size(); i += 4)
        fg[i] = i % 8 == 3 ? 255 : 0;
    WriteFile(dir / "fg.yuv", fg);
    RunOk("convert fg.yuv --input-format rgb32 --input-size 2x2 -o fg.png -q");
    RunOk("overlay bg.yuv fg.png --at 5,1 --input-format rgb24 --input-size 8x4 -o out.yuv -q");
    Bytes want = background;
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 2; ++x)
            if (fg[(r * 2 + x) * 4 + 3] == 255)
                std::copy_n(&fg[(r * 2 + x) * 4], 3, &want[((r + 1) * 8 + 5 + x) * 3]);
    EXPECT_EQ(ReadFile(dir / "out.yuv"), want);
    ExpectFailure(Run("overlay bg.yuv fg.png --at 7,0 --input-format rgb24 --input-size 8x4 -o x.yuv -q"), 1,
                  "(2x2 at 7,0) does not fit inside the background (8x4)");
    RunOk("convert fg.png -o opaque.png --to rgb24 -q");
    ExpectFailure(Run("overlay bg.yuv opaque.png --input-format rgb24 --input-size 8x4 -o x.yuv -q"), 1,
                  "has no alpha channel");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.yuv"));
}

}  // namespace
}  // namespace tulrezzotest
