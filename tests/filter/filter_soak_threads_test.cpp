// The filter's soak: one long stream through push source -> resize filter
// -> sample sink while other threads work the filter (settings, policy,
// stills) and the sink releases samples late. TUL_SOAK_FRAMES sets the
// frame count; the default keeps the ordinary sanitizer runs quick, and
// scripts/soak.sh runs 100,000 under ThreadSanitizer. Small frames keep
// the run about the stream machinery rather than pixel work.
#include "tests/filter/filter_users.h"

#include <chrono>
#include <cstdlib>
#include <iostream>

namespace rftest {
namespace {

ULONG SoakFrames()
{
    const char* text = std::getenv("TUL_SOAK_FRAMES");
    const unsigned long frames = text != nullptr ? std::strtoul(text, nullptr, 10) : 0;
    return frames > 0 && frames < 0x7FFFFFFFul ? static_cast<ULONG>(frames) : 3000;
}

class FilterSoak : public FilterTest {};

TEST_F(FilterSoak, EveryFrameArrivesWholeWhileOtherThreadsWorkTheFilter)
{
    const ULONG frames = SoakFrames();
    constexpr LONG kOutWidth = 96, kOutHeight = 64;
    const auto began = std::chrono::steady_clock::now();
    ResizeGraph g(VideoType(64, 48, Block::VideoInfo2, 4, 3, AMINTERLACE_IsInterlaced), static_cast<int>(frames));
    g.keepDelivered = false;
    // One streaming thread delivers in order: the n-th frame is timed from
    // n * 1000 and shows input n whole, so none is lost, repeated or torn.
    // Field filling works in place, so every input gives one output frame.
    ULONG delivered = 0;
    std::atomic<ULONG> wrong{0};
    g.onDelivered = [&](const Delivered& d) {
        if (d.start != static_cast<REFERENCE_TIME>(delivered) * 1000 ||
            d.bytes.size() != static_cast<std::size_t>(kOutWidth * kOutHeight * 2) ||
            UniformLuma(d.bytes.data(), d.bytes.size()) != ResizeGraph::FrameLuma(delivered))
            ++wrong;
        ++delivered;
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
    ASSERT_EQ(g.graph->Run(), S_OK);
    LONG code = 0;
    EXPECT_EQ(g.graph->WaitForCompletion(INFINITE_WAIT, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    users.Stop();
    EXPECT_EQ(g.graph->Stop(), S_OK);
    releaser.Drain();

    EXPECT_EQ(g.source->FramesDelivered(), frames);
    EXPECT_EQ(static_cast<ULONG>(g.sink->SamplesReceived()), frames);
    EXPECT_EQ(delivered, frames);
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(users.badSettings, 0);
    EXPECT_EQ(users.badStills, 0);
    // Every sample of both connections is back; the objects themselves are
    // counted when the graph is gone (FilterTest).
    for (IMemAllocator* a : {static_cast<CBaseOutputPin*>(g.source->GetPin(0))->Allocator(),
                             static_cast<CBaseOutputPin*>(g.filter->GetPin(1))->Allocator()})
        EXPECT_EQ(static_cast<CMemAllocator*>(a)->OutstandingCount(), 0);

    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    std::cout << "soak: " << g.source->FramesDelivered() << " frames in, " << delivered << " delivered, "
              << wrong << " wrong; threads: streaming + " << FilterUsers::kThreads << " users + late releaser; "
              << users.settingsChanges << " settings changes, " << users.policyFlips << " policy flips, "
              << users.stills << " snapshots; " << took.count() << " s\n";
}

}  // namespace
}  // namespace rftest
