// IResizeSnapshot: stills of the last input frame in YUY2 and bottom-up
// BGR, before and after samples, argument refusals, and one preparation
// per geometry.
#include "resize_graph.h"

namespace rftest {
namespace {

class Snapshot : public FilterTest {};

// Unconnected, the filter has no source size: refused. Connected, before
// any sample: nothing is written, and a null buffer only prepares, once
// per geometry.
TEST_F(Snapshot, BeforeAnySampleWritesNothingAndPreparesOnce)
{
    ResizeGraph g(VideoType(720, 480), 0);
    std::vector<BYTE> still(160 * 120 * 3, 0xEE);
    ULONG written = 12345;
    EXPECT_EQ(g.filter->GetCurrentFrame(still.data(), &written, 160, 120, SNAPSHOT_FORMAT_YUY2, 1), E_FAIL);
    EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, nullptr, 160, 120, SNAPSHOT_FORMAT_YUY2, 1), E_FAIL);
    EXPECT_EQ(g.filter->Reserved(42), S_OK);
    ASSERT_EQ(g.ConnectInput(), S_OK);
    for (LONG format : {SNAPSHOT_FORMAT_YUY2, 0}) {
        EXPECT_EQ(g.filter->GetCurrentFrame(still.data(), &written, 160, 120, format, 1), S_OK);
        EXPECT_EQ(written, 12345u);
        EXPECT_EQ(still[0], 0xEE);
    }
    EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, &written, 160, 120, SNAPSHOT_FORMAT_YUY2, 1), S_OK);
    EXPECT_EQ(written, 12345u);
    EXPECT_EQ(g.filter->SnapshotPreparations(), 1u);
    EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, nullptr, 160, 120, 0, 1), S_OK);
    EXPECT_EQ(g.filter->SnapshotPreparations(), 1u);  // the format is no part of the geometry
    EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, nullptr, 160, 120, 0, 2), S_OK);
    EXPECT_EQ(g.filter->SnapshotPreparations(), 2u);
    EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, nullptr, 162, 120, 0, 2), S_OK);
    EXPECT_EQ(g.filter->SnapshotPreparations(), 3u);
    // The streaming slot was never touched.
    EXPECT_EQ(g.filter->StreamPreparations(), 0u);
}

TEST_F(Snapshot, RefusesBadSizesAndWritesNothing)
{
    ResizeGraph g(VideoType(64, 48), 1);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    std::vector<BYTE> still(64, 0xEE);
    ULONG written = 12345;
    const LONG sizes[][2] = {{161, 120}, {-2, 120}, {0, 120}, {160, 0}, {160, -120}, {65536, 32768}, {-1, -1}};
    for (const auto& size : sizes) {
        EXPECT_EQ(g.filter->GetCurrentFrame(still.data(), &written, size[0], size[1], SNAPSHOT_FORMAT_YUY2, 1),
                  E_INVALIDARG)
            << size[0] << " x " << size[1];
        EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, nullptr, size[0], size[1], 0, 1), E_INVALIDARG);
    }
    // 37838 x 37838 pixels fit 32 bits as YUY2 but not as BGR.
    EXPECT_EQ(g.filter->GetCurrentFrame(nullptr, nullptr, 37838, 37838, 0, 1), E_INVALIDARG);
    EXPECT_EQ(g.filter->GetCurrentFrame(still.data(), nullptr, 16, 2, SNAPSHOT_FORMAT_YUY2, 1), E_POINTER);
    EXPECT_EQ(written, 12345u);
    for (BYTE b : still)
        ASSERT_EQ(b, 0xEE);
    EXPECT_EQ(g.filter->SnapshotPreparations(), 0u);
}

