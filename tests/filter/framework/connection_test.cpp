// Pin connection: type negotiation, the order of the transform's hooks,
// allocator agreement, refusals and disconnection.
#include "test_filters.h"

#include <cwchar>

namespace fwtest {
namespace {

class Connection : public FrameworkTest {};

TEST_F(Connection, NegotiatesTypesAndSizesBuffersInOrder)
{
    Pipeline p(Yuy2Type(64, 48, true));
    ASSERT_EQ(p.Connect(), S_OK);
    EXPECT_TRUE(p.filter->Input()->CurrentMediaType() == Yuy2Type(64, 48, true));
    EXPECT_TRUE(p.filter->Output()->CurrentMediaType() == Yuy2Type(64, 48, true));
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(p.sink->GetPin(0)->ConnectionMediaType(&mt), S_OK);
    EXPECT_TRUE(CMediaType(mt) == Yuy2Type(64, 48, true));
    FreeMediaType(mt);
    IPin* peer = nullptr;
    ASSERT_EQ(p.filter->Input()->ConnectedTo(&peer), S_OK);
    EXPECT_EQ(peer, static_cast<IPin*>(p.source->GetPin(0)));
    peer->Release();

    const std::vector<std::string> expected = {
        "CheckInputType",       "CompleteConnect(in)", "GetMediaType", "GetMediaType",
        "CheckTransform",       "DecideBufferSize",    "CompleteConnect(out)"};
    EXPECT_EQ(p.filter->TakeLog(), expected);

    ALLOCATOR_PROPERTIES props{};
    ASSERT_NE(p.filter->Output()->Allocator(), nullptr);
    p.filter->Output()->Allocator()->GetProperties(&props);
    EXPECT_EQ(props.cBuffers, 3);
    EXPECT_EQ(props.cbBuffer, 64 * 48 * 2);
    // Downstream uses the allocator the output pin agreed.
    EXPECT_EQ(static_cast<CBaseInputPin*>(p.sink->GetPin(0))->Allocator(), p.filter->Output()->Allocator());
}

TEST_F(Connection, PinsNamesDirectionsAndDirectConnections)
{
    Pipeline p(Yuy2Type(16, 16));
    PIN_INFO info{};
    ASSERT_EQ(p.filter->Input()->QueryPinInfo(&info), S_OK);
    EXPECT_EQ(info.dir, PINDIR_INPUT);
    EXPECT_EQ(info.pFilter, static_cast<IBaseFilter*>(p.filter.Get()));
    info.pFilter->Release();

    for (const wchar_t* id : {L"In", L"Out"}) {
        IPin* pin = nullptr;
        ASSERT_EQ(p.filter->FindPin(id, &pin), S_OK) << id;
        LPWSTR got = nullptr;
        ASSERT_EQ(pin->QueryId(&got), S_OK);
        EXPECT_STREQ(got, id);
        CoTaskMemFree(got);
        pin->Release();
    }
    IPin* pin = reinterpret_cast<IPin*>(1);
    EXPECT_EQ(p.filter->FindPin(L"XForm In", &pin), VFW_E_NOT_FOUND);
    EXPECT_EQ(pin, nullptr);
    EXPECT_EQ(p.filter->FindPin(nullptr, &pin), E_POINTER);
    EXPECT_EQ(p.filter->FindPin(L"In", nullptr), E_POINTER);

    IBaseFilter* found = nullptr;
    ASSERT_EQ(p.graph->FindFilterByName(L"invert", &found), S_OK);
    EXPECT_EQ(found, static_cast<IBaseFilter*>(p.filter.Get()));
    found->Release();
    FILTER_INFO named{};
    ASSERT_EQ(p.sink->QueryFilterInfo(&named), S_OK);
    EXPECT_STREQ(named.achName, L"sink");
    EXPECT_EQ(named.pGraph, static_cast<IFilterGraph*>(p.graph.Get()));
    named.pGraph->Release();
    EXPECT_EQ(p.graph->AddFilter(p.sink.Get(), L"other"), E_INVALIDARG);
    // A sink refused for its name stays outside the graph: its pin cannot be connected.
    CSampleSink* stranger = nullptr;
    ASSERT_EQ(CSampleSink::Create([](IMediaSample*) { return S_OK; }, &stranger), S_OK);
    EXPECT_EQ(p.graph->AddFilter(stranger, L"sink"), VFW_E_DUPLICATE_NAME);
    EXPECT_EQ(p.graph->ConnectDirect(p.source->GetPin(0), stranger->GetPin(0), nullptr), VFW_E_NOT_IN_GRAPH);
    stranger->Release();

    IPin* in = p.filter->Input();
    IPin* sinkIn = p.sink->GetPin(0);
    EXPECT_EQ(in->Connect(sinkIn, nullptr), VFW_E_INVALID_DIRECTION);
    EXPECT_EQ(p.source->GetPin(0)->Connect(p.filter->Output(), nullptr), VFW_E_INVALID_DIRECTION);
    CMediaType same = Yuy2Type(16, 16), other = Yuy2Type(32, 32);
    EXPECT_EQ(in->ReceiveConnection(sinkIn, &same), VFW_E_INVALID_DIRECTION);
    EXPECT_FALSE(p.filter->Input()->IsConnected());
    // A fully specified type is tried alone.
    EXPECT_EQ(p.graph->ConnectDirect(p.source->GetPin(0), in, &other), VFW_E_TYPE_NOT_ACCEPTED);
    EXPECT_EQ(p.graph->ConnectDirect(p.source->GetPin(0), in, &same), S_OK);
}

TEST_F(Connection, RefusedTypeLeavesBothPinsUnconnected)
{
    CMediaType truncated = Yuy2Type(16, 16);
    truncated.ReallocFormatBuffer(sizeof(VIDEOINFOHEADER) - 4);
    for (const CMediaType& bad : {Yuy2Type(16, 16, false, 24), Yuy2Type(16, 16, true, 12), truncated}) {
        Pipeline p(bad);
        EXPECT_EQ(p.graph->ConnectFilters(p.source.Get(), p.filter.Get()), VFW_E_NO_ACCEPTABLE_TYPES);
        EXPECT_FALSE(p.filter->Input()->IsConnected());
        EXPECT_FALSE(p.source->GetPin(0)->IsConnected());
        IPin* peer = reinterpret_cast<IPin*>(1);
        EXPECT_EQ(p.filter->Input()->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
        EXPECT_EQ(peer, nullptr);
        AM_MEDIA_TYPE mt;
        EXPECT_EQ(p.filter->Input()->ConnectionMediaType(&mt), VFW_E_NOT_CONNECTED);
        EXPECT_EQ(mt.pbFormat, nullptr);
    }
}

// The output connects only after the input (offering no type before), and
// a sink refusing its type or an allocator that cannot be agreed leaves it
// unconnected on both ends.
TEST_F(Connection, OutputFailuresLeaveItUnconnected)
{
    Pipeline p(Yuy2Type(16, 16));
    EXPECT_TRUE(FAILED(p.graph->ConnectFilters(p.filter.Get(), p.sink.Get())));
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(p.filter->Output()->EnumMediaTypes(&types), S_OK);
    AM_MEDIA_TYPE* mt = nullptr;
    ULONG fetched = 7;
    EXPECT_EQ(types->Next(1, &mt, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    types->Release();
    ASSERT_EQ(p.graph->ConnectFilters(p.source.Get(), p.filter.Get()), S_OK);
    p.sink->SetAcceptedType(MEDIATYPE_Video, MEDIASUBTYPE_NULL, FORMAT_VideoInfo2);
    EXPECT_EQ(p.graph->ConnectFilters(p.filter.Get(), p.sink.Get()), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(p.filter->Output()->Allocator(), nullptr);
    EXPECT_FALSE(p.filter->Output()->IsConnected());
    EXPECT_FALSE(p.sink->GetPin(0)->IsConnected());

    Pipeline q(Yuy2Type(16, 16));
    q.filter->buffers = -1;  // cannot be granted
    q.sink->SetAllocatorRequirements(ALLOCATOR_PROPERTIES{0, 0, 3, 0});  // bad alignment
    ASSERT_EQ(q.graph->ConnectFilters(q.source.Get(), q.filter.Get()), S_OK);
    EXPECT_EQ(q.graph->ConnectFilters(q.filter.Get(), q.sink.Get()), VFW_E_BADALIGN);
    EXPECT_FALSE(q.filter->Output()->IsConnected());
    EXPECT_FALSE(q.sink->GetPin(0)->IsConnected());
}

TEST_F(Connection, ConnectingTwiceOrWhileRunningIsRefusedAndRemovalDisconnects)
{
    Pipeline p(Yuy2Type(16, 16), -1);
    ASSERT_EQ(p.Connect(), S_OK);
    IPin* out = p.source->GetPin(0);
    IPin* in = p.filter->Input();
    EXPECT_EQ(out->Connect(in, nullptr), VFW_E_ALREADY_CONNECTED);
    EXPECT_EQ(in->Connect(out, nullptr), VFW_E_ALREADY_CONNECTED);
    ASSERT_EQ(p.graph->Run(), S_OK);
    EXPECT_EQ(p.graph->Disconnect(in), VFW_E_NOT_STOPPED);
    EXPECT_EQ(in->Disconnect(), VFW_E_NOT_STOPPED);
    EXPECT_EQ(p.graph->AddFilter(p.source.Get(), L"again"), VFW_E_NOT_STOPPED);
    ASSERT_EQ(p.graph->Stop(), S_OK);
    EXPECT_EQ(in->Disconnect(), S_OK);
    EXPECT_EQ(in->Disconnect(), S_FALSE);
    EXPECT_EQ(out->Disconnect(), S_OK);
    EXPECT_FALSE(p.filter->Input()->IsConnected());
    // Removing a filter disconnects both its ends and leaves it outside the graph.
    ASSERT_EQ(p.ConnectInput(), S_OK);
    EXPECT_EQ(p.graph->RemoveFilter(p.filter.Get()), S_OK);
    EXPECT_FALSE(p.source->GetPin(0)->IsConnected());
    EXPECT_FALSE(p.sink->GetPin(0)->IsConnected());
    EXPECT_FALSE(p.filter->Input()->IsConnected());
    EXPECT_EQ(p.graph->RemoveFilter(p.filter.Get()), VFW_E_NOT_FOUND);
    FILTER_INFO info{};
    ASSERT_EQ(p.filter->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(info.pGraph, nullptr);
}

}  // namespace
}  // namespace fwtest
