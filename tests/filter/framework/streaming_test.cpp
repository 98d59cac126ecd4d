// Streaming through source -> transform -> sink: data, times, flags and
// format changes reach the output; failures stop delivery; stops mid-stream,
// pauses and flushes leave the graph usable. Repeated whole runs are the
// filter stack's threaded stress test.
#include "test_filters.h"

namespace fwtest {
namespace {

class Streaming : public FrameworkTest {};

LONG RunToCompletion(Pipeline& p)
{
    const LONG code = p.RunToEnd();
    EXPECT_EQ(p.graph->Stop(), S_OK);
    return code;
}

struct Size {
    LONG width;
    LONG height;
    bool videoInfo2;
};

class StreamingSizes : public Streaming, public ::testing::WithParamInterface<Size> {};

TEST_P(StreamingSizes, EveryFrameArrivesInvertedWithItsTimesAndFlags)
{
    const Size size = GetParam();
    Pipeline p(Yuy2Type(size.width, size.height, size.videoInfo2), 7);
    ASSERT_EQ(p.Connect(), S_OK);
    p.filter->TakeLog();
    EXPECT_EQ(RunToCompletion(p), EC_COMPLETE);
    // The streaming hooks bracket the transforms.
    EXPECT_EQ(p.filter->TakeLog(), (std::vector<std::string>{"StartStreaming", "StopStreaming"}));
    EXPECT_EQ(p.filter->transforms, 7);

    const auto got = p.Take();
    ASSERT_EQ(got.size(), 7u);
    const LONG frame = size.width * size.height * 2;
    for (ULONG i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].bytes.size(), static_cast<std::size_t>(frame)) << "frame " << i;
        for (LONG b = 0; b < frame; ++b)
            ASSERT_EQ(got[i].bytes[b], static_cast<BYTE>(~FrameByte(i, b))) << "frame " << i << " byte " << b;
        EXPECT_EQ(got[i].timeResult, S_OK);
        EXPECT_EQ(got[i].start, static_cast<REFERENCE_TIME>(i) * 1000);
        EXPECT_EQ(got[i].stop, static_cast<REFERENCE_TIME>(i) * 1000 + 1000);
        EXPECT_EQ(got[i].sync, i % 3 == 0) << "frame " << i;
        EXPECT_FALSE(got[i].discontinuity);
        EXPECT_FALSE(got[i].hasType);
    }
    EXPECT_EQ(p.sink->EndOfStreamCount(), 1);
    EXPECT_EQ(p.source->FramesDelivered(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, StreamingSizes,
                         ::testing::Values(Size{1, 1, false}, Size{2, 2, true}, Size{3, 5, false},
                                           Size{64, 48, true}, Size{720, 480, false}));

TEST_F(Streaming, PartialTimesFlagsAndFormatChangesPassThrough)
{
    const CMediaType changed = Yuy2Type(8, 8, true);
    Pipeline p(Yuy2Type(8, 8), 4, [&](PushFrame& f) {
        f.hasStart = f.index != 3;
        f.hasStop = f.index != 1 && f.index != 3;
        f.discontinuity = f.index == 2;
        f.preroll = f.index == 0;
        f.hasMediaType = f.index == 1;
        if (f.hasMediaType)
            f.mediaType = changed;
    });
    ASSERT_EQ(p.Connect(), S_OK);
    RunToCompletion(p);
    const auto got = p.Take();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[1].timeResult, VFW_S_NO_STOP_TIME);
    EXPECT_EQ(got[1].start, 1000);
    EXPECT_EQ(got[3].timeResult, VFW_E_SAMPLE_TIME_NOT_SET);
    EXPECT_TRUE(got[0].preroll);
    EXPECT_FALSE(got[1].preroll);
    EXPECT_TRUE(got[2].discontinuity);
    EXPECT_FALSE(got[1].discontinuity);
    EXPECT_FALSE(got[0].hasType);
    ASSERT_TRUE(got[1].hasType);
    EXPECT_TRUE(got[1].type == changed);
    // Samples go back to the allocator clean: no type on the next one.
    EXPECT_FALSE(got[2].hasType);
}

TEST_F(Streaming, UnacceptableFormatChangeIsRefusedAndAbortsTheStream)
{
    Pipeline p(Yuy2Type(8, 8), 3, [](PushFrame& f) {
        if (f.index == 1) {
            f.hasMediaType = true;
            f.mediaType = Yuy2Type(8, 8, false, 24);
        }
    });
    ASSERT_EQ(p.Connect(), S_OK);
    EXPECT_EQ(RunToCompletion(p), EC_ERRORABORT);
    EXPECT_EQ(p.graph->LastAbortCode(), VFW_E_INVALIDMEDIATYPE);
    EXPECT_EQ(p.Take().size(), 1u);
}

// A skipped sample is dropped and marks the next one a discontinuity; a
// failed transform delivers nothing of its sample and aborts the stream.
TEST_F(Streaming, SkippedSampleIsDroppedAndFailureAbortsTheStream)
{
    Pipeline p(Yuy2Type(8, 8), 6);
    p.filter->skipAt = 1;
    p.filter->failAt = 4;
    ASSERT_EQ(p.Connect(), S_OK);
    EXPECT_EQ(RunToCompletion(p), EC_ERRORABORT);
    EXPECT_EQ(p.graph->LastAbortCode(), E_FAIL);
    EXPECT_EQ(p.source->StreamResult(), E_FAIL);
    const auto got = p.Take();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].start, 2000);
    EXPECT_TRUE(got[1].discontinuity);
    EXPECT_FALSE(got[2].discontinuity);
    EXPECT_EQ(got[2].start, 3000);
}

