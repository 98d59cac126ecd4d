// Output files: Y4M written as it goes, the 24-bit BMP layout and format
// choice by name. Y4M and raw layouts and files that cannot be made are
// checked end to end.
#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/bmp_writer.h"
#include "apps/tulrezzo/frame_writer.h"
#include "tulrezzo_files.h"

namespace tulrezzo {
namespace {

using namespace tulrezzotest;

// Written as it goes: the file holds a frame as soon as it is written. The
// layout of whole files is compared end to end.
TEST(Y4mWriter, FlushesEveryFrame)
{
    ScratchDir dir;
    StreamInfo info;
    info.size = {4, 3};
    info.rate = {25, 1};
    info.interlaceTag = 'p';
    const Bytes a = RandomBytes(4 * 3 * 2, 1);
    auto writer = CreateFrameWriter(dir / "out.y4m", OutputKind::Y4m, info, {8, 9});
    ASSERT_TRUE(writer->WriteFrame(a.data()));
    EXPECT_EQ(ReadFile(dir / "out.y4m"), MakeY4m("YUV4MPEG2 W4 H3 F25:1 Ip A8:9 C422", {a}, 4, 3));
    EXPECT_TRUE(writer->Finish());
}

TEST(OutputFiles, KindFollowsTheName)
{
    const std::pair<const char*, OutputKind> known[] = {
        {"-", OutputKind::Y4m}, {"a/b.YUV", OutputKind::Raw}, {"clip.y4m", OutputKind::Y4m}};
    for (const auto& [name, want] : known) {
        OutputKind kind = want == OutputKind::Raw ? OutputKind::Y4m : OutputKind::Raw;
        EXPECT_TRUE(OutputKindOf(name, &kind)) << name;
        EXPECT_EQ(kind, want) << name;
    }
    OutputKind kind;
    for (const char* bad : {"clip.mp4", "clip", "y4m", "dir/.y4m", "clip.y4m.txt", ""})
        EXPECT_FALSE(OutputKindOf(bad, &kind)) << bad;
}

class BmpLayout : public ::testing::TestWithParam<int> {};

TEST_P(BmpLayout, HeadersAndRowsPaddedToFourBytes)
{
    const int width = GetParam();
    const int height = 3;
    const Bytes pixels = RandomBytes(static_cast<std::size_t>(width) * 3 * height, width);
    const Bytes file = EncodeBmp24(pixels.data(), width, height);
    const std::size_t stride = (width * 3 + 3) / 4 * 4;
    ASSERT_EQ(file.size(), 54 + stride * height);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), file.size());
    EXPECT_EQ(Le32(file, 10), 54u);
    EXPECT_EQ(Le32(file, 14), 40u);
    EXPECT_EQ(Le32(file, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(Le32(file, 22), static_cast<std::uint32_t>(height));  // positive: bottom-up
    EXPECT_EQ(file[26] | file[27] << 8, 1);
    EXPECT_EQ(file[28] | file[29] << 8, 24);
    EXPECT_EQ(Le32(file, 30), 0u);
    EXPECT_EQ(Le32(file, 34), stride * height);
    for (int r = 0; r < height; ++r) {
        const auto row = file.begin() + 54 + stride * r;
        EXPECT_TRUE(std::equal(row, row + width * 3, pixels.begin() + width * 3 * r)) << "row " << r;
        for (std::size_t pad = width * 3; pad < stride; ++pad)
            EXPECT_EQ(row[pad], 0) << "row " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, BmpLayout, ::testing::Values(1, 2, 3, 4, 5, 320));

TEST(Bmp, RefusesEmptyAndOversizedPictures)
{
    const Bytes pixels(12);
    EXPECT_TRUE(EncodeBmp24(nullptr, 2, 2).empty());
    EXPECT_TRUE(EncodeBmp24(pixels.data(), 0, 2).empty());
    EXPECT_TRUE(EncodeBmp24(pixels.data(), 2, -1).empty());
    EXPECT_TRUE(EncodeBmp24(pixels.data(), kMaxDimension + 1, 1).empty());
    ScratchDir dir;
    EXPECT_THROW(WriteBmp24(dir / "x.bmp", pixels.data(), 0, 0), AppError);
    WriteBmp24(dir / "x.bmp", pixels.data(), 2, 2);
    EXPECT_EQ(ReadFile(dir / "x.bmp").size(), 54u + 16);
}

}  // namespace
}  // namespace tulrezzo
