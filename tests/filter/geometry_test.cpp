// Where the picture lands in delivered frames (stretched or fitted with
// black where it does not reach) and what the field fill does to real
// interlaced input. The fit and field rules themselves are tested on
// their own in core/; these cases check the filter hands them its
// settings and the source's shape and flags.
#include "resize_graph.h"

namespace rftest {
namespace {

class Geometry : public FilterTest {};

// A 4:3 picture kept in shape in a frame announced as 16:9: 540 of the 720
// columns, black either side. (Stretching and the source's pixel shape show
// in the streaming and aspect-change cases.)
TEST_F(Geometry, KeptPictureFollowsTheSourceAndOutputAspects)
{
    ResizeGraph g(VideoType(720, 480, Block::VideoInfo2, 4, 3), 2);
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetOutputSize(720, 480), S_OK);
    ASSERT_EQ(settings->SetOutputAspectRatio(16, 9), S_OK);
    ASSERT_EQ(settings->SetResizeMode(RESIZE_MODE_KEEP_ASPECT), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 2u);
    for (ULONG i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].bytes.size(), 720u * 480 * 2);
        ExpectPicture(got[i].bytes, 720, 480, ResizeGraph::FrameLuma(i), 540, 480, "frame " + std::to_string(i));
    }
}

// The output aspect is read at preparation only; a new mode prepares.
TEST_F(Geometry, OutputAspectAloneDoesNotRefitUntilTheModeChanges)
{
    ResizeGraph* self = nullptr;
    ResizeGraph g(VideoType(720, 480), 6, [&self](PushFrame& f) {
        IResizeSettings* settings = self->filter.Get();
        if (f.index == 2)
            settings->SetOutputAspectRatio(1, 2);  // a tall output: the picture would narrow
        if (f.index == 4) {
            settings->SetResizeMode(RESIZE_MODE_FIT);
            settings->SetResizeMode(RESIZE_MODE_KEEP_ASPECT + 100);  // any other: stretch, and a change
        }
        return S_OK;
    });
    self = &g;
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetResizeMode(RESIZE_MODE_KEEP_ASPECT), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 6u);
    for (ULONG i = 0; i < 4; ++i)
        ExpectPicture(got[i].bytes, 320, 240, ResizeGraph::FrameLuma(i), 320, 213, "frame " + std::to_string(i));
    for (ULONG i = 4; i < 6; ++i)
        ExpectPicture(got[i].bytes, 320, 240, ResizeGraph::FrameLuma(i), 320, 240, "frame " + std::to_string(i));
    EXPECT_EQ(g.filter->StreamPreparations(), 2u);
}

// Deinterlacing on real input: with the output the source's own size the
// resizer copies, so the delivered frame shows exactly what the field
// fill did. Line r of every input frame has luma 20 + r % 200 (odd and
// even lines differ).
struct FieldCase {
    const char* name;
    Block block;
    DWORD interlaceFlags;
    LONG height;
    LONG method;
    LONG policy;
    enum { Untouched, Doubled, Averaged } expect;
};

class FieldFill : public Geometry, public ::testing::WithParamInterface<FieldCase> {};

BYTE LineLuma(LONG r) { return static_cast<BYTE>(20 + r % 200); }

TEST_P(FieldFill, DeliveredFrameShowsTheFieldFillDecision)
{
    const FieldCase c = GetParam();
    const LONG width = 32;
    ResizeGraph g(VideoType(width, c.height, c.block, 0, 0, c.interlaceFlags), 2, [&](PushFrame& f) {
        FillLines(f.pData, width, c.height, LineLuma);
        return S_OK;
    });
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetOutputSize(width, c.height), S_OK);
    ASSERT_EQ(settings->SetDeinterlaceMethod(c.method), S_OK);
    ASSERT_EQ(settings->SetDeinterlacePolicy(c.policy), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 2u);
    const std::size_t line = width * 2;
    for (const auto& d : got) {
        ASSERT_EQ(d.bytes.size(), line * c.height);
        for (LONG r = 0; r < c.height; ++r) {
            BYTE expected = LineLuma(r);
            if (c.expect == FieldCase::Doubled && r % 2 == 1)
                expected = LineLuma(r - 1);
            if (c.expect == FieldCase::Averaged && r % 2 == 1)
                expected = r == c.height - 1 ? LineLuma(r - 1)
                                             : static_cast<BYTE>((LineLuma(r - 1) + LineLuma(r + 1)) >> 1);
            ASSERT_EQ(d.bytes[line * r], expected) << c.name << " line " << r;
            ASSERT_EQ(d.bytes[line * r + line - 2], expected) << c.name << " line " << r;
        }
    }
    // The snapshot keeps the bytes as received (its own line doubling
    // applies to them, never the averaged lines).
    if (c.expect == FieldCase::Averaged) {
        const auto still = Still(*g.filter.Get(), width, c.height, SNAPSHOT_FORMAT_YUY2, RESIZE_MODE_FIT);
        EXPECT_EQ(still[line * 3], LineLuma(2));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Decisions, FieldFill,
    ::testing::Values(
        FieldCase{"multiple_of_32_auto", Block::VideoInfo, 0, 480, FIELD_FILL_DOUBLE, FIELD_POLICY_AUTO,
                  FieldCase::Untouched},
        FieldCase{"not_multiple_auto_double", Block::VideoInfo, 0, 486, FIELD_FILL_DOUBLE, FIELD_POLICY_AUTO,
                  FieldCase::Doubled},
        FieldCase{"always_double", Block::VideoInfo, 0, 480, FIELD_FILL_DOUBLE, FIELD_POLICY_ALWAYS,
                  FieldCase::Doubled},
        FieldCase{"method_none", Block::VideoInfo, 0, 486, FIELD_FILL_NONE, FIELD_POLICY_AUTO,
                  FieldCase::Untouched},
        FieldCase{"progressive_source", Block::VideoInfo2, 0, 486, FIELD_FILL_DOUBLE, FIELD_POLICY_ALWAYS,
                  FieldCase::Untouched},
        FieldCase{"interlaced_source", Block::VideoInfo2, AMINTERLACE_IsInterlaced, 486, FIELD_FILL_AVERAGE,
                  FIELD_POLICY_AUTO, FieldCase::Averaged}),
    [](const ::testing::TestParamInfo<FieldCase>& info) { return info.param.name; });

}  // namespace
}  // namespace rftest
