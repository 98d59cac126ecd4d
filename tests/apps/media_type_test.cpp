// The type the source offers the filter: picture aspect from the Y4M
// pixel aspect, interlace flags from the I tag, frame duration from F.
#include "apps/tulrezzo/resize_graph.h"
#include "apps/tulrezzo/y4m_header.h"

#include <gtest/gtest.h>

#include <limits>

namespace tulrezzo {
namespace {

TEST(SourceMediaType, Y4mTagsBecomeVideoInfoHeader2AndFieldFlags)
{
    const StreamInfo info = ParseY4mHeader("YUV4MPEG2 W720 H480 F30000:1001 It A8:9 C422");
    const CMediaType mt = Yuy2MediaType(info);
    EXPECT_TRUE(IsEqualGUID(*mt.Type(), MEDIATYPE_Video));
    EXPECT_TRUE(IsEqualGUID(*mt.Subtype(), MEDIASUBTYPE_YUY2));
    const VIDEOINFOHEADER2* vih = VideoInfo2Of(mt);
    ASSERT_NE(vih, nullptr);
    EXPECT_EQ(vih->dwPictAspectRatioX, 4u);
    EXPECT_EQ(vih->dwPictAspectRatioY, 3u);
    EXPECT_EQ(vih->dwInterlaceFlags, AMINTERLACE_IsInterlaced | AMINTERLACE_Field1First);
    EXPECT_EQ(vih->AvgTimePerFrame, 333666);
    EXPECT_EQ(vih->bmiHeader.biWidth, 720);
    EXPECT_EQ(vih->bmiHeader.biHeight, 480);
    EXPECT_EQ(vih->bmiHeader.biBitCount, 16);
    EXPECT_EQ(vih->bmiHeader.biSizeImage, 720u * 480 * 2);
    EXPECT_EQ(mt.GetSampleSize(), 720u * 480 * 2);
    // Bottom field first, mixed, and the progressive tags.
    auto flags = [](const char* header) { return VideoInfo2Of(Yuy2MediaType(ParseY4mHeader(header)))->dwInterlaceFlags; };
    EXPECT_EQ(flags("YUV4MPEG2 W8 H4 F25:1 Ib C422"), AMINTERLACE_IsInterlaced);
    EXPECT_EQ(flags("YUV4MPEG2 W8 H4 F25:1 Im C422") & AMINTERLACE_IsInterlaced, AMINTERLACE_IsInterlaced);
    EXPECT_EQ(flags("YUV4MPEG2 W8 H4 F25:1 Ip C422"), 0u);
    EXPECT_EQ(flags("YUV4MPEG2 W8 H4 F25:1 I? C422"), 0u);
    EXPECT_EQ(flags("YUV4MPEG2 W8 H4 F25:1 C422"), 0u);
}

TEST(SourceMediaType, FrameTimesStayInRange)
{
    EXPECT_EQ(FrameStart(0, {25, 1}), 0);
    EXPECT_EQ(FrameStart(25, {25, 1}), UNITS);
    EXPECT_EQ(FrameStart(3, {30000, 1001}), 1001000);
    EXPECT_EQ(FrameStart(1, {30000, 1001}), 333666);  // truncated, not rounded
    // 2^32 frames of 2^31 seconds each pass 64 bits: held at a limit.
    EXPECT_EQ(FrameStart(0xFFFFFFFFu, {1, 0x7FFFFFFF}), std::numeric_limits<REFERENCE_TIME>::max() / 2);
}

TEST(SourceMediaType, FailureCodesAreReadable)
{
    EXPECT_EQ(HresultText(E_OUTOFMEMORY), "0x8007000E (out of memory)");
    EXPECT_EQ(HresultText(static_cast<HRESULT>(0x80001234)), "0x80001234");
}

}  // namespace
}  // namespace tulrezzo
