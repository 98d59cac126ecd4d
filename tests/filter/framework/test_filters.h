// Filters and helpers for the framework tests: YUY2 video types, an
// inverting transform built on CTransformFilter that logs the calls the
// framework makes, and a source -> transform -> sink pipeline.
#pragma once

#include "filter/framework/push_source.h"
#include "filter/framework/sample_sink.h"
#include "filter/framework/streams.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/filter_graph.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace fwtest {

DEFINE_GUID(CLSID_TestTransform, 0x5b0c3a51, 0x2f7e, 0x4d6a, 0x9e, 0x11, 0x70, 0x4c, 0x28, 0xd3, 0x6b, 0x01);

// A YUY2 type of width x height with a VIDEOINFOHEADER or VIDEOINFOHEADER2
// block (aspect 4:3, interlaced flag set, for the latter).
inline CMediaType Yuy2Type(LONG width, LONG height, bool videoInfo2 = false, WORD bitCount = 16)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_YUY2);
    const DWORD image = static_cast<DWORD>(width * height * 2);
    BITMAPINFOHEADER* bih = nullptr;
    if (videoInfo2) {
        mt.SetFormatType(&FORMAT_VideoInfo2);
        auto* vih2 = reinterpret_cast<VIDEOINFOHEADER2*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
        vih2->dwPictAspectRatioX = 4;
        vih2->dwPictAspectRatioY = 3;
        vih2->dwInterlaceFlags = AMINTERLACE_IsInterlaced;
        bih = &vih2->bmiHeader;
    } else {
        mt.SetFormatType(&FORMAT_VideoInfo);
        bih = &reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)))->bmiHeader;
    }
    bih->biSize = sizeof(BITMAPINFOHEADER);
    bih->biWidth = width;
    bih->biHeight = height;
    bih->biPlanes = 1;
    bih->biBitCount = bitCount;
    bih->biCompression = 0x32595559;  // 'YUY2'
    bih->biSizeImage = image;
    mt.SetSampleSize(image);
    return mt;
}

// Inverts every byte; accepts 16-bit YUY2 video-info types and offers its
// input type. Behaviour knobs and a call log let tests check what the
// framework calls and when.
class CInvertFilter : public CTransformFilter {
public:
    static CUnknown* CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        auto* filter = new (std::nothrow) CInvertFilter(pUnk);
        if (filter == nullptr)
            *phr = E_OUTOFMEMORY;
        return filter;
    }
    explicit CInvertFilter(LPUNKNOWN pUnk) : CTransformFilter(NAME("Invert"), pUnk, CLSID_TestTransform) {}

    HRESULT CheckInputType(const CMediaType* mtIn) override
    {
        Log("CheckInputType");
        return Acceptable(*mtIn) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) override
    {
        Log("CheckTransform");
        return Acceptable(*mtIn) && Acceptable(*mtOut) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override
    {
        Log("GetMediaType");
        if (!m_pInput->IsConnected())
            return E_UNEXPECTED;
        if (iPosition < 0)
            return E_INVALIDARG;
        if (iPosition > 0)
            return VFW_S_NO_MORE_ITEMS;
        *pMediaType = m_pInput->CurrentMediaType();
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override
    {
        Log("DecideBufferSize");
        CMediaType* input = &m_pInput->CurrentMediaType();  // written the DirectShow way
        const BITMAPINFOHEADER* bih = BitmapHeaderOf(*input);
        if (bih == nullptr)
            return E_UNEXPECTED;
        const LONG frame = static_cast<LONG>(bih->biSizeImage);
        if (pProp->cBuffers < buffers)
            pProp->cBuffers = buffers;
        if (pProp->cbBuffer < frame)
            pProp->cbBuffer = frame;
        ALLOCATOR_PROPERTIES actual{};
        HRESULT hr = pAlloc->SetProperties(pProp, &actual);
        if (FAILED(hr))
            return hr;
        return actual.cBuffers < pProp->cBuffers || actual.cbBuffer < pProp->cbBuffer ? E_FAIL : S_OK;
    }
    HRESULT CompleteConnect(PIN_DIRECTION dir, IPin*) override
    {
        Log(dir == PINDIR_INPUT ? "CompleteConnect(in)" : "CompleteConnect(out)");
        return S_OK;
    }
    HRESULT StartStreaming() override
    {
        Log("StartStreaming");
        return startResult;
    }
    HRESULT StopStreaming() override
    {
        Log("StopStreaming");
        return S_OK;
    }
    HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut) override
    {
        const int index = transforms++;
        if (index == failAt)
            return E_FAIL;
        if (index == skipAt)
            return S_FALSE;
        AM_MEDIA_TYPE* changed = nullptr;
        if (pIn->GetMediaType(&changed) == S_OK) {
            pOut->SetMediaType(changed);
            DeleteMediaType(changed);
        }
        BYTE* src = nullptr;
        BYTE* dst = nullptr;
        pIn->GetPointer(&src);
        pOut->GetPointer(&dst);
        const LONG length = pIn->GetActualDataLength();
        if (length > pOut->GetSize())
            return E_FAIL;
        for (LONG i = 0; i < length; ++i)
            dst[i] = static_cast<BYTE>(~src[i]);
        return pOut->SetActualDataLength(length);
    }

    static bool Acceptable(const CMediaType& mt)
    {
        const BITMAPINFOHEADER* bih = BitmapHeaderOf(mt);
        return IsEqualGUID(*mt.Type(), MEDIATYPE_Video) && IsEqualGUID(*mt.Subtype(), MEDIASUBTYPE_YUY2) &&
               bih != nullptr && bih->biBitCount == 16;
    }

    std::vector<std::string> TakeLog()
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        return std::exchange(m_log, {});
    }
    CTransformInputPin* Input() { GetPin(0); return m_pInput; }
    CTransformOutputPin* Output() { GetPin(1); return m_pOutput; }

    LONG buffers = 3;
    int failAt = -1;
    int skipAt = -1;
    HRESULT startResult = S_OK;
    std::atomic<int> transforms{0};

