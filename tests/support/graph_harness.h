// The harness every filter test drives: YUY2 video types, a record of
// what the sink saw of each sample, and the graph push source -> filter
// under test -> sample sink. Used by the framework's tests and by the
// resize filter's.
#pragma once

#include "filter/framework/push_source.h"
#include "filter/framework/sample_sink.h"
#include "filter/framework/streams.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/filter_graph.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace filtertest {

enum class Block { VideoInfo, VideoInfo2 };

// A YUY2 type of width x height, 25 frames a second. For VIDEOINFOHEADER2
// the picture aspect and interlace flags are as given.
inline CMediaType VideoType(LONG width, LONG height, Block block = Block::VideoInfo, DWORD aspectX = 0,
                            DWORD aspectY = 0, DWORD interlaceFlags = 0, WORD bitCount = 16)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_YUY2);
    BITMAPINFOHEADER* bih = nullptr;
    if (block == Block::VideoInfo2) {
        mt.SetFormatType(&FORMAT_VideoInfo2);
        auto* vih2 = reinterpret_cast<VIDEOINFOHEADER2*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
        vih2->dwPictAspectRatioX = aspectX;
        vih2->dwPictAspectRatioY = aspectY;
        vih2->dwInterlaceFlags = interlaceFlags;
        vih2->AvgTimePerFrame = 400000;
        bih = &vih2->bmiHeader;
    } else {
        mt.SetFormatType(&FORMAT_VideoInfo);
        auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
        vih->AvgTimePerFrame = 400000;
        bih = &vih->bmiHeader;
    }
    bih->biSize = sizeof(BITMAPINFOHEADER);
    bih->biWidth = width;
    bih->biHeight = height;
    bih->biPlanes = 1;
    bih->biBitCount = bitCount;
    bih->biCompression = 0x32595559;  // 'YUY2'
    bih->biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 2u;
    mt.SetSampleSize(bih->biSizeImage);
    return mt;
}

// What the sink saw of one sample.
struct Delivered {
    std::vector<BYTE> bytes;
    HRESULT timeResult = S_OK;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    bool sync = false;
    bool discontinuity = false;
    bool preroll = false;
    bool hasType = false;
    CMediaType type;
};

// source -> filter -> sink. The source sends `frames` frames (negative:
// until stopped) timed index*1000..+1000; `paint` fills each one and may
// change it further or end the stream (S_FALSE).
template <class Filter>
class TestGraph {
public:
    TestGraph(const CMediaType& type, int frames, ComPtr<Filter> middle, const wchar_t* name,
              std::function<HRESULT(PushFrame&)> paint)
        : filter(std::move(middle))
    {
        EXPECT_EQ(CFilterGraph::Create(graph.ReleaseAndGetAddressOf()), S_OK);
        CPushSource* rawSource = nullptr;
        EXPECT_EQ(CPushSource::Create(
                      type,
                      [frames, paint](PushFrame& f) -> HRESULT {
                          if (frames >= 0 && f.index >= static_cast<ULONG>(frames))
                              return S_FALSE;
                          f.hasStart = f.hasStop = true;
                          f.tStart = static_cast<REFERENCE_TIME>(f.index) * 1000;
                          f.tStop = f.tStart + 1000;
                          return paint(f);
                      },
                      &rawSource),
                  S_OK);
        source = ComPtr<CPushSource>::Attach(rawSource);
        CSampleSink* rawSink = nullptr;
        EXPECT_EQ(CSampleSink::Create([this](IMediaSample* s) { return Record(s); }, &rawSink), S_OK);
        sink = ComPtr<CSampleSink>::Attach(rawSink);
        EXPECT_EQ(graph->AddFilter(source.Get(), L"source"), S_OK);
        EXPECT_EQ(graph->AddFilter(filter.Get(), name), S_OK);
        EXPECT_EQ(graph->AddFilter(sink.Get(), L"sink"), S_OK);
    }
    ~TestGraph() { if (graph) graph->Stop(); }

    HRESULT ConnectInput() { return graph->ConnectFilters(source.Get(), filter.Get()); }
    HRESULT ConnectOutput() { return graph->ConnectFilters(filter.Get(), sink.Get()); }
    HRESULT Connect()
    {
        const HRESULT hr = ConnectInput();
        return FAILED(hr) ? hr : ConnectOutput();
    }
    // Runs until the source's stream ends, leaving the graph running so
    // a filter's state from the last frame is still there.
    LONG RunToEnd()
    {
        EXPECT_EQ(graph->Run(), S_OK);
        LONG code = 0;
        EXPECT_EQ(graph->WaitForCompletion(20000, &code), S_OK);
        return code;
    }
    std::vector<Delivered> Take()
    {
        std::lock_guard<std::mutex> lock(deliveredLock);
        return std::exchange(delivered, {});
    }

