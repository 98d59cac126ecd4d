// Samples through the resize filter: times and flags, format changes
// carried by samples, the output buffer, short samples and the sample
// bookkeeping of Transform.
#include "resize_graph.h"

namespace rftest {
namespace {

class ResizeStreaming : public FilterTest {};

// The sample flags the filter copies itself are checked on Transform
// below; the framework's suites hold the rest of the sample's journey,
// partial times included.
TEST_F(ResizeStreaming, EveryFrameArrivesResizedWithItsTimes)
{
    ResizeGraph g(VideoType(720, 480), 6);
    ASSERT_EQ(g.Connect(), S_OK);
    EXPECT_EQ(g.RunToEnd(), EC_COMPLETE);
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 6u);
    for (ULONG i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].bytes.size(), 153600u) << "frame " << i;
        ExpectPicture(got[i].bytes, 320, 240, ResizeGraph::FrameLuma(i), 320, 240, "frame " + std::to_string(i));
        EXPECT_EQ(got[i].start, static_cast<REFERENCE_TIME>(i) * 1000);
    }
    // Geometry is prepared once, not per frame.
    EXPECT_EQ(g.filter->StreamPreparations(), 1u);
}

TEST_F(ResizeStreaming, VideoInfo2FormatChangeIsForwardedWithTheOutputGeometry)
{
    ResizeGraph g(VideoType(720, 480, Block::VideoInfo2, 4, 3, AMINTERLACE_IsInterlaced), 3,
                  CarryTypeAt(1, VideoType(720, 480, Block::VideoInfo2, 16, 9, AMINTERLACE_IsInterlaced)));
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetOutputAspectRatio(4, 3), S_OK);
    ASSERT_EQ(settings->SetResizeMode(RESIZE_MODE_KEEP_ASPECT), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_FALSE(got[0].hasType);
    ASSERT_TRUE(got[1].hasType);
    const VIDEOINFOHEADER2* vih2 = VideoInfo2Of(got[1].type);
    ASSERT_NE(vih2, nullptr);
    EXPECT_EQ(vih2->bmiHeader.biWidth, 320);
    EXPECT_EQ(vih2->bmiHeader.biHeight, 240);
    EXPECT_EQ(vih2->bmiHeader.biSizeImage, 153600u);
    EXPECT_EQ(vih2->dwPictAspectRatioX, 4u);
    EXPECT_EQ(vih2->dwPictAspectRatioY, 3u);
    // 480 lines to 240: no field fill, so the interlacing is passed on.
    EXPECT_EQ(vih2->dwInterlaceFlags, AMINTERLACE_IsInterlaced);
    EXPECT_FALSE(got[2].hasType);

    // 4:3 fills the 4:3 output; from the 16:9 sample on, the picture is
    // letterboxed to 180 lines.
    ExpectPicture(got[0].bytes, 320, 240, ResizeGraph::FrameLuma(0), 320, 240);
    for (ULONG i = 1; i < 3; ++i)
        ExpectPicture(got[i].bytes, 320, 240, ResizeGraph::FrameLuma(i), 320, 180, "frame " + std::to_string(i));
    EXPECT_EQ(g.filter->StreamPreparations(), 2u);
}

TEST_F(ResizeStreaming, FormatChangeMarksTheOutputProgressiveWhenFieldsAreFilled)
{
    // 486 lines kept at 486: the automatic policy fills fields.
    const CMediaType interlaced = VideoType(64, 486, Block::VideoInfo2, 0, 0, AMINTERLACE_IsInterlaced);
    ResizeGraph g(interlaced, 3, CarryTypeAt(2, interlaced));
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetOutputSize(64, 486), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 3u);
    ASSERT_TRUE(got[2].hasType);
    EXPECT_EQ(VideoInfo2Of(got[2].type)->dwInterlaceFlags, 0u);
    EXPECT_EQ(VideoInfo2Of(got[2].type)->bmiHeader.biHeight, 486);
}

TEST_F(ResizeStreaming, VideoInfoFormatChangeGetsTheOutputSize)
{
    ResizeGraph g(VideoType(720, 480), 2, CarryTypeAt(1, VideoType(720, 480)));
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 2u);
    ASSERT_TRUE(got[1].hasType);
    EXPECT_EQ(Header(got[1].type).biWidth, 320);
    EXPECT_EQ(Header(got[1].type).biHeight, 240);
    EXPECT_EQ(Header(got[1].type).biSizeImage, 153600u);
}