TEST_F(Streaming, StartStreamingFailureLeavesTheGraphStoppedAndPauseHoldsTheStream)
{
    Pipeline p(Yuy2Type(8, 8), 2);
    p.filter->startResult = E_OUTOFMEMORY;
    ASSERT_EQ(p.Connect(), S_OK);
    EXPECT_EQ(p.graph->Run(), E_OUTOFMEMORY);
    FILTER_STATE state;
    p.graph->GetState(&state);
    EXPECT_EQ(state, State_Stopped);
    p.source->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    // Pausing holds the stream: the source waits for Run.
    p.filter->startResult = S_OK;
    ASSERT_EQ(p.graph->Pause(), S_OK);
    p.graph->GetState(&state);
    EXPECT_EQ(state, State_Paused);
    EXPECT_EQ(p.sink->SamplesReceived(), 0);
    EXPECT_EQ(p.RunToEnd(), EC_COMPLETE);
    EXPECT_EQ(p.graph->Pause(), S_OK);
    EXPECT_EQ(p.graph->Stop(), S_OK);
    EXPECT_EQ(p.Take().size(), 2u);
}

TEST_F(Streaming, FlushAndStopMidStreamAndReleasingTheGraphStopsIt)
{
    Pipeline p(Yuy2Type(32, 32), -1);
    ASSERT_EQ(p.Connect(), S_OK);
    for (int cycle = 0; cycle < 3; ++cycle) {
        ASSERT_EQ(p.graph->Run(), S_OK);
        // A flush while running leaves the stream going.
        while (p.sink->SamplesReceived() < 5 * (cycle + 1))
            std::this_thread::yield();
        EXPECT_EQ(p.graph->Flush(), S_OK);
        const LONG after = p.sink->SamplesReceived();
        while (p.sink->SamplesReceived() < after + 2)
            std::this_thread::yield();
        EXPECT_FALSE(p.filter->Input()->IsFlushing());
        ASSERT_EQ(p.graph->Stop(), S_OK);
        EXPECT_EQ(static_cast<CMemAllocator*>(p.filter->Output()->Allocator())->OutstandingCount(), 0);
        EXPECT_EQ(static_cast<CMemAllocator*>(p.filter->Input()->Allocator())->OutstandingCount(), 0);
        EXPECT_EQ(p.source->StreamResult(), S_OK);
    }
    LONG code = 0;
    EXPECT_EQ(p.graph->WaitForCompletion(0, &code), VFW_E_WRONG_STATE);

    // Releasing a running graph stops and disconnects everything.
    ASSERT_EQ(p.graph->Run(), S_OK);
    const LONG running = p.sink->SamplesReceived() + 3;
    while (p.sink->SamplesReceived() < running)
        std::this_thread::yield();
    p.graph.Reset();
    FILTER_STATE state;
    p.source->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_FALSE(p.filter->Input()->IsConnected());
    EXPECT_FALSE(p.sink->GetPin(0)->IsConnected());
    FILTER_INFO info{};
    ASSERT_EQ(p.sink->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr);
}

