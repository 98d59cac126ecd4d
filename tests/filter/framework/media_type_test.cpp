// CMediaType ownership, comparison and typed views of format blocks.
#include "test_filters.h"

namespace fwtest {
namespace {

class MediaType : public FrameworkTest {};

TEST_F(MediaType, CopiesOwnTheirFormatBlocksAndMalformedOnesAreEmpty)
{
    CMediaType a = Yuy2Type(10, 20, true);
    CMediaType b(a);
    EXPECT_NE(a.Format(), b.Format());
    EXPECT_TRUE(a == b);
    VideoInfo2Of(b)->bmiHeader.biWidth = 11;
    EXPECT_TRUE(a != b);
    b = a;
    EXPECT_TRUE(a == b);
    b = b;  // self-assignment keeps the block
    EXPECT_TRUE(a == b);
    CMediaType c;
    EXPECT_FALSE(c.IsValid());
    c = static_cast<const AM_MEDIA_TYPE&>(a);
    EXPECT_TRUE(c == a);
    EXPECT_TRUE(c.IsValid());
    // A malformed source leaves an empty type.
    AM_MEDIA_TYPE bad{};
    bad.majortype = MEDIATYPE_Video;
    bad.cbFormat = 40;
    HRESULT hr = S_OK;
    CMediaType mt(bad, &hr);
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_FALSE(mt.IsValid());
    EXPECT_EQ(mt.Format(), nullptr);
    EXPECT_EQ(mt.FormatLength(), 0u);
}

TEST_F(MediaType, FormatBufferHelpers)
{
    CMediaType mt;
    BYTE* block = mt.AllocFormatBuffer(8);
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(block[i], 0);
    block[0] = 7;
    block = mt.ReallocFormatBuffer(16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[0], 7);
    EXPECT_EQ(block[15], 0);
    EXPECT_EQ(mt.FormatLength(), 16u);
    const BYTE bytes[3] = {1, 2, 3};
    EXPECT_TRUE(mt.SetFormat(bytes, 3));
    EXPECT_EQ(mt.FormatLength(), 3u);
    EXPECT_EQ(mt.Format()[2], 3);
    EXPECT_FALSE(mt.SetFormat(nullptr, 3));
    mt.ResetFormatBuffer();
    EXPECT_EQ(mt.Format(), nullptr);
    EXPECT_EQ(mt.AllocFormatBuffer(0), nullptr);
}

TEST_F(MediaType, PartialMatchingAndTypedViews)
{
    const CMediaType full = Yuy2Type(4, 4);
    CMediaType partial;
    EXPECT_TRUE(partial.IsPartiallySpecified());
    EXPECT_TRUE(full.MatchesPartial(&partial));
    partial.SetType(&MEDIATYPE_Video);
    EXPECT_TRUE(full.MatchesPartial(&partial));
    partial.SetSubtype(&FORMAT_VideoInfo);  // a wrong subtype
    EXPECT_FALSE(full.MatchesPartial(&partial));
    EXPECT_FALSE(full.IsPartiallySpecified());
    EXPECT_FALSE(full.MatchesPartial(nullptr));

    // Typed views need the right format and length.
    CMediaType vi = Yuy2Type(4, 4);
    EXPECT_NE(VideoInfoOf(vi), nullptr);
    EXPECT_EQ(VideoInfo2Of(vi), nullptr);
    EXPECT_EQ(BitmapHeaderOf(vi)->biWidth, 4);
    vi.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER) - 1);
    EXPECT_EQ(VideoInfoOf(vi), nullptr);
    EXPECT_EQ(BitmapHeaderOf(vi), nullptr);
    CMediaType vi2 = Yuy2Type(4, 4, true);
    EXPECT_EQ(VideoInfoOf(vi2), nullptr);
    EXPECT_EQ(VideoInfo2Of(vi2)->dwPictAspectRatioX, 4u);
    EXPECT_EQ(BitmapHeaderOf(vi2)->biHeight, 4);
    vi2.SetFormatType(&GUID_NULL);
    EXPECT_EQ(BitmapHeaderOf(vi2), nullptr);
}

}  // namespace
}  // namespace fwtest
