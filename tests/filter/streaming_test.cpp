// Samples through the resize filter: times and flags, format changes
// carried by samples, the output buffer, short samples and the sample
// bookkeeping of Transform.
#include "resize_graph.h"

namespace rftest {
namespace {

class ResizeStreaming : public FilterTest {};

// The sample flags the filter copies itself are checked on Transform
// below; the framework's suites hold the rest of the sample's journey,
// partial times included. A format change of the same geometry is
// forwarded with the output size and prepares nothing new.
TEST_F(ResizeStreaming, EveryFrameArrivesResizedWithItsTimes)
{
    ResizeGraph g(VideoType(720, 480), 6, CarryTypeAt(1, VideoType(720, 480)));
    ASSERT_EQ(g.Connect(), S_OK);
    EXPECT_EQ(g.RunToEnd(), EC_COMPLETE);
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 6u);
    for (ULONG i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].bytes.size(), 153600u) << "frame " << i;
        ExpectPicture(got[i].bytes, 320, 240, ResizeGraph::FrameLuma(i), 320, 240, "frame " + std::to_string(i));
        EXPECT_EQ(got[i].start, static_cast<REFERENCE_TIME>(i) * 1000);
        EXPECT_EQ(got[i].hasType, i == 1);
    }
    // A VIDEOINFOHEADER format change is forwarded with the output size.
    EXPECT_EQ(Header(got[1].type).biWidth, 320);
    EXPECT_EQ(Header(got[1].type).biHeight, 240);
    EXPECT_EQ(Header(got[1].type).biSizeImage, 153600u);
    // Geometry is prepared once, not per frame (the same geometry came again).
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
    // The 16:9 picture takes 180 of the 240 lines: 480 to 180 is no whole
    // ratio, so this frame's fields are filled and the type says progressive.
    EXPECT_EQ(vih2->dwInterlaceFlags, 0u);
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
    // Carried by the first sample: the resizer is prepared for the frame
    // before the type it brings is forwarded.
    ResizeGraph g(interlaced, 3, CarryTypeAt(0, interlaced));
    IResizeSettings* settings = g.filter.Get();
    ASSERT_EQ(settings->SetOutputSize(64, 486), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto got = g.Take();
    ASSERT_EQ(got.size(), 3u);
    ASSERT_TRUE(got[0].hasType);
    EXPECT_EQ(VideoInfo2Of(got[0].type)->dwInterlaceFlags, 0u);
    EXPECT_EQ(VideoInfo2Of(got[0].type)->bmiHeader.biHeight, 486);
}

// Transform called directly on samples whose buffers are exactly as long
// as they say: short samples give black frames, and AddressSanitizer
// catches any read past them or past the kept copy; an output buffer
// shorter than the frame is not written; unanswerable flag queries end the
// transform, the flags it copies reach the output; a short format block on
// a sample is forwarded unread.
TEST_F(ResizeStreaming, DirectTransformOfExactSamples)
{
    ResizeGraph g(VideoType(64, 48), 0);
    ASSERT_EQ(g.ConnectInput(), S_OK);
    CResizeFilter& filter = *g.filter.Get();
    for (LONG length : {0, 1, 64 * 2, 64 * 2 * 48 - 1, 64 * 2 * 48}) {
        TestSample in(length);
        FillFlat(in.Data(), static_cast<std::size_t>(length), 200);
        TestSample out(320 * 240 * 2);
        FillFlat(out.Data(), 320 * 240 * 2, 99);
        ASSERT_EQ(filter.Transform(&in, &out), S_OK) << length;
        EXPECT_EQ(out.GetActualDataLength(), 153600);
        if (length < 64 * 2 * 48)
            EXPECT_TRUE(AllBlack(out.Bytes())) << "input of " << length << " bytes";
        else
            ExpectPicture(out.Bytes(), 320, 240, 200, 320, 240);
    }

    TestSample in(64 * 48 * 2);
    TestSample small(153600 - 2);
    FillFlat(small.Data(), 153600 - 2, 99);
    EXPECT_EQ(filter.Transform(&in, &small), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(small.Data()[0], 99);
    EXPECT_EQ(small.Data()[153600 - 7], 128);

    TestSample out(153600);
    for (HRESULT* result : {&in.m_syncResult, &in.m_prerollResult, &in.m_discontinuityResult}) {
        *result = E_FAIL;
        EXPECT_EQ(filter.Transform(&in, &out), E_UNEXPECTED);
        *result = S_FALSE;
    }
    in.m_syncResult = S_OK;
    in.m_discontinuityResult = S_OK;
    out.m_prerollResult = S_OK;
    ASSERT_EQ(filter.Transform(&in, &out), S_OK);
    EXPECT_EQ(out.IsSyncPoint(), S_OK);
    EXPECT_EQ(out.IsDiscontinuity(), S_OK);
    EXPECT_EQ(out.IsPreroll(), S_FALSE);
    EXPECT_EQ(filter.Transform(nullptr, &out), E_POINTER);

    FillFlat(in.Data(), 64 * 48 * 2, 50);
    CMediaType shortType = VideoType(64, 48, Block::VideoInfo2, 16, 9);
    shortType.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER2) - 8);
    in.SetMediaType(&shortType);
    ASSERT_EQ(filter.Transform(&in, &out), S_OK);
    ASSERT_NE(out.Type(), nullptr);
    EXPECT_EQ(out.Type()->FormatLength(), sizeof(VIDEOINFOHEADER2) - 8);
    // The short block gave no aspect: the picture still fills the frame.
    ExpectPicture(out.Bytes(), 320, 240, 50, 320, 240);
}

}  // namespace
}  // namespace rftest
