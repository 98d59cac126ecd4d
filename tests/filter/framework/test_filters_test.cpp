// The push source and sample sink themselves: argument checks, buffer
// sizing from the type, and streams the source must end or abort.
#include "test_filters.h"

#include <thread>

namespace fwtest {
namespace {

class PushSourceAndSink : public FrameworkTest {};

TEST_F(PushSourceAndSink, CreationAndTheStoppedSinkCheckTheirArguments)
{
    const CMediaType type = Yuy2Type(4, 4);
    CPushSource* source = reinterpret_cast<CPushSource*>(1);
    auto ok = [](PushFrame&) { return S_OK; };
    EXPECT_EQ(CPushSource::Create(type, ok, nullptr), E_POINTER);
    EXPECT_EQ(CPushSource::Create(type, nullptr, &source), E_INVALIDARG);
    EXPECT_EQ(source, nullptr);
    EXPECT_EQ(CPushSource::Create(type, ok, &source, 0), E_INVALIDARG);
    EXPECT_EQ(CPushSource::Create(type, ok, &source, 2, -1), E_INVALIDARG);
    CSampleSink* sink = reinterpret_cast<CSampleSink*>(1);
    EXPECT_EQ(CSampleSink::Create(nullptr, &sink), E_INVALIDARG);
    EXPECT_EQ(sink, nullptr);
    EXPECT_EQ(CSampleSink::Create([](IMediaSample*) { return S_OK; }, nullptr), E_POINTER);

    // A sink outside a running graph refuses the end of the stream, and
    // its input refuses null arguments.
    ASSERT_EQ(CSampleSink::Create([](IMediaSample*) { return S_OK; }, &sink), S_OK);
    EXPECT_EQ(sink->GetPin(0)->EndOfStream(), VFW_E_WRONG_STATE);
    IMemInputPin* input = nullptr;
    ASSERT_EQ(sink->GetPin(0)->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input)), S_OK);
    ALLOCATOR_PROPERTIES props{};
    EXPECT_EQ(input->GetAllocatorRequirements(&props), E_NOTIMPL);
    EXPECT_EQ(input->GetAllocatorRequirements(nullptr), E_POINTER);
    EXPECT_EQ(input->NotifyAllocator(nullptr, FALSE), E_POINTER);
    EXPECT_EQ(input->GetAllocator(nullptr), E_POINTER);
    LONG done = -1;
    EXPECT_EQ(input->ReceiveMultiple(nullptr, 0, &done), E_POINTER);
    input->Release();
    sink->Release();
}