// Transform called directly on samples whose buffers are exactly as long
// as they say: short samples give black frames, and AddressSanitizer
// catches any read past them or past the kept copy.
class DirectTransform : public ResizeStreaming {
protected:
    void SetUp() override
    {
        ResizeStreaming::SetUp();
        graph = std::make_unique<ResizeGraph>(VideoType(64, 48), 0);
        ASSERT_EQ(graph->ConnectInput(), S_OK);
    }
    void TearDown() override
    {
        graph.reset();
        ResizeStreaming::TearDown();
    }
    CResizeFilter& Filter() { return *graph->filter.Get(); }
    std::unique_ptr<ResizeGraph> graph;
};

TEST_F(DirectTransform, ShortInputIsNeverReadPastItsEnd)
{
    for (LONG length : {0, 1, 64 * 2, 64 * 2 * 48 - 1}) {
        TestSample in(length);
        FillFlat(in.Data(), static_cast<std::size_t>(length), 200);
        TestSample out(320 * 240 * 2);
        FillFlat(out.Data(), 320 * 240 * 2, 99);
        ASSERT_EQ(Filter().Transform(&in, &out), S_OK) << length;
        EXPECT_EQ(out.GetActualDataLength(), 153600);
        EXPECT_TRUE(AllBlack(out.Bytes())) << "input of " << length << " bytes";
    }
    TestSample in(64 * 48 * 2);
    FillFlat(in.Data(), 64 * 48 * 2, 200);
    TestSample out(320 * 240 * 2);
    ASSERT_EQ(Filter().Transform(&in, &out), S_OK);
    ExpectPicture(out.Bytes(), 320, 240, 200, 320, 240);
}

TEST_F(DirectTransform, OutputBufferSmallerThanTheFrameIsNotWritten)
{
    TestSample in(64 * 48 * 2);
    TestSample out(153600 - 2);
    FillFlat(out.Data(), 153600 - 2, 99);
    EXPECT_EQ(Filter().Transform(&in, &out), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(out.Data()[0], 99);
    EXPECT_EQ(out.Data()[153600 - 7], 128);
}

TEST_F(DirectTransform, UnanswerableFlagQueriesEndTheTransform)
{
    for (int which = 0; which < 3; ++which) {
        TestSample in(64 * 48 * 2);
        TestSample out(153600);
        (which == 0 ? in.m_syncResult : which == 1 ? in.m_prerollResult : in.m_discontinuityResult) = E_FAIL;
        EXPECT_EQ(Filter().Transform(&in, &out), E_UNEXPECTED) << which;
    }
    TestSample in(64 * 48 * 2);
    in.m_syncResult = S_OK;
    in.m_discontinuityResult = S_OK;
    TestSample out(153600);
    out.m_prerollResult = S_OK;
    ASSERT_EQ(Filter().Transform(&in, &out), S_OK);
    EXPECT_EQ(out.IsSyncPoint(), S_OK);
    EXPECT_EQ(out.IsDiscontinuity(), S_OK);
    EXPECT_EQ(out.IsPreroll(), S_FALSE);
    EXPECT_EQ(Filter().Transform(nullptr, &out), E_POINTER);
}

TEST_F(DirectTransform, ShortFormatBlockOnASampleIsForwardedUnread)
{
    TestSample in(64 * 48 * 2);
    FillFlat(in.Data(), 64 * 48 * 2, 50);
    CMediaType shortType = VideoType(64, 48, Block::VideoInfo2, 16, 9);
    shortType.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER2) - 8);
    in.SetMediaType(&shortType);
    TestSample out(153600);
    ASSERT_EQ(Filter().Transform(&in, &out), S_OK);
    ASSERT_NE(out.Type(), nullptr);
    EXPECT_EQ(out.Type()->FormatLength(), sizeof(VIDEOINFOHEADER2) - 8);
    // The short block gave no aspect: the picture still fills the frame.
    ExpectPicture(out.Bytes(), 320, 240, 50, 320, 240);
}

}  // namespace
}  // namespace rftest
