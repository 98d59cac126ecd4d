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
#include "tests/filter/resize_graph.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <sstream>
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

// Takes a reference on each sample it is given and releases it later, on
// its own thread, so samples go back to the allocator while it serves the
// streaming thread.
class LateReleaser {
public:
    LateReleaser() : m_worker([this] { Work(); }) {}
    ~LateReleaser()
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_finished = true;
        }
        m_signal.notify_one();
        m_worker.join();
    }
    void Keep(IMediaSample* s)
    {
        s->AddRef();
        ++m_pending;
        std::lock_guard<std::mutex> guard(m_lock);
        m_queue.push_back(s);
        m_signal.notify_one();
    }
    void Drain()
    {
        while (m_pending != 0)
            std::this_thread::yield();
    }

private:
    void Work()
    {
        std::unique_lock<std::mutex> guard(m_lock);
        for (;;) {
            m_signal.wait(guard, [&] { return m_finished || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            IMediaSample* s = m_queue.front();
            m_queue.pop_front();
            guard.unlock();
            BYTE* data = nullptr;
            s->GetPointer(&data);
            volatile BYTE first = data[0];
            (void)first;
            s->Release();
            --m_pending;
            guard.lock();
        }
    }

    std::mutex m_lock;
    std::condition_variable m_signal;
    std::deque<IMediaSample*> m_queue;
    bool m_finished = false;
    std::atomic<int> m_pending{0};
    std::thread m_worker;
};

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
    done = true;
    for (std::thread* t : {&settingsThread, &policyThread, &snapshotThread})
        t->join();

    EXPECT_EQ(tornFrames, 0);
    EXPECT_EQ(badSettings, 0);
    EXPECT_EQ(badStills, 0);
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
