// Filters and helpers for the framework tests: YUY2 video types, an
// inverting transform built on CTransformFilter that logs the calls the
// framework makes, and a source -> transform -> sink pipeline.
#pragma once

#include "tests/support/graph_harness.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace fwtest {

using namespace filtertest;

DEFINE_GUID(CLSID_TestTransform, 0x5b0c3a51, 0x2f7e, 0x4d6a, 0x9e, 0x11, 0x70, 0x4c, 0x28, 0xd3, 0x6b, 0x01);

// A YUY2 type of width x height; a VIDEOINFOHEADER2 block has aspect 4:3
// and the interlaced flag.
inline CMediaType Yuy2Type(LONG width, LONG height, bool videoInfo2 = false, WORD bitCount = 16)
{
    return videoInfo2 ? VideoType(width, height, Block::VideoInfo2, 4, 3, AMINTERLACE_IsInterlaced, bitCount)
                      : VideoType(width, height, Block::VideoInfo, 0, 0, 0, bitCount);
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
    HRESULT StartStreaming() override { Log("StartStreaming"); return startResult; }
    HRESULT StopStreaming() override { Log("StopStreaming"); return S_OK; }
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

// Frame i of a test stream: every byte is (i * 7 + offset) & 0xFF.
inline BYTE FrameByte(ULONG index, LONG offset) { return static_cast<BYTE>((index * 7 + static_cast<ULONG>(offset)) & 0xFF); }

inline ComPtr<CInvertFilter> MakeInvert()
{
    auto filter = ComPtr<CInvertFilter>::Attach(new CInvertFilter(nullptr));
    filter->AddRef();
    return filter;
}

// source -> invert -> sink in a graph. The source sends `frames` frames
// (negative: forever), every third a sync point; `customise` may change a
// frame further.
class Pipeline : public TestGraph<CInvertFilter> {
public:
    explicit Pipeline(const CMediaType& type, int frames = 5, std::function<void(PushFrame&)> customise = nullptr)
        : TestGraph(type, frames, MakeInvert(), L"invert", [customise](PushFrame& f) -> HRESULT {
              for (LONG i = 0; i < f.lActual; ++i)
                  f.pData[i] = FrameByte(f.index, i);
              f.syncPoint = f.index % 3 == 0;
              if (customise)
                  customise(f);
              return S_OK;
          })
    {
    }
};

using FrameworkTest = LeakCheckedTest;

}  // namespace fwtest
