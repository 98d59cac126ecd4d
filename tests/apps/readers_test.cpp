// Frame sources: Y4M 4:2:2 joined into YUY2, raw YUY2, and the built-in
// test picture; whole frames, clean ends, truncation and bad files. Random
// frames through the reader and the writer are compared end to end.
#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/raw_reader.h"
#include "apps/tulrezzo/test_pattern.h"
#include "apps/tulrezzo/y4m_reader.h"
#include "tulrezzo_files.h"

namespace tulrezzo {
namespace {

using namespace tulrezzotest;

// Streams of 2 x 1 frames whose planes "abcd" join into YUY2 "acbd".
struct StreamCase {
    const char* afterHeader;
    int wholeFrames;
    ReadStatus last;
    const char* message;  // what the last outcome must say
};

class Y4mStreamEnd : public ::testing::TestWithParam<StreamCase> {};

TEST_P(Y4mStreamEnd, WholeFramesThenTheEndItFinds)
{
    ScratchDir dir;
    WriteFile(dir / "in.y4m", std::string("YUV4MPEG2 W2 H1 F25:1 C422\n") + GetParam().afterHeader);
    Y4mReader reader(dir / "in.y4m");
    for (int i = 0; i < GetParam().wholeFrames; ++i) {
        Bytes got(4);
        ASSERT_EQ(reader.ReadFrame(got.data()).status, ReadStatus::Frame) << "frame " << i;
        EXPECT_EQ(std::string(got.begin(), got.end()), "acbd");
    }
    Bytes got(4);
    const ReadOutcome r = reader.ReadFrame(got.data());
    EXPECT_EQ(r.status, GetParam().last);
    EXPECT_NE(r.message.find(GetParam().message), std::string::npos) << r.message;
}

INSTANTIATE_TEST_SUITE_P(
    Ends, Y4mStreamEnd,
    ::testing::Values(StreamCase{"FRAME Ixyz\nabcdFRAME\nabcd", 2, ReadStatus::End, ""},  // frame parameters skipped
                      StreamCase{"FRAME\nabcdFRAME\nabc", 1, ReadStatus::Truncated, "frame 2 is truncated (3 of 4 bytes)"},
                      StreamCase{"FRA", 0, ReadStatus::Truncated, "frame 1"},
                      StreamCase{"FRAMES\nabcd", 0, ReadStatus::Failed, "frame 1 does not begin with a FRAME header"}));

TEST(Y4mReader, HeaderErrorsNameTheFile)
{
    ScratchDir dir;
    auto message = [&](const std::string& content) -> std::string {
        WriteFile(dir / "in.y4m", content);
        try {
            Y4mReader reader(dir / "in.y4m");
        } catch (const AppError& e) {
            EXPECT_EQ(e.Status(), kExitFailure);
            return e.what();
        }
        return "accepted";
    };
    EXPECT_NE(message("").find("empty"), std::string::npos);
    EXPECT_NE(message("YUV4MPEG2 W4 H2").find("ends inside its Y4M header"), std::string::npos);
    EXPECT_NE(message("YUV4MPEG2 " + std::string(5000, 'X')).find("longer than"), std::string::npos);
    EXPECT_NE(message("P5 8 4 255\n" + std::string(32, 'x')).find("not a Y4M stream"), std::string::npos);
}

TEST(RawReader, ReadsWholeFramesThenReportsTheRemainder)
{
    StreamInfo info;
    info.size = {6, 3};
    for (const std::size_t extra : {0, 7}) {
        ScratchDir dir;
        const Bytes data = RandomBytes(36 * 2 + extra, 9);
        WriteFile(dir / "in.yuv", data);
        RawReader reader(dir / "in.yuv", info);
        Bytes got(36);
        for (int i = 0; i < 2; ++i) {
            ASSERT_EQ(reader.ReadFrame(got.data()).status, ReadStatus::Frame);
            EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin() + 36 * i));
        }
        const ReadOutcome r = reader.ReadFrame(got.data());
        EXPECT_EQ(r.status, extra == 0 ? ReadStatus::End : ReadStatus::Truncated);
        const char* message = extra == 0 ? "" : "frame 3 is truncated (7 of 36 bytes)";
        EXPECT_NE(r.message.find(message), std::string::npos) << r.message;
    }
}

TEST(TestPatternSource, BoxMovesBetweenTheFieldsOverTheBars)
{
    TestPattern pattern(3);
    const int w = 720;
    Bytes frame(pattern.Info().FrameBytes());
    auto luma = [&](int row, int x) { return frame[(static_cast<std::size_t>(row) * w + x) * 2]; };
    for (ULONG n = 0; n < 3; ++n) {
        ASSERT_EQ(pattern.ReadFrame(frame.data()).status, ReadStatus::Frame);
        ASSERT_NE(pattern.BoxLeft(n, 0), pattern.BoxLeft(n, 1));
        for (int field = 0; field < 2; ++field) {
            const int row = pattern.BoxTop() + field;
            const int left = pattern.BoxLeft(n, field);
            const int side = pattern.BoxSide();
            ASSERT_LE(left + side, w);
            EXPECT_EQ(luma(row, left), 235) << "frame " << n << " field " << field;
            EXPECT_EQ(luma(row, left + side - 1), 235);
            EXPECT_NE(luma(row, left + side), 235);
        }
        // The fields differ inside the box rows and agree outside them;
        // bars run white to blue.
        EXPECT_NE(luma(pattern.BoxTop(), pattern.BoxLeft(n, 0)), luma(pattern.BoxTop() + 1, pattern.BoxLeft(n, 0)));
        EXPECT_TRUE(std::equal(frame.begin(), frame.begin() + w * 2, frame.begin() + w * 2));
        EXPECT_EQ(luma(0, 0), 180);
        EXPECT_EQ(luma(0, w - 1), 35);
    }
}

}  // namespace
}  // namespace tulrezzo
