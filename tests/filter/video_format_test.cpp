// The format-block readers behind negotiation: sizes from headers that
// describe no picture, aspect terms that cannot be divided by, and the
// black fill of frames of any length.
#include "resize_graph.h"

#include "filter/frame_bytes.h"
#include "filter/video_format.h"

#include <climits>

namespace rftest {
namespace {

TEST(VideoFormat, SourceSizeTakesTheHeightsMagnitude)
{
    LONG w = 0, h = 0;
    CMediaType bottomUp = VideoType(720, 480);
    ASSERT_TRUE(tulfilter::SourceSizeOf(bottomUp, &w, &h));
    EXPECT_EQ(h, 480);
    CMediaType topDown = VideoType(720, -486, Block::VideoInfo2);
    ASSERT_TRUE(tulfilter::SourceSizeOf(topDown, &w, &h));
    EXPECT_EQ(w, 720);
    EXPECT_EQ(h, 486);
    // -INT_MIN does not exist in 32 bits: no size at all.
    w = h = 7;
    CMediaType unnegatable = VideoType(720, INT_MIN);
    EXPECT_FALSE(tulfilter::SourceSizeOf(unnegatable, &w, &h));
    EXPECT_EQ(w, 7);
    CMediaType shortBlock = VideoType(720, 480);
    shortBlock.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER) - 1);
    EXPECT_FALSE(tulfilter::SourceSizeOf(shortBlock, &w, &h));
}

TEST(VideoFormat, AspectTermsThatCannotBeDividedByStandForOneToOne)
{
    struct Case {
        DWORD x, y;
        LONG expectX, expectY;
    };
    for (const Case& c : {Case{16, 9, 16, 9}, Case{0, 9, 1, 1}, Case{16, 0, 1, 1}, Case{0, 0, 1, 1},
                          Case{0x80000000u, 9, 1, 1}, Case{0x7FFFFFFFu, 1, 0x7FFFFFFF, 1}}) {
        CMediaType type = VideoType(720, 480, Block::VideoInfo2, c.x, c.y, AMINTERLACE_IsInterlaced);
        tulfilter::SourceShape shape{};
        ASSERT_TRUE(tulfilter::SourceShapeOf(type, &shape));
        EXPECT_EQ(shape.aspectX, c.expectX) << c.x << ":" << c.y;
        EXPECT_EQ(shape.aspectY, c.expectY) << c.x << ":" << c.y;
        EXPECT_TRUE(shape.interlaced);
    }
    tulfilter::SourceShape shape{};
    CMediaType plain = VideoType(720, 480);
    EXPECT_FALSE(tulfilter::SourceShapeOf(plain, &shape));
}

TEST(VideoFormat, BlackFillCoversEveryByteAndNoMore)
{
    for (std::size_t bytes : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 640u, 153600u}) {
        std::vector<BYTE> frame(bytes + 4, 0xEE);
        tulfilter::PaintBlackYuy2(frame.data(), bytes);
        for (std::size_t i = 0; i < bytes; ++i)
            ASSERT_EQ(frame[i], i % 2 == 0 ? 0x00 : 0x7F) << bytes << " bytes, byte " << i;
        for (std::size_t i = bytes; i < frame.size(); ++i)
            ASSERT_EQ(frame[i], 0xEE) << bytes << " bytes, guard " << i;
    }
}

TEST(VideoFormat, FrameByteCountsRefuseWhatTheyCannotHold)
{
    EXPECT_EQ(tulfilter::FrameBytes(320, 240, 2, tulfilter::kMaxOutputFrameBytes), 153600u);
    EXPECT_EQ(tulfilter::FrameBytes(0, 240, 2, UINT32_MAX), 0u);
    EXPECT_EQ(tulfilter::FrameBytes(320, -1, 2, UINT32_MAX), 0u);
    EXPECT_EQ(tulfilter::FrameBytes(INT_MAX, INT_MAX, 3, UINT32_MAX), 0u);
    // Odd widths: the resizer reads rows padded to whole words.
    EXPECT_EQ(tulfilter::ResizerSourceBytes(3, 2), 16u);
    EXPECT_EQ(tulfilter::ResizerSourceBytes(4, 2), 16u);
    EXPECT_EQ(tulfilter::ResizerSourceBytes(-4, 2), 0u);
    EXPECT_EQ(tulfilter::ResizerSourceBytes(INT_MAX, INT_MAX), (std::uint64_t{INT_MAX} * 2 + 2) * INT_MAX);
}

}  // namespace
}  // namespace rftest
