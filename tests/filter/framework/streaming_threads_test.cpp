// Streaming under concurrency: the source thread pushes while other
// threads query pins and filters, release samples, and stop and restart
// the graph. Meant for the ThreadSanitizer build.
#include "test_filters.h"

#include <condition_variable>
#include <deque>
#include <thread>

namespace fwtest {
namespace {

class StreamingThreads : public FrameworkTest {};

void QueryEverything(Pipeline& p, std::atomic<bool>& done)
{
    while (!done) {
        FILTER_STATE state;
        p.graph->GetState(&state);
        p.filter->GetState(0, &state);
        p.source->GetState(0, &state);
        IPin* peer = nullptr;
        if (p.filter->Input()->ConnectedTo(&peer) == S_OK)
            peer->Release();
        AM_MEDIA_TYPE mt;
        if (p.filter->Output()->ConnectionMediaType(&mt) == S_OK)
            FreeMediaType(mt);
        PIN_INFO info;
        if (p.sink->GetPin(0)->QueryPinInfo(&info) == S_OK)
            info.pFilter->Release();
        IPin* pin = nullptr;
        if (p.filter->FindPin(L"Out", &pin) == S_OK)
            pin->Release();
        IEnumPins* pins = nullptr;
        if (p.filter->EnumPins(&pins) == S_OK)
            pins->Release();
        (void)p.filter->Input()->IsConnected();
        (void)p.sink->SamplesReceived();
        std::this_thread::yield();
    }
}

TEST_F(StreamingThreads, QueriesStopsAndRestartsWhileStreaming)
{
    Pipeline p(Yuy2Type(32, 16), -1);
    ASSERT_EQ(p.Connect(), S_OK);
    std::atomic<bool> done{false};
    std::thread q1(QueryEverything, std::ref(p), std::ref(done));
    std::thread q2(QueryEverything, std::ref(p), std::ref(done));
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_EQ(p.graph->Run(), S_OK);
        const LONG target = p.sink->SamplesReceived() + 3;
        while (p.sink->SamplesReceived() < target)
            std::this_thread::yield();
        if (cycle % 3 == 1) {
            ASSERT_EQ(p.graph->Pause(), S_OK);
            ASSERT_EQ(p.graph->Run(), S_OK);
        }
        if (cycle % 4 == 2) {
            EXPECT_EQ(p.graph->Flush(), S_OK);
        }
        ASSERT_EQ(p.graph->Stop(), S_OK);
        EXPECT_EQ(static_cast<CMemAllocator*>(p.filter->Output()->Allocator())->OutstandingCount(), 0);
    }
    done = true;
    q1.join();
    q2.join();
    const auto got = p.Take();
    ASSERT_FALSE(got.empty());
    for (const Delivered& r : got)
        ASSERT_EQ(r.bytes.size(), 32u * 16u * 2u);
}

TEST_F(StreamingThreads, SamplesReleasedOnAnotherThread)
{
    // The sink hands every sample to a worker that releases it later.
    std::mutex lock;
    std::condition_variable signal;
    std::deque<IMediaSample*> queue;
    bool finished = false;
    std::thread worker([&] {
        std::unique_lock<std::mutex> guard(lock);
        for (;;) {
            signal.wait(guard, [&] { return finished || !queue.empty(); });
            if (queue.empty() && finished)
                return;
            IMediaSample* s = queue.front();
            queue.pop_front();
            guard.unlock();
            BYTE* data = nullptr;
            s->GetPointer(&data);
            volatile BYTE first = data[0];
            (void)first;
            s->Release();
            guard.lock();
        }
    });

    Pipeline p(Yuy2Type(16, 16), 40);
    CSampleSink* handoff = nullptr;
    ASSERT_EQ(CSampleSink::Create(
                  [&](IMediaSample* s) {
                      s->AddRef();
                      std::lock_guard<std::mutex> guard(lock);
                      queue.push_back(s);
                      signal.notify_one();
                      return S_OK;
                  },
                  &handoff),
              S_OK);
    ASSERT_EQ(p.graph->RemoveFilter(p.sink.Get()), S_OK);
    ASSERT_EQ(p.graph->AddFilter(handoff, L"handoff"), S_OK);
    ASSERT_EQ(p.graph->ConnectFilters(p.source.Get(), p.filter.Get()), S_OK);
    ASSERT_EQ(p.graph->ConnectFilters(p.filter.Get(), handoff), S_OK);
    for (int cycle = 0; cycle < 3; ++cycle) {
        ASSERT_EQ(p.graph->Run(), S_OK);
        LONG code = 0;
        EXPECT_EQ(p.graph->WaitForCompletion(20000, &code), S_OK);
        EXPECT_EQ(code, EC_COMPLETE);
        ASSERT_EQ(p.graph->Stop(), S_OK);
    }
    EXPECT_EQ(handoff->SamplesReceived(), 120);
    {
        std::lock_guard<std::mutex> guard(lock);
        finished = true;
        signal.notify_one();
    }
    worker.join();
    ASSERT_EQ(p.graph->RemoveFilter(handoff), S_OK);
    handoff->Release();
}

TEST_F(StreamingThreads, WaitEndsWhenAnotherThreadStops)
{
    Pipeline p(Yuy2Type(8, 8), -1);
    ASSERT_EQ(p.Connect(), S_OK);
    ASSERT_EQ(p.graph->Run(), S_OK);
    HRESULT waited = S_OK;
    std::thread waiter([&] {
        LONG code = 0;
        waited = p.graph->WaitForCompletion(INFINITE_WAIT, &code);
    });
    while (p.sink->SamplesReceived() < 2)
        std::this_thread::yield();
    ASSERT_EQ(p.graph->Stop(), S_OK);
    waiter.join();
    EXPECT_EQ(waited, VFW_E_WRONG_STATE);
}

}  // namespace
}  // namespace fwtest