    // Declared first so the sink's state outlives the filters.
    std::mutex deliveredLock;
    std::vector<Delivered> delivered;
    std::function<void(const Delivered&)> onDelivered;
    // False for long runs: onDelivered sees each sample, none is kept.
    bool keepDelivered = true;
    // Sees each sample itself before it is recorded; may keep a reference.
    std::function<void(IMediaSample*)> onSample;
    ComPtr<CFilterGraph> graph;
    ComPtr<CPushSource> source;
    ComPtr<Filter> filter;
    ComPtr<CSampleSink> sink;

private:
    HRESULT Record(IMediaSample* s)
    {
        Delivered d;
        BYTE* p = nullptr;
        s->GetPointer(&p);
        d.bytes.assign(p, p + s->GetActualDataLength());
        d.timeResult = s->GetTime(&d.start, &d.stop);
        d.sync = s->IsSyncPoint() == S_OK;
        d.discontinuity = s->IsDiscontinuity() == S_OK;
        d.preroll = s->IsPreroll() == S_OK;
        AM_MEDIA_TYPE* t = nullptr;
        if (s->GetMediaType(&t) == S_OK) {
            d.hasType = true;
            d.type = *t;
            DeleteMediaType(t);
        }
        if (onSample)
            onSample(s);
        if (onDelivered)
            onDelivered(d);
        if (!keepDelivered)
            return S_OK;
        std::lock_guard<std::mutex> lock(deliveredLock);
        delivered.push_back(std::move(d));
        return S_OK;
    }
};

// An IMediaSample over a heap block of exactly `size` bytes, so reads past
// it trip AddressSanitizer. Flag queries can be made to fail, and the
// sample can claim more data than it holds.
class TestSample final : public IMediaSample {
public:
    explicit TestSample(LONG size) : m_size(size), m_buffer(new BYTE[size > 0 ? size : 1]()), m_actual(size) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        const bool known = riid == IID_IUnknown || riid == IID_IMediaSample;
        *ppv = known ? static_cast<IMediaSample*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    // Lives on the test's stack.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP GetPointer(BYTE** pp) override { *pp = m_buffer.get(); return S_OK; }
    STDMETHODIMP_(LONG) GetSize() override { return m_size; }
    STDMETHODIMP GetTime(REFERENCE_TIME* s, REFERENCE_TIME* e) override
    {
        if (!m_hasTime)
            return VFW_E_SAMPLE_TIME_NOT_SET;
        *s = m_start;
        *e = m_stop;
        return S_OK;
    }
    STDMETHODIMP SetTime(REFERENCE_TIME* s, REFERENCE_TIME* e) override
    {
        m_hasTime = s != nullptr && e != nullptr;
        m_start = m_hasTime ? *s : 0;
        m_stop = m_hasTime ? *e : 0;
        return S_OK;
    }
    STDMETHODIMP IsSyncPoint() override { return m_syncResult; }
    STDMETHODIMP SetSyncPoint(BOOL b) override { m_syncResult = b ? S_OK : S_FALSE; return S_OK; }
    STDMETHODIMP IsPreroll() override { return m_prerollResult; }
    STDMETHODIMP SetPreroll(BOOL b) override { m_prerollResult = b ? S_OK : S_FALSE; return S_OK; }
    STDMETHODIMP_(LONG) GetActualDataLength() override { return m_actual + m_claimedExtra; }
    STDMETHODIMP SetActualDataLength(LONG len) override
    {
        if (len < 0 || len > m_size)
            return VFW_E_BUFFER_OVERFLOW;
        m_actual = len;
        return S_OK;
    }
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** pp) override
    {
        *pp = m_type ? CreateMediaType(m_type.get()) : nullptr;
        return *pp != nullptr ? S_OK : S_FALSE;
    }
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pmt) override { m_type.reset(pmt ? new CMediaType(*pmt) : nullptr); return S_OK; }
    STDMETHODIMP IsDiscontinuity() override { return m_discontinuityResult; }
    STDMETHODIMP SetDiscontinuity(BOOL b) override { m_discontinuityResult = b ? S_OK : S_FALSE; return S_OK; }
    STDMETHODIMP GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
    STDMETHODIMP SetMediaTime(LONGLONG*, LONGLONG*) override { return S_OK; }

    BYTE* Data() { return m_buffer.get(); }
    std::vector<BYTE> Bytes() const { return {m_buffer.get(), m_buffer.get() + m_actual}; }
    const CMediaType* Type() const { return m_type.get(); }

    HRESULT m_syncResult = S_FALSE;
    HRESULT m_prerollResult = S_FALSE;
    HRESULT m_discontinuityResult = S_FALSE;
    LONG m_claimedExtra = 0;

private:
    LONG m_size;
    std::unique_ptr<BYTE[]> m_buffer;
    LONG m_actual;
    bool m_hasTime = false;
    REFERENCE_TIME m_start = 0;
    REFERENCE_TIME m_stop = 0;
    std::unique_ptr<CMediaType> m_type;
};

// Every test leaves no object of the module alive.
class LeakCheckedTest : public ::testing::Test {
protected:
    void SetUp() override { m_before = ModuleObjectCount(); }
    void TearDown() override { EXPECT_EQ(ModuleObjectCount(), m_before) << "objects leaked"; }

private:
    LONG m_before = 0;
};

}  // namespace filtertest
