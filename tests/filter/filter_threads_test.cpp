// The resize filter under concurrent use: frames stream while other
// threads change settings, flip the lock-free policy and take snapshots,
// across stop and run. Every delivered frame and every still must be a
// whole resize of one input frame. Run under ThreadSanitizer.
#include "resize_graph.h"

#include <atomic>
#include <thread>

namespace rftest {
namespace {

// A frame resized from a flat input of luma y: every luma is 0 (black
// margin) or y, every chroma 127 (black) or 128. Returns y, or -1 for a
// frame that mixes inputs or is torn; 0 for an all-black frame.
int UniformLuma(const BYTE* frame, std::size_t bytes)
{
    int luma = 0;
    for (std::size_t i = 0; i < bytes; i += 2) {
        const BYTE y = frame[i];
        const BYTE c = frame[i + 1];
        if (c != 127 && c != 128)
            return -1;
        if (y == 0)
            continue;
        if (luma == 0)
            luma = y;
        else if (y != luma)
            return -1;
    }
    return luma;
}

bool IsInputLuma(int luma)
{
    for (ULONG i = 0; i < 220; ++i)
        if (ResizeGraph::FrameLuma(i) == luma)
            return true;
    return false;
}

class FilterThreads : public FilterTest {};

TEST_F(FilterThreads, SettingsAndSnapshotsNeverTearAFrame)
{
    constexpr int kFrames = 120;
    constexpr LONG kWidth = 176, kHeight = 144, kOutWidth = 88, kOutHeight = 72;
    ResizeGraph g(VideoType(kWidth, kHeight, Block::VideoInfo2, 4, 3, AMINTERLACE_IsInterlaced), kFrames);
    std::atomic<int> deliveredFrames{0};
    std::atomic<int> tornFrames{0};
    g.onDelivered = [&](const Delivered& d) {
        const int index = deliveredFrames++;
        const int luma = UniformLuma(d.bytes.data(), d.bytes.size());
        if (d.bytes.size() != static_cast<std::size_t>(kOutWidth * kOutHeight * 2) ||
            luma != ResizeGraph::FrameLuma(static_cast<ULONG>(index % kFrames)))
            ++tornFrames;
    };
    ComPtr<IResizeSettings> settings;
    ComPtr<IResizeSnapshot> snapshot;
    ASSERT_EQ(g.filter.As(IID_IResizeSettings, &settings), S_OK);
    ASSERT_EQ(g.filter.As(IID_IResizeSnapshot, &snapshot), S_OK);
    ASSERT_EQ(settings->SetOutputSize(kOutWidth, kOutHeight), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);

    std::atomic<bool> done{false};
    std::atomic<int> badSettings{0};
    std::atomic<int> badStills{0};
    std::thread settingsThread([&] {
        for (LONG i = 0; !done; ++i) {
            LONG w = 0, h = 0, mode = 0;
            BOOL canChange = TRUE;
            if (settings->SetResizeMode(i % 3 == 0 ? RESIZE_MODE_KEEP_ASPECT : RESIZE_MODE_FIT) != S_OK ||
                settings->SetOutputAspectRatio(1 + i % 5, 1 + i % 3) != S_OK ||
                settings->SetDeinterlaceMethod(i % 3) != S_OK || settings->SetBackgroundColor(i) != S_OK ||
                settings->SetOutputSize(640, 480) != S_FALSE || settings->GetResizeMode(&mode) != S_OK ||
                settings->GetOutputSize(&w, &h, &canChange) != S_OK || w != kOutWidth || canChange != FALSE)
                ++badSettings;
            std::this_thread::yield();
        }
    });
    std::thread policyThread([&] {
        for (LONG i = 0; !done; ++i) {
            LONG policy = -1;
            settings->SetDeinterlacePolicy(i % 4);
            settings->GetDeinterlacePolicy(&policy);
            if (policy < 0 || policy > 3)
                ++badSettings;
            std::this_thread::yield();
        }
    });
    std::thread snapshotThread([&] {
        std::vector<BYTE> still(160 * 120 * 3);
        for (LONG i = 0; !done; ++i) {
            const LONG width = i % 2 == 0 ? 160 : 64;
            const LONG height = i % 2 == 0 ? 120 : 48;
            const LONG format = i % 4 < 2 ? SNAPSHOT_FORMAT_YUY2 : 0;
            ULONG written = 0;
            const HRESULT hr = snapshot->GetCurrentFrame(still.data(), &written, width, height, format,
                                                         i % 3 == 0 ? RESIZE_MODE_KEEP_ASPECT : RESIZE_MODE_FIT);
            if (hr != S_OK) {
                ++badStills;
            } else if (written != 0 && format == SNAPSHOT_FORMAT_YUY2) {
                const int luma = UniformLuma(still.data(), written);
                if (written != static_cast<ULONG>(width * height * 2) || !IsInputLuma(luma))
                    ++badStills;
            }
            std::this_thread::yield();
        }
    });

    for (int cycle = 0; cycle < 2; ++cycle) {
        EXPECT_EQ(g.RunToEnd(), EC_COMPLETE) << "cycle " << cycle;
        EXPECT_EQ(g.graph->Stop(), S_OK);
    }
    done = true;
    settingsThread.join();
    policyThread.join();
    snapshotThread.join();

    EXPECT_EQ(deliveredFrames, 2 * kFrames);
    EXPECT_EQ(tornFrames, 0);
    EXPECT_EQ(badSettings, 0);
    EXPECT_EQ(badStills, 0);
    // Preparations follow geometry changes (the mode), never every frame
    // by themselves; and the stream's slot was never disturbed by stills.
    EXPECT_LE(g.filter->StreamPreparations(), static_cast<ULONG>(2 * kFrames));
}

}  // namespace
}  // namespace rftest
