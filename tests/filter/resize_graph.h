// Helpers for the resize filter's tests: YUY2 video types, flat and
// striped frames, a stand-alone media sample with an exact-size buffer,
// and the graph push source -> resize filter -> sample sink.
#pragma once

#include "filter/framework/push_source.h"
#include "filter/framework/sample_sink.h"
#include "filter/resize_filter.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/filter_graph.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace rftest {

enum class Block { VideoInfo, VideoInfo2 };

// A YUY2 type of width x height. For VIDEOINFOHEADER2 the picture aspect
// and interlace flags are as given.
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
    bih->biCompression = 0x32595559;
    bih->biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 2u;
    mt.SetSampleSize(bih->biSizeImage);
    return mt;
}

inline const BITMAPINFOHEADER& Header(const CMediaType& mt)
{
    const BITMAPINFOHEADER* bih = BitmapHeaderOf(mt);
    EXPECT_NE(bih, nullptr);
    static const BITMAPINFOHEADER none{};
    return bih != nullptr ? *bih : none;
}

// Every pixel Y = y, U = u, V = v.
inline void FillFlat(BYTE* frame, std::size_t bytes, BYTE y, BYTE u = 128, BYTE v = 128)
{
    for (std::size_t i = 0; i + 3 < bytes; i += 4) {
        frame[i] = y;
        frame[i + 1] = u;
        frame[i + 2] = y;
        frame[i + 3] = v;
    }
}

// Line r of a width-pixel frame is flat with luma lineLuma(r).
inline void FillLines(BYTE* frame, LONG width, LONG height, const std::function<BYTE(LONG)>& lineLuma)
{
    const std::size_t line = static_cast<std::size_t>(width) * 2;
    for (LONG r = 0; r < height; ++r)
        FillFlat(frame + line * r, line, lineLuma(r));
}

inline bool IsBlackPair(const BYTE* p) { return p[0] == 0 && p[1] == 0x7F && p[2] == 0 && p[3] == 0x7F; }

inline bool AllBlack(const std::vector<BYTE>& frame)
{
    for (std::size_t i = 0; i + 3 < frame.size(); i += 4)
        if (!IsBlackPair(&frame[i]))
            return false;
    return true;
}

// Where a flat picture of luma y lies in a width x height YUY2 frame:
// the bounding box of the pixels with luma y. The resizer paints black
// (luma 0, chroma 127) and may lose the outermost column or line of the
// picture, and the chroma of the pairs at its rim, to its centred
// sampling; anything else counts as stray: a luma that is neither 0 nor
// y, a chroma that is neither 127 nor 128, or a black hole in the box.
struct PictureArea {
    LONG left = 0, top = 0, right = 0, bottom = 0;  // right, bottom exclusive
    LONG strayPixels = 0;
    LONG Width() const { return right - left; }
    LONG Height() const { return bottom - top; }
};

inline PictureArea FindPicture(const std::vector<BYTE>& frame, LONG width, LONG height, BYTE y)
{
    PictureArea area;
    area.left = width;
    area.top = height;
    LONG pictureCount = 0;
    for (LONG r = 0; r < height; ++r) {
        for (LONG x = 0; x < width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(r) * width + x) * 2;
            const BYTE luma = frame[at];
            const BYTE chroma = frame[at + 1];
            if ((luma != 0 && luma != y) || (chroma != 127 && chroma != 128)) {
                ++area.strayPixels;
                continue;
            }
            if (luma != y || luma == 0)
                continue;
            ++pictureCount;
            area.left = std::min(area.left, x);
            area.right = std::max(area.right, x + 1);
            area.top = std::min(area.top, r);
            area.bottom = std::max(area.bottom, r + 1);
        }
    }
    if (pictureCount == 0)
        return PictureArea{0, 0, 0, 0, area.strayPixels};
    area.strayPixels += area.Width() * area.Height() - pictureCount;
    return area;
}

// The picture of luma y fills width x height of the frame (within the
// rim the resizer may lose), centred.
inline void ExpectPicture(const std::vector<BYTE>& frame, LONG frameWidth, LONG frameHeight, BYTE y,
                          LONG width, LONG height, const std::string& what = "")
{
    const PictureArea area = FindPicture(frame, frameWidth, frameHeight, y);
    EXPECT_EQ(area.strayPixels, 0) << what;
    EXPECT_NEAR(area.Width(), width, 2) << what;
    EXPECT_NEAR(area.Height(), height, 2) << what;
    EXPECT_NEAR(area.left, (frameWidth - width) / 2, 2) << what;
    EXPECT_NEAR(area.top, (frameHeight - height) / 2, 2) << what;
}

