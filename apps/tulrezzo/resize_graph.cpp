// Graph assembly. Every COM object is held by a ComPtr so a failure at any
// step releases what was made before it.
#include "apps/tulrezzo/resize_graph.h"

#include "apps/tulrezzo/app_error.h"
#include "filter/resize_filter.h"

#include <cstdio>
#include <limits>

namespace tulrezzo {

namespace {

// 'YUY2' as a little-endian FOURCC.
constexpr DWORD kYuy2FourCC = 0x32595559;

void Require(HRESULT hr, const char* what)
{
    if (FAILED(hr))
        throw Failure(std::string(what) + ": " + HresultText(hr));
}

}  // namespace

std::string HresultText(HRESULT hr)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    const char* meaning = nullptr;
    switch (hr) {
    case E_OUTOFMEMORY: meaning = "out of memory"; break;
    case E_INVALIDARG: meaning = "invalid argument"; break;
    case E_FAIL: meaning = "failed"; break;
    case E_UNEXPECTED: meaning = "unexpected call"; break;
    case VFW_E_TYPE_NOT_ACCEPTED: meaning = "media type not accepted"; break;
    case VFW_E_INVALIDMEDIATYPE: meaning = "invalid media type"; break;
    default: break;
    }
    return meaning ? std::string(code) + " (" + meaning + ")" : std::string(code);
}

REFERENCE_TIME FrameStart(ULONG index, Ratio rate)
{
    const long double start = static_cast<long double>(index) * UNITS * rate.den / rate.num;
    constexpr long double limit = static_cast<long double>(std::numeric_limits<REFERENCE_TIME>::max() / 2);
    return start < limit ? static_cast<REFERENCE_TIME>(start) : static_cast<REFERENCE_TIME>(limit);
}

CMediaType Yuy2MediaType(const StreamInfo& info)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_YUY2);
    mt.SetFormatType(&FORMAT_VideoInfo2);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER2*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
    if (vih == nullptr)
        throw Failure("out of memory");
    vih->AvgTimePerFrame = FrameStart(1, info.rate);
    vih->dwPictAspectRatioX = static_cast<DWORD>(info.pictureAspect.num);
    vih->dwPictAspectRatioY = static_cast<DWORD>(info.pictureAspect.den);
    if (info.Interlaced()) {
        vih->dwInterlaceFlags = AMINTERLACE_IsInterlaced;
        if (info.interlaceTag != 'b')
            vih->dwInterlaceFlags |= AMINTERLACE_Field1First;
    }
    BITMAPINFOHEADER& bih = vih->bmiHeader;
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = info.size.width;
    bih.biHeight = info.size.height;
    bih.biPlanes = 1;
    bih.biBitCount = 16;
    bih.biCompression = kYuy2FourCC;
    bih.biSizeImage = info.FrameBytes();
    mt.SetSampleSize(info.FrameBytes());
    return mt;
}

ResizeGraph::ResizeGraph(const StreamInfo& input, const FilterSettings& settings, PushFrameCallback source,
                         SampleCallback sink)
{
    Require(CFilterGraph::Create(m_graph.ReleaseAndGetAddressOf()), "cannot create the filter graph");

    CPushSource* rawSource = nullptr;
    Require(CPushSource::Create(Yuy2MediaType(input), std::move(source), &rawSource), "cannot create the source");
    m_source = ComPtr<CPushSource>::Attach(rawSource);

    HRESULT hr = S_OK;
    CUnknown* filter = CResizeFilter::CreateInstance(nullptr, &hr);
    if (filter == nullptr)
        Require(FAILED(hr) ? hr : E_OUTOFMEMORY, "cannot create the Vexo Tul Rezzo Filter");
    // The creation function hands out no reference: hold one while asking.
    filter->NonDelegatingAddRef();
    hr = filter->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(m_filter.ReleaseAndGetAddressOf()));
    filter->NonDelegatingRelease();
    Require(hr, "the filter has no IBaseFilter");
    Require(m_filter.As(IID_IResizeSettings, &m_settings), "the filter has no IResizeSettings");
    Require(m_filter.As(IID_IResizeSnapshot, &m_snapshot), "the filter has no IResizeSnapshot");

    CSampleSink* rawSink = nullptr;
    Require(CSampleSink::Create(std::move(sink), &rawSink), "cannot create the sink");
    m_sink = ComPtr<CSampleSink>::Attach(rawSink);

    // S_FALSE is the filter's refusal, so test for S_OK exactly.
    if (m_settings->SetOutputSize(settings.size.width, settings.size.height) != S_OK)
        throw Failure("the filter refused the output size " + FormatSize(settings.size));
    if (m_settings->SetOutputAspectRatio(settings.outputAspect.num, settings.outputAspect.den) != S_OK)
        throw Failure("the filter refused the output aspect " + std::to_string(settings.outputAspect.num) + ":" +
                      std::to_string(settings.outputAspect.den));
    Require(m_settings->SetResizeMode(settings.mode), "cannot set the resize mode");
    Require(m_settings->SetDeinterlaceMethod(settings.method), "cannot set the deinterlace method");
    Require(m_settings->SetDeinterlacePolicy(settings.policy), "cannot set the deinterlace policy");

    Require(m_graph->AddFilter(m_source.Get(), L"source"), "cannot add the source");
    Require(m_graph->AddFilter(m_filter.Get(), L"Vexo Tul Rezzo Filter"), "cannot add the filter");
    Require(m_graph->AddFilter(m_sink.Get(), L"sink"), "cannot add the sink");
    Require(m_graph->ConnectFilters(m_source.Get(), m_filter.Get()), "the filter refused the input");
    Require(m_graph->ConnectFilters(m_filter.Get(), m_sink.Get()), "cannot connect the filter's output");
}

ResizeGraph::~ResizeGraph()
{
    if (m_graph)
        m_graph->Stop();
}

}  // namespace tulrezzo
