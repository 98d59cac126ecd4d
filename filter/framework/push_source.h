// CPushSource: a source filter with one output pin that streams frames
// from a callback on its own thread. The thread starts when the filter is
// paused from stopped, pushes while the filter runs, waits while paused,
// and is joined on stop.
#pragma once

#include "filter/framework/output_pin.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// One frame to fill. The callback writes up to cbBuffer bytes at pData and
// sets lActual; times, flags and a new media type are optional.
struct PushFrame {
    ULONG index = 0;  // counts from 0 after every start from stopped
    BYTE* pData = nullptr;
    LONG cbBuffer = 0;
    LONG lActual = 0;  // starts as cbBuffer
    bool hasStart = false;  // a start time alone reaches the sample without a stop
    bool hasStop = false;
    REFERENCE_TIME tStart = 0;
    REFERENCE_TIME tStop = 0;
    bool syncPoint = true;
    bool discontinuity = false;
    bool preroll = false;
    bool hasMediaType = false;  // attach mediaType to this sample (format change)
    CMediaType mediaType;
};

// S_OK delivers the frame; S_FALSE ends the stream (nothing delivered, end
// of stream sent downstream); a failure aborts it (EC_ERRORABORT).
using PushFrameCallback = std::function<HRESULT(PushFrame& frame)>;

class CPushSourcePin;

class CPushSource : public CBaseFilter {
public:
    // A new source offering exactly mt, with one reference for the caller.
    // cBuffers and cbBuffer are its buffer needs; cbBuffer 0 takes the
    // type's sample size or, for video, the picture's biSizeImage.
    static HRESULT Create(const AM_MEDIA_TYPE& mt, PushFrameCallback callback, CPushSource** ppSource,
                          LONG cBuffers = 2, LONG cbBuffer = 0);
    ~CPushSource() override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;
    // Running to paused holds the thread; it resumes on the next Run.
    STDMETHODIMP Pause() override;

    // Frames delivered downstream with S_OK since the last start.
    ULONG FramesDelivered() const;
    // The failure that ended the last stream, or S_OK.
    HRESULT StreamResult() const;

private:
    CPushSource(HRESULT* phr);

    CCritSec m_csFilter;
    CPushSourcePin* m_pPin = nullptr;
};

class CPushSourcePin : public CBaseOutputPin {
public:
    CPushSourcePin(CPushSource* pFilter, CCritSec* pLock, HRESULT* phr, const AM_MEDIA_TYPE& mt,
                   PushFrameCallback callback, LONG cBuffers, LONG cbBuffer);
    ~CPushSourcePin() override;

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override;
    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT Run(REFERENCE_TIME tStart) override;
    // Stops pushing (the thread waits) when the filter pauses from running.
    void Hold();

    ULONG FramesDelivered() const { return m_delivered; }
    HRESULT StreamResult() const { return m_result; }

private:
    void StreamLoop();
    HRESULT PushOne(ULONG index);
    void JoinThread();

    CMediaType m_type;
    PushFrameCallback m_callback;
    LONG m_cBuffers;
    LONG m_cbBuffer;

    std::mutex m_threadLock;
    std::condition_variable m_threadSignal;
    bool m_go = false;
    bool m_stop = false;
    std::thread m_thread;
    std::atomic<ULONG> m_delivered{0};
    std::atomic<HRESULT> m_result{S_OK};
};
