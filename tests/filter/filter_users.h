// What the filter's threaded tests share: the check that a delivered frame
// or still is one whole flat input picture, a sink helper that releases
// samples late on its own thread, and the threads that work a streaming
// filter through its interfaces (settings, the lock-free policy, stills).
#pragma once

#include "tests/filter/resize_graph.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <random>
#include <thread>

namespace rftest {

// A frame resized from a flat input of luma y: every luma is 0 (black
// margin) or y, every chroma 127 (black) or 128. Returns y, or -1 for a
// frame that mixes inputs or is torn; 0 for an all-black frame.
inline int UniformLuma(const BYTE* frame, std::size_t bytes)
{
    int luma = 0;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
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

inline bool IsInputLuma(int luma)
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

// Three threads that work a filter whose output is connected at
// outWidth wide, until Stop: one changes every setting a frame is resized
// by (mode, aspect, deinterlace method, background) and checks that the
// output size cannot change; one flips the deinterlace policy, whose pair
// takes no lock; one takes stills of random sizes, modes and both
// formats, each of which must be one whole input picture. Each counts its
// calls and every answer that breaks a rule.
class FilterUsers {
public:
    static constexpr int kThreads = 3;

    FilterUsers(IResizeSettings* settings, IResizeSnapshot* snapshot, LONG outWidth)
        : m_settings(settings), m_snapshot(snapshot), m_outWidth(outWidth)
    {
        m_threads.emplace_back([this] { ChangeSettings(); });
        m_threads.emplace_back([this] { FlipPolicy(); });
        m_threads.emplace_back([this] { TakeStills(); });
    }
    ~FilterUsers() { Stop(); }
    void Stop()
    {
        m_done = true;
        for (std::thread& t : m_threads)
            if (t.joinable())
                t.join();
    }

    std::atomic<long> settingsChanges{0};
    std::atomic<long> policyFlips{0};
    std::atomic<long> stills{0};
    std::atomic<int> badSettings{0};
    std::atomic<int> badStills{0};

private:
    void ChangeSettings()
    {
        for (LONG i = 0; !m_done; ++i, ++settingsChanges) {
            LONG w = 0, h = 0, mode = 0;
            BOOL canChange = TRUE;
            if (m_settings->SetResizeMode(i % 3 == 0 ? RESIZE_MODE_KEEP_ASPECT : RESIZE_MODE_FIT) != S_OK ||
                m_settings->SetOutputAspectRatio(1 + i % 5, 1 + i % 3) != S_OK ||
                m_settings->SetDeinterlaceMethod(i % 3) != S_OK || m_settings->SetBackgroundColor(i) != S_OK ||
                m_settings->SetOutputSize(640, 480) != S_FALSE || m_settings->GetResizeMode(&mode) != S_OK ||
                m_settings->GetOutputSize(&w, &h, &canChange) != S_OK || w != m_outWidth || canChange != FALSE)
                ++badSettings;
            std::this_thread::yield();
        }
    }

    void FlipPolicy()
    {
        for (LONG i = 0; !m_done; ++i, ++policyFlips) {
            LONG policy = -1;
            m_settings->SetDeinterlacePolicy(i % 4);
            m_settings->GetDeinterlacePolicy(&policy);
            if (policy < 0 || policy > 3)
                ++badSettings;
            std::this_thread::yield();
        }
    }

    // Sizes from 16 x 12 to 160 x 120, where a kept-aspect picture still
    // has pixels of its own; a fixed seed so a failure repeats.
    void TakeStills()
    {
        std::minstd_rand random(15);
        std::vector<BYTE> still(160 * 120 * 3);
        for (; !m_done; ++stills) {
            const LONG width = 2 * static_cast<LONG>(8 + random() % 73);
            const LONG height = static_cast<LONG>(12 + random() % 109);
            const LONG format = random() % 2 == 0 ? SNAPSHOT_FORMAT_YUY2 : 0;
            const LONG mode = random() % 2 == 0 ? RESIZE_MODE_KEEP_ASPECT : RESIZE_MODE_FIT;
            const ULONG bytes = static_cast<ULONG>(width * height * (format == SNAPSHOT_FORMAT_YUY2 ? 2 : 3));
            ULONG written = 0;
            if (m_snapshot->GetCurrentFrame(still.data(), &written, width, height, format, mode) != S_OK ||
                (written != 0 && written != bytes) ||
                (written != 0 && format == SNAPSHOT_FORMAT_YUY2 && !IsInputLuma(UniformLuma(still.data(), written))))
                ++badStills;
            std::this_thread::yield();
        }
    }

    IResizeSettings* m_settings;
    IResizeSnapshot* m_snapshot;
    LONG m_outWidth;
    std::atomic<bool> m_done{false};
    std::vector<std::thread> m_threads;
};

}  // namespace rftest