TEST_F(PushSourceAndSink, SourceOffersExactlyItsType)
{
    CPushSource* source = nullptr;
    ASSERT_EQ(CPushSource::Create(Yuy2Type(6, 2), [](PushFrame&) { return S_FALSE; }, &source), S_OK);
    IPin* pin = source->GetPin(0);
    EXPECT_EQ(source->GetPin(1), nullptr);
    CMediaType same = Yuy2Type(6, 2);
    CMediaType other = Yuy2Type(6, 4);
    EXPECT_EQ(pin->QueryAccept(&same), S_OK);
    EXPECT_EQ(pin->QueryAccept(&other), S_FALSE);
    EXPECT_EQ(pin->QueryAccept(nullptr), E_POINTER);
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(pin->EnumMediaTypes(&types), S_OK);
    AM_MEDIA_TYPE* got[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(2, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_TRUE(CMediaType(*got[0]) == same);
    DeleteMediaType(got[0]);
    EXPECT_EQ(types->Next(2, got, nullptr), E_INVALIDARG);
    types->Release();
    PIN_DIRECTION dir;
    EXPECT_EQ(pin->QueryDirection(&dir), S_OK);
    EXPECT_EQ(dir, PINDIR_OUTPUT);
    EXPECT_EQ(pin->EndOfStream(), E_UNEXPECTED);
    source->Release();
}

TEST_F(PushSourceAndSink, BuffersFollowTheTypeWhichMustHaveASize)
{
    Pipeline p(Yuy2Type(10, 6), 1);
    ASSERT_EQ(p.Connect(), S_OK);
    ALLOCATOR_PROPERTIES props{};
    p.filter->Input()->Allocator()->GetProperties(&props);
    EXPECT_EQ(props.cBuffers, 2);
    EXPECT_EQ(props.cbBuffer, 10 * 6 * 2);

    // A type without a size cannot connect.
    CMediaType sizeless = Yuy2Type(4, 4);
    BitmapHeaderOf(sizeless)->biSizeImage = 0;
    sizeless.SetVariableSize();
    Pipeline q(sizeless, 1);
    EXPECT_EQ(q.graph->ConnectFilters(q.source.Get(), q.filter.Get()), VFW_E_SIZENOTSET);
    EXPECT_FALSE(q.filter->Input()->IsConnected());
}

struct AbortCase {
    const char* name;
    std::function<HRESULT(PushFrame&)> callback;
    HRESULT sinkResult;
    HRESULT expected;
};

class SourceAborts : public PushSourceAndSink, public ::testing::WithParamInterface<int> {};

// Bad frames abort the stream before anything is delivered; a sink's
// failure is returned upstream and aborts it after the first frame.
TEST_P(SourceAborts, BadFramesAndSinkFailuresAbortTheStream)
{
    const std::vector<AbortCase> cases = {
        {"overlong", [](PushFrame& f) { f.lActual = f.cbBuffer + 1; return S_OK; }, S_OK, VFW_E_BUFFER_OVERFLOW},
        {"negative", [](PushFrame& f) { f.lActual = -1; return S_OK; }, S_OK, VFW_E_BUFFER_OVERFLOW},
        {"times", [](PushFrame& f) { f.hasStart = f.hasStop = true; f.tStart = 5; f.tStop = 1; return S_OK; },
         S_OK, VFW_E_START_TIME_AFTER_END},
        {"failure", [](PushFrame&) { return E_OUTOFMEMORY; }, S_OK, E_OUTOFMEMORY},
        {"throws", [](PushFrame&) -> HRESULT { throw 3; }, S_OK, E_FAIL},
        {"sink", [](PushFrame&) { return S_OK; }, E_ABORT, E_ABORT},
    };
    const AbortCase& c = cases[static_cast<std::size_t>(GetParam())];
    CPushSource* source = nullptr;
    ASSERT_EQ(CPushSource::Create(Yuy2Type(4, 4), c.callback, &source), S_OK);
    std::atomic<LONG> received{0};
    CSampleSink* sink = nullptr;
    ASSERT_EQ(CSampleSink::Create([&](IMediaSample*) { ++received; return c.sinkResult; }, &sink), S_OK);
    CFilterGraph* graph = nullptr;
    ASSERT_EQ(CFilterGraph::Create(&graph), S_OK);
    graph->AddFilter(source, L"source");
    graph->AddFilter(sink, L"sink");
    ASSERT_EQ(graph->ConnectFilters(source, sink), S_OK);
    ASSERT_EQ(graph->Run(), S_OK);
    LONG code = 0;
    EXPECT_EQ(graph->WaitForCompletion(10000, &code), S_OK);
    EXPECT_EQ(code, EC_ERRORABORT) << c.name;
    EXPECT_EQ(graph->LastAbortCode(), c.expected) << c.name;
    EXPECT_EQ(source->StreamResult(), c.expected) << c.name;
    EXPECT_EQ(received, c.sinkResult == S_OK ? 0 : 1);
    // The end of stream follows the abort report on the source's thread.
    while (sink->EndOfStreamCount() == 0)
        std::this_thread::yield();
    graph->Stop();
    source->Release();
    sink->Release();
    graph->Release();
}

INSTANTIATE_TEST_SUITE_P(Cases, SourceAborts, ::testing::Range(0, 6));

}  // namespace
}  // namespace fwtest