private:
    void Log(const char* what)
    {
        std::lock_guard<std::mutex> lock(m_logLock);
        m_log.emplace_back(what);
    }
    std::mutex m_logLock;
    std::vector<std::string> m_log;
};

// What the sink saw of one sample.
struct Received {
    std::vector<BYTE> bytes;
    HRESULT timeResult = S_OK;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    bool sync = false;
    bool discontinuity = false;
    bool preroll = false;
    bool hasType = false;
    CMediaType type;
    LONG bufferSize = 0;
};

// Frame i of a test stream: every byte is (i * 7 + offset) & 0xFF.
inline BYTE FrameByte(ULONG index, LONG offset) { return static_cast<BYTE>((index * 7 + static_cast<ULONG>(offset)) & 0xFF); }

// source -> invert -> sink in a graph. The source sends `frames` frames
// (negative: forever) with times index*1000..+1000, every third a sync
// point; `customise` may change a frame further.
class Pipeline {
public:
    explicit Pipeline(const CMediaType& type, int frames = 5,
                      std::function<void(PushFrame&)> customise = nullptr)
    {
        EXPECT_EQ(CFilterGraph::Create(graph.ReleaseAndGetAddressOf()), S_OK);
        CPushSource* rawSource = nullptr;
        EXPECT_EQ(CPushSource::Create(
                      type,
                      [frames, customise](PushFrame& f) -> HRESULT {
                          if (frames >= 0 && f.index >= static_cast<ULONG>(frames))
                              return S_FALSE;
                          for (LONG i = 0; i < f.lActual; ++i)
                              f.pData[i] = FrameByte(f.index, i);
                          f.hasStart = f.hasStop = true;
                          f.tStart = static_cast<REFERENCE_TIME>(f.index) * 1000;
                          f.tStop = f.tStart + 1000;
                          f.syncPoint = f.index % 3 == 0;
                          if (customise)
                              customise(f);
                          return S_OK;
                      },
                      &rawSource),
                  S_OK);
        source = ComPtr<CPushSource>::Attach(rawSource);
        transform = ComPtr<CInvertFilter>::Attach(new CInvertFilter(nullptr));
        transform->AddRef();
        CSampleSink* rawSink = nullptr;
        EXPECT_EQ(CSampleSink::Create(
                      [this](IMediaSample* s) -> HRESULT {
                          Received r;
                          BYTE* p = nullptr;
                          s->GetPointer(&p);
                          r.bytes.assign(p, p + s->GetActualDataLength());
                          r.bufferSize = s->GetSize();
                          r.timeResult = s->GetTime(&r.start, &r.stop);
                          r.sync = s->IsSyncPoint() == S_OK;
                          r.discontinuity = s->IsDiscontinuity() == S_OK;
                          r.preroll = s->IsPreroll() == S_OK;
                          AM_MEDIA_TYPE* t = nullptr;
                          if (s->GetMediaType(&t) == S_OK) {
                              r.hasType = true;
                              r.type = *t;
                              DeleteMediaType(t);
                          }
                          std::lock_guard<std::mutex> lock(receivedLock);
                          received.push_back(std::move(r));
                          return S_OK;
                      },
                      &rawSink),
                  S_OK);
        sink = ComPtr<CSampleSink>::Attach(rawSink);
        EXPECT_EQ(graph->AddFilter(source.Get(), L"source"), S_OK);
        EXPECT_EQ(graph->AddFilter(transform.Get(), L"invert"), S_OK);
        EXPECT_EQ(graph->AddFilter(sink.Get(), L"sink"), S_OK);
    }

    HRESULT Connect()
    {
        HRESULT hr = graph->ConnectFilters(source.Get(), transform.Get());
        if (FAILED(hr))
            return hr;
        return graph->ConnectFilters(transform.Get(), sink.Get());
    }

    std::vector<Received> Take()
    {
        std::lock_guard<std::mutex> lock(receivedLock);
        return std::exchange(received, {});
    }

    ~Pipeline()
    {
        if (graph)
            graph->Stop();
    }

    // Declared first so the sink callback's state outlives the filters.
    std::mutex receivedLock;
    std::vector<Received> received;
    ComPtr<CFilterGraph> graph;
    ComPtr<CPushSource> source;
    ComPtr<CInvertFilter> transform;
    ComPtr<CSampleSink> sink;
};

// Every test leaves no object of the module alive.
class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override { m_before = ModuleObjectCount(); }
    void TearDown() override { EXPECT_EQ(ModuleObjectCount(), m_before) << "objects leaked"; }

private:
    LONG m_before = 0;
};

}  // namespace fwtest
