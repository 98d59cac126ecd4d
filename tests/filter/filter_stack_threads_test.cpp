// The filter stack under concurrent use, for ThreadSanitizer. The resize
// filter streams on the source's thread while other threads change its
// settings, flip the lock-free policy, take snapshots and release
// delivered samples late, across whole runs and runs cut short by
// a pause, a flush and a stop that ends another thread's wait. Then
// tulrezzo's run, whose main thread draws progress and takes the snapshot
// while the graph streams. Every frame and still must be a whole resize
// of one input frame.
#include "apps/tulrezzo/resize_job.h"
#include "tests/apps/tulrezzo_files.h"
#include "tests/filter/filter_users.h"

#include <sstream>

namespace rftest {
namespace {

class FilterStackThreads : public FilterTest {};

TEST_F(FilterStackThreads, ResizeFilterStreamsWhileEverythingElseHappens)
{
    constexpr ULONG kFrames = 60;
    constexpr LONG kOutWidth = 88, kOutHeight = 72;
    std::atomic<ULONG> limit{kFrames};
    ResizeGraph g(VideoType(176, 144, Block::VideoInfo2, 4, 3, AMINTERLACE_IsInterlaced), -1,
                  [&](PushFrame& f) { return f.index < limit ? S_OK : S_FALSE; });
    std::atomic<int> deliveredFrames{0};
    std::atomic<int> tornFrames{0};
    g.onDelivered = [&](const Delivered& d) {
        ++deliveredFrames;
        // Frame i starts at i * 1000: it must show input frame i whole.
        if (d.bytes.size() != static_cast<std::size_t>(kOutWidth * kOutHeight * 2) ||
            UniformLuma(d.bytes.data(), d.bytes.size()) != ResizeGraph::FrameLuma(static_cast<ULONG>(d.start / 1000)))
            ++tornFrames;
    };
    LateReleaser releaser;
    g.onSample = [&](IMediaSample* s) { releaser.Keep(s); };
    ComPtr<IResizeSettings> settings;
    ComPtr<IResizeSnapshot> snapshot;
    ASSERT_EQ(g.filter.As(IID_IResizeSettings, &settings), S_OK);
    ASSERT_EQ(g.filter.As(IID_IResizeSnapshot, &snapshot), S_OK);
    ASSERT_EQ(settings->SetOutputSize(kOutWidth, kOutHeight), S_OK);
    ASSERT_EQ(g.Connect(), S_OK);

    FilterUsers users(settings.Get(), snapshot.Get(), kOutWidth);

    auto* output = static_cast<CMemAllocator*>(static_cast<CBaseOutputPin*>(g.filter->GetPin(1))->Allocator());
    for (int cycle = 0; cycle < 6; ++cycle) {
        if (cycle % 2 == 0) {
            limit = kFrames;
            EXPECT_EQ(g.RunToEnd(), EC_COMPLETE) << "cycle " << cycle;
            EXPECT_EQ(g.graph->Stop(), S_OK);
            EXPECT_EQ(g.Take().size(), kFrames) << "cycle " << cycle;
        } else {
            limit = 0xFFFFFFFFu;
            ASSERT_EQ(g.graph->Run(), S_OK);
            HRESULT waited = S_OK;
            std::thread waiter([&] {
                LONG code = 0;
                waited = g.graph->WaitForCompletion(INFINITE_WAIT, &code);
            });
            const LONG target = g.sink->SamplesReceived() + 3;
            while (g.sink->SamplesReceived() < target)
                std::this_thread::yield();
            ASSERT_EQ(g.graph->Pause(), S_OK);
            ASSERT_EQ(g.graph->Run(), S_OK);
            EXPECT_EQ(g.graph->Flush(), S_OK);
            ASSERT_EQ(g.graph->Stop(), S_OK);
            waiter.join();
            EXPECT_EQ(waited, VFW_E_WRONG_STATE);
            g.Take();
        }
        releaser.Drain();
        EXPECT_EQ(output->OutstandingCount(), 0) << "cycle " << cycle;
    }
    users.Stop();

    EXPECT_EQ(tornFrames, 0);
    EXPECT_EQ(users.badSettings, 0);
    EXPECT_EQ(users.badStills, 0);
    // Preparations follow geometry changes (the mode), never every frame
    // by themselves; and the stream's slot was never disturbed by stills.
    EXPECT_LE(g.filter->StreamPreparations(), static_cast<ULONG>(deliveredFrames));
}

TEST_F(FilterStackThreads, TulrezzoRunReportsWhileItStreams)
{
    using namespace tulrezzotest;
    ScratchDir dir;
    Bytes raw;
    for (int i = 0; i < 40; ++i)
        Append(raw, FlatYuy2(32, 16, static_cast<unsigned char>(16 + i), 128, 128));
    WriteFile(dir / "in.yuv", raw);
    tulrezzo::ResizeOptions o;
    o.inputKind = tulrezzo::InputKind::Raw;
    o.input = dir / "in.yuv";
    o.inputSize = {32, 16};
    o.rate = {25, 1};
    o.interlaced = true;
    o.method = FIELD_FILL_DOUBLE;
    o.output = dir / "out.y4m";
    o.size = o.snapshotSize = {16, 16};
    o.snapshot = dir / "s.bmp";
    std::ostringstream err;
    EXPECT_EQ(tulrezzo::RunResize(o, err, true), 0) << err.str();
    const Y4mFile out = ReadY4m(ReadFile(o.output), 16, 16);
    ASSERT_EQ(out.frames.size(), 40u);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(out.frames[i], FlatYuy2(16, 16, static_cast<unsigned char>(16 + i), 128, 128)) << i;
    EXPECT_EQ(ReadFile(o.snapshot).size(), 54u + 48 * 16);

    // A write failure on the streaming thread ends the run with its message.
    if (std::filesystem::exists("/dev/full")) {
        o.outputKind = tulrezzo::OutputKind::Raw;
        o.output = "/dev/full";
        o.snapshot.clear();
        err.str("");
        EXPECT_EQ(tulrezzo::RunResize(o, err, false), 1);
        EXPECT_NE(err.str().find("No space left on device"), std::string::npos) << err.str();
    }
}

}  // namespace
}  // namespace rftest