TEST_F(Streaming, SinkHoldingSamplesDoesNotBlockStop)
{
    std::vector<IMediaSample*> held;
    Pipeline p(Yuy2Type(8, 8), -1);
    ASSERT_EQ(p.Connect(), S_OK);
    // Keep every sample the sink sees: the transform soon runs out of buffers.
    CSampleSink* keeper = nullptr;
    ASSERT_EQ(p.graph->RemoveFilter(p.sink.Get()), S_OK);
    ASSERT_EQ(CSampleSink::Create(
                  [&](IMediaSample* s) {
                      s->AddRef();
                      held.push_back(s);
                      return S_OK;
                  },
                  &keeper),
              S_OK);
    ASSERT_EQ(p.graph->AddFilter(keeper, L"keeper"), S_OK);
    ASSERT_EQ(p.graph->ConnectFilters(p.filter.Get(), keeper), S_OK);
    ASSERT_EQ(p.graph->Run(), S_OK);
    while (keeper->SamplesReceived() < 3)
        std::this_thread::yield();
    ASSERT_EQ(p.graph->Stop(), S_OK);
    EXPECT_EQ(held.size(), 3u);
    for (IMediaSample* s : held)
        s->Release();
    EXPECT_EQ(static_cast<CMemAllocator*>(p.filter->Output()->Allocator())->OutstandingCount(), 0);
    ASSERT_EQ(p.graph->RemoveFilter(keeper), S_OK);
    keeper->Release();
}

TEST_F(Streaming, InputPinRefusesSamplesWhenStoppedFlushingOrOverlong)
{
    Pipeline p(Yuy2Type(8, 8), 0);
    ASSERT_EQ(p.Connect(), S_OK);
    TestSample sample(256);
    IMemInputPin* input = p.filter->Input();
    EXPECT_EQ(input->Receive(&sample), VFW_E_WRONG_STATE);
    EXPECT_EQ(input->Receive(nullptr), E_POINTER);
    ASSERT_EQ(p.graph->Pause(), S_OK);
    p.filter->Input()->BeginFlush();
    EXPECT_EQ(input->Receive(&sample), S_FALSE);
    p.filter->Input()->EndFlush();
    // A sample claiming more data than its buffer holds.
    sample.m_claimedExtra = 1;
    EXPECT_EQ(input->Receive(&sample), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(p.filter->transforms, 0);
    EXPECT_EQ(p.graph->Stop(), S_OK);
}

TEST_F(Streaming, UnconnectedInputSendsEndOfStreamOnPause)
{
    Pipeline p(Yuy2Type(8, 8), 0);
    ASSERT_EQ(p.graph->ConnectFilters(p.source.Get(), p.filter.Get()), S_OK);
    ASSERT_EQ(p.graph->ConnectFilters(p.filter.Get(), p.sink.Get()), S_OK);
    ASSERT_EQ(p.graph->Disconnect(p.filter->Input()), S_OK);
    ASSERT_EQ(p.graph->Disconnect(p.source->GetPin(0)), S_OK);
    EXPECT_EQ(RunToCompletion(p), EC_COMPLETE);
}

}  // namespace
}  // namespace fwtest
