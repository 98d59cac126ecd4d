// CSampleSink: a renderer with one input pin that hands every sample to a
// callback on the streaming thread and reports EC_COMPLETE at end of
// stream.
#pragma once

#include "filter/framework/input_pin.h"

#include <functional>

// Called with each sample received while running or paused; a failure is
// returned to the upstream filter. Keep a reference (AddRef) to hold the
// sample past the call.
using SampleCallback = std::function<HRESULT(IMediaSample* pSample)>;

class CSampleSinkPin;

class CSampleSink : public CBaseFilter {
public:
    // A new sink with one reference for the caller.
    static HRESULT Create(SampleCallback callback, CSampleSink** ppSink);
    ~CSampleSink() override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    // Before connecting: GUIDs of accepted types (GUID_NULL = any) and the
    // allocator needs announced upstream through GetAllocatorRequirements.
    void SetAcceptedType(REFGUID majortype, REFGUID subtype, REFGUID formattype);
    void SetAllocatorRequirements(const ALLOCATOR_PROPERTIES& props);

    LONG SamplesReceived() const { return m_received; }
    LONG EndOfStreamCount() const { return m_endOfStreams; }

private:
    friend class CSampleSinkPin;
    CSampleSink();

    CCritSec m_csFilter;
    CCritSec m_csReceive;
    CSampleSinkPin* m_pPin = nullptr;
    SampleCallback m_callback;
    GUID m_accept[3] = {GUID_NULL, GUID_NULL, GUID_NULL};
    bool m_hasRequirements = false;
    ALLOCATOR_PROPERTIES m_requirements{};
    std::atomic<LONG> m_received{0};
    std::atomic<LONG> m_endOfStreams{0};
};

class CSampleSinkPin : public CBaseInputPin {
public:
    CSampleSinkPin(CSampleSink* pSink, HRESULT* phr);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* pProps) override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;

private:
    CSampleSink* m_pSink;
};
