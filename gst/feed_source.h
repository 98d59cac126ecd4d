// CFeedSource: the host side of the element's graph that feeds the filter.
// A filter with one output pin offering exactly one type, whose samples
// are delivered on the caller's thread when it calls Feed, one GStreamer
// buffer at a time, instead of from a streaming thread of its own.
#pragma once

#include "filter/framework/output_pin.h"

// One picture to deliver: `rows` lines of `rowBytes` bytes, `stride`
// bytes apart at `data`, with its times (100 ns units) and flags.
struct FeedPicture {
    const BYTE* data = nullptr;
    LONG rowBytes = 0;
    LONG stride = 0;
    LONG rows = 0;
    bool hasStart = false;
    bool hasStop = false;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    bool syncPoint = true;
    bool discontinuity = false;
    // Attached to the sample when not null: the filter then reports on
    // its output sample the type it made of this picture.
    const AM_MEDIA_TYPE* type = nullptr;
};

class CFeedSourcePin;

class CFeedSource : public CBaseFilter {
public:
    // A new source with one reference for the caller.
    static HRESULT Create(CFeedSource** ppSource);
    ~CFeedSource() override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    // The type offered at the next connection; only while unconnected.
    HRESULT SetType(const CMediaType& type);
    // Copies the picture into a sample of the connection's allocator and
    // delivers it: the downstream filter's answer (S_FALSE while it
    // flushes), VFW_E_BUFFER_OVERFLOW for a picture larger than a sample,
    // VFW_E_NOT_CONNECTED or VFW_E_NOT_COMMITTED outside streaming.
    HRESULT Feed(const FeedPicture& picture);

private:
    CFeedSource(HRESULT* phr);

    CCritSec m_csFilter;
    CFeedSourcePin* m_pPin = nullptr;
};

class CFeedSourcePin : public CBaseOutputPin {
public:
    CFeedSourcePin(CFeedSource* pFilter, CCritSec* pLock, HRESULT* phr);

    HRESULT CheckMediaType(const CMediaType* pmt) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override;

    HRESULT SetType(const CMediaType& type);
    HRESULT Feed(const FeedPicture& picture);

private:
    CMediaType m_type;
};