// An IMediaSample over a heap block of exactly `size` bytes, so reads past
// it trip AddressSanitizer. Flag queries can be made to fail.
class TestSample final : public IMediaSample {
public:
    explicit TestSample(LONG size) : m_size(size), m_buffer(new BYTE[size > 0 ? size : 1]()), m_actual(size) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMediaSample) {
            *ppv = static_cast<IMediaSample*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP GetPointer(BYTE** pp) override
    {
        *pp = m_buffer.get();
        return S_OK;
    }
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
        if (m_hasTime) {
            m_start = *s;
            m_stop = *e;
        }
        return S_OK;
    }
    STDMETHODIMP IsSyncPoint() override { return m_syncResult; }
    STDMETHODIMP SetSyncPoint(BOOL b) override { m_syncResult = b ? S_OK : S_FALSE; return S_OK; }
    STDMETHODIMP IsPreroll() override { return m_prerollResult; }
    STDMETHODIMP SetPreroll(BOOL b) override { m_prerollResult = b ? S_OK : S_FALSE; return S_OK; }
    STDMETHODIMP_(LONG) GetActualDataLength() override { return m_actual; }
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
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pmt) override
    {
        m_type.reset(pmt != nullptr ? new CMediaType(*pmt) : nullptr);
        return S_OK;
    }
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

private:
    LONG m_size;
    std::unique_ptr<BYTE[]> m_buffer;
    LONG m_actual;
    bool m_hasTime = false;
    REFERENCE_TIME m_start = 0;
    REFERENCE_TIME m_stop = 0;
    std::unique_ptr<CMediaType> m_type;
};

// A new filter held by the caller.
inline ComPtr<CResizeFilter> MakeFilter()
{
    HRESULT hr = S_OK;
    CUnknown* object = CResizeFilter::CreateInstance(nullptr, &hr);
    EXPECT_NE(object, nullptr);
    auto* filter = static_cast<CResizeFilter*>(object);
    filter->AddRef();
    return ComPtr<CResizeFilter>::Attach(filter);
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

// Called for every frame the source pushes, after it has been filled
// with flat luma 16 + index; may change it further or end the stream
// (return S_FALSE).
using FrameHook = std::function<HRESULT(PushFrame&)>;

// source -> resize filter -> sink. The source pushes `frames` frames
// (negative: until stopped) of flat luma (16 + index) % 220 + 16.
class ResizeGraph {
public:
    ResizeGraph(const CMediaType& type, int frames, FrameHook hook = nullptr) : filter(MakeFilter())
    {
        EXPECT_EQ(CFilterGraph::Create(graph.ReleaseAndGetAddressOf()), S_OK);
        CPushSource* rawSource = nullptr;
        EXPECT_EQ(CPushSource::Create(
                      type,
                      [frames, hook](PushFrame& f) -> HRESULT {
                          if (frames >= 0 && f.index >= static_cast<ULONG>(frames))
                              return S_FALSE;
                          FillFlat(f.pData, static_cast<std::size_t>(f.lActual), FrameLuma(f.index));
                          f.hasStart = f.hasStop = true;
                          f.tStart = static_cast<REFERENCE_TIME>(f.index) * 1000;
                          f.tStop = f.tStart + 1000;
                          return hook ? hook(f) : S_OK;
                      },
                      &rawSource),
                  S_OK);
        source = ComPtr<CPushSource>::Attach(rawSource);
        CSampleSink* rawSink = nullptr;
        EXPECT_EQ(CSampleSink::Create(
                      [this](IMediaSample* s) -> HRESULT {
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
                          if (onDelivered)
                              onDelivered(d);
                          std::lock_guard<std::mutex> lock(deliveredLock);
                          delivered.push_back(std::move(d));
                          return S_OK;
                      },
                      &rawSink),
                  S_OK);
        sink = ComPtr<CSampleSink>::Attach(rawSink);
        EXPECT_EQ(graph->AddFilter(source.Get(), L"source"), S_OK);
        EXPECT_EQ(graph->AddFilter(filter.Get(), kResizeFilterName), S_OK);
        EXPECT_EQ(graph->AddFilter(sink.Get(), L"sink"), S_OK);
    }
    ~ResizeGraph()
    {
        if (graph)
            graph->Stop();
    }

    static BYTE FrameLuma(ULONG index) { return static_cast<BYTE>((16 + index) % 220 + 16); }

    HRESULT ConnectInput() { return graph->ConnectFilters(source.Get(), filter.Get()); }
    HRESULT ConnectOutput() { return graph->ConnectFilters(filter.Get(), sink.Get()); }
    HRESULT Connect()
    {
        const HRESULT hr = ConnectInput();
        return FAILED(hr) ? hr : ConnectOutput();
    }
    HRESULT DisconnectOutput()
    {
        HRESULT hr = graph->Disconnect(filter->GetPin(1));
        return FAILED(hr) ? hr : graph->Disconnect(sink->GetPin(0));
    }
    // Runs until the source's stream ends, leaving the graph running so
    // the last frame is still kept.
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
    // The type the filter's output is connected with.
    const CMediaType& OutputType() { return filter->GetPin(1)->CurrentMediaType(); }

    // Declared first so the sink's state outlives the filters.
    std::mutex deliveredLock;
    std::vector<Delivered> delivered;
    std::function<void(const Delivered&)> onDelivered;
    ComPtr<CFilterGraph> graph;
    ComPtr<CPushSource> source;
    ComPtr<CResizeFilter> filter;
    ComPtr<CSampleSink> sink;
};

// Every test leaves no object of the module alive.
class FilterTest : public ::testing::Test {
protected:
    void SetUp() override { m_before = ModuleObjectCount(); }
    void TearDown() override { EXPECT_EQ(ModuleObjectCount(), m_before) << "objects leaked"; }

private:
    LONG m_before = 0;
};

}  // namespace rftest
