// The resize filter's per-sample path: CResizeFilter::Transform on
// allocator samples (lock, sample bookkeeping, last-frame copy, resize)
// beside the bare prepared TulImage::ResizeYUY2 of the same geometry, and
// a memcpy of the input frame, the copy the filter keeps for snapshots.
// Transform is called directly, not through the graph's streaming
// thread, so only the filter's own work is timed.
#include "filter/framework/push_source.h"
#include "filter/resize_filter.h"
#include "image/TulImage.h"
#include "platform/com/com_ptr.h"
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/filter_graph.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr LONG kSrcWidth = 720, kSrcHeight = 480, kOutWidth = 320, kOutHeight = 240;
constexpr LONG kSrcBytes = kSrcWidth * kSrcHeight * 2;
constexpr LONG kOutBytes = kOutWidth * kOutHeight * 2;

CMediaType SourceType()
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_YUY2);
    mt.SetFormatType(&FORMAT_VideoInfo);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = kSrcWidth;
    vih->bmiHeader.biHeight = kSrcHeight;
    vih->bmiHeader.biBitCount = 16;
    vih->bmiHeader.biSizeImage = kSrcBytes;
    mt.SetSampleSize(kSrcBytes);
    return mt;
}

void Randomise(BYTE* p, std::size_t n)
{
    std::mt19937 rng(11);
    for (std::size_t i = 0; i < n; ++i)
        p[i] = static_cast<BYTE>(rng() >> 24);
}

// One committed sample of `bytes` from an allocator of its own.
struct OneSample {
    explicit OneSample(LONG bytes)
    {
        CMemAllocator::CreateInstance(allocator.ReleaseAndGetAddressOf());
        ALLOCATOR_PROPERTIES request{1, bytes, 16, 0};
        ALLOCATOR_PROPERTIES actual{};
        allocator->SetProperties(&request, &actual);
        allocator->Commit();
        allocator->GetBuffer(sample.ReleaseAndGetAddressOf(), nullptr, nullptr, 0);
    }
    ~OneSample()
    {
        sample.Reset();
        allocator->Decommit();
    }
    BYTE* Data()
    {
        BYTE* p = nullptr;
        sample->GetPointer(&p);
        return p;
    }
    ComPtr<IMemAllocator> allocator;
    ComPtr<IMediaSample> sample;
};

void SetCounters(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kSrcBytes));
}

void BM_FilterTransform(benchmark::State& state, LONG mode)
{
    ComPtr<CFilterGraph> graph;
    CFilterGraph::Create(graph.ReleaseAndGetAddressOf());
    CPushSource* rawSource = nullptr;
    CPushSource::Create(SourceType(), [](PushFrame&) { return S_FALSE; }, &rawSource);
    auto source = ComPtr<CPushSource>::Attach(rawSource);
    HRESULT hr = S_OK;
    auto* filter = static_cast<CResizeFilter*>(CResizeFilter::CreateInstance(nullptr, &hr));
    filter->AddRef();
    auto holder = ComPtr<CResizeFilter>::Attach(filter);
    graph->AddFilter(source.Get(), L"source");
    graph->AddFilter(filter, kResizeFilterName);
    if (graph->ConnectFilters(source.Get(), filter) != S_OK) {
        state.SkipWithError("input connection failed");
        return;
    }
    filter->SetResizeMode(mode);

    OneSample in(kSrcBytes);
    OneSample out(kOutBytes);
    Randomise(in.Data(), kSrcBytes);
    in.sample->SetActualDataLength(kSrcBytes);
    for (auto _ : state) {
        if (filter->Transform(in.sample.Get(), out.sample.Get()) != S_OK) {
            state.SkipWithError("Transform failed");
            break;
        }
        benchmark::DoNotOptimize(out.Data()[0]);
    }
    SetCounters(state);
}

// What the filter's streaming slot does, with nothing around it.
void BM_BareResizeYUY2(benchmark::State& state, LONG pictureHeight)
{
    TulImage image;
    const tagRECT srcRect{0, 0, kSrcWidth, kSrcHeight};
    const tagRECT dstRect{0, 0, kOutWidth, pictureHeight};
    image.InitializeEx(kSrcWidth, kSrcHeight, srcRect, kOutWidth, kOutHeight, dstRect,
                       TulImage::INTERPOLATION_LINEAR);
    std::vector<BYTE> src(kSrcBytes);
    std::vector<BYTE> dst(kOutBytes);
    Randomise(src.data(), src.size());
    for (auto _ : state) {
        ULONG size = kOutBytes;
        if (image.ResizeYUY2(src.data(), dst.data(), &size) != 0) {
            state.SkipWithError("resize failed");
            break;
        }
        benchmark::DoNotOptimize(dst[0]);
    }
    SetCounters(state);
}

void BM_CopyInputFrame(benchmark::State& state)
{
    std::vector<BYTE> src(kSrcBytes);
    std::vector<BYTE> dst(kSrcBytes);
    Randomise(src.data(), src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst[0]);
    }
    SetCounters(state);
}

}  // namespace

BENCHMARK_CAPTURE(BM_FilterTransform, stretch_720x480_to_320x240, RESIZE_MODE_FIT);
BENCHMARK_CAPTURE(BM_BareResizeYUY2, stretch_720x480_to_320x240, kOutHeight);
// Keep-aspect: a 3:2 source of square pixels in 320 x 240 is 320 x 213.
BENCHMARK_CAPTURE(BM_FilterTransform, keep_aspect_720x480_to_320x240, RESIZE_MODE_KEEP_ASPECT);
BENCHMARK_CAPTURE(BM_BareResizeYUY2, keep_aspect_720x480_to_320x240, 213);
BENCHMARK(BM_CopyInputFrame);

BENCHMARK_MAIN();