TEST_F(Snapshot, AfterSamplesGivesTheLastFrameResized)
{
    ResizeGraph g(VideoType(720, 480, Block::VideoInfo2, 16, 9), 3);
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    ExpectPicture(Still(*g.filter.Get(), 640, 480, SNAPSHOT_FORMAT_YUY2, RESIZE_MODE_KEEP_ASPECT), 640, 480,
                  ResizeGraph::FrameLuma(2), 640, 360);
    std::vector<BYTE> still = Still(*g.filter.Get(), 160, 120, SNAPSHOT_FORMAT_YUY2, RESIZE_MODE_FIT);
    ExpectPicture(still, 160, 120, ResizeGraph::FrameLuma(2), 160, 120);

    // Stopping frees the kept frame: nothing to take until the next sample.
    ASSERT_EQ(g.graph->Stop(), S_OK);
    ULONG written = 7;
    EXPECT_EQ(g.filter->GetCurrentFrame(still.data(), &written, 160, 120, SNAPSHOT_FORMAT_YUY2, 1), S_OK);
    EXPECT_EQ(written, 7u);
}

// The top half of the frame is Y 16, U 128, V 240 (BGR 16, 0, 173), the
// bottom half black luma with neutral chroma: the BGR still is stored
// bottom line first. Every other colour is the core conversion's model.
TEST_F(Snapshot, BgrStillIsBottomUp)
{
    struct {
        BYTE y, u, v, b, g, r;
    } const c{16, 128, 240, 16, 0, 173};
    const LONG width = 64, height = 48;
    ResizeGraph g(VideoType(width, height), 1, [&](PushFrame& f) {
        const std::size_t half = static_cast<std::size_t>(width) * height;
        FillFlat(f.pData, half, c.y, c.u, c.v);
        FillFlat(f.pData + half, half, 0, 128, 128);
        return S_OK;
    });
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    const auto still = Still(*g.filter.Get(), width, height, 0, RESIZE_MODE_FIT);
    const std::size_t line = width * 3;
    for (LONG r = 0; r < height; ++r) {
        const BYTE* p = &still[line * r];
        const bool top = r >= height / 2;  // memory line r holds picture line height - 1 - r
        for (LONG x = 0; x < width; ++x) {
            ASSERT_EQ(p[3 * x], top ? c.b : 0) << "line " << r << " pixel " << x;
            ASSERT_EQ(p[3 * x + 1], top ? c.g : 0) << "line " << r << " pixel " << x;
            ASSERT_EQ(p[3 * x + 2], top ? c.r : 0) << "line " << r << " pixel " << x;
        }
    }
}

TEST_F(Snapshot, StillOfAShortFrameIsBlack)
{
    ResizeGraph g(VideoType(64, 48), 1, [](PushFrame& f) {
        f.lActual = 64 * 2 * 47;
        return S_OK;
    });
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    EXPECT_TRUE(AllBlack(Still(*g.filter.Get(), 32, 24, SNAPSHOT_FORMAT_YUY2, 1)));
    const auto still = Still(*g.filter.Get(), 32, 24, 0, 1);
    // The resizer's black (Y 0, U and V 127) in BGR.
    for (std::size_t i = 0; i < still.size(); i += 3) {
        ASSERT_EQ(still[i], 0);
        ASSERT_EQ(still[i + 1], 1);
        ASSERT_EQ(still[i + 2], 0);
    }
}

TEST_F(Snapshot, KeptFrameIsLineDoubledInPlaceOnce)
{
    const LONG width = 16, height = 6;
    ResizeGraph g(VideoType(width, height), 1, [&](PushFrame& f) {
        FillLines(f.pData, width, height, [](LONG r) { return static_cast<BYTE>(30 + 10 * r); });
        return S_OK;
    });
    ASSERT_EQ(g.Connect(), S_OK);
    g.RunToEnd();
    for (int call = 0; call < 2; ++call) {
        const auto still = Still(*g.filter.Get(), width, height, SNAPSHOT_FORMAT_YUY2, 1);
        for (LONG r = 0; r < height; ++r)
            EXPECT_EQ(still[width * 2 * r], 30 + 10 * (r & ~1)) << "call " << call << " line " << r;
    }
}

}  // namespace
}  // namespace rftest
