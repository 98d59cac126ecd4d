// Every interface method refuses null out-pointers and calls in the wrong
// state instead of crashing.
#include "test_filters.h"

namespace fwtest {
namespace {

class BadInput : public FrameworkTest {};

TEST_F(BadInput, FilterAndPinMethodsRefuseNullPointers)
{
    Pipeline p(Yuy2Type(4, 4));
    IBaseFilter* filter = p.filter.Get();
    EXPECT_EQ(filter->GetState(0, nullptr), E_POINTER);
    EXPECT_EQ(filter->GetClassID(nullptr), E_POINTER);
    EXPECT_EQ(filter->EnumPins(nullptr), E_POINTER);
    EXPECT_EQ(filter->QueryFilterInfo(nullptr), E_POINTER);
    EXPECT_EQ(filter->QueryVendorInfo(nullptr), E_POINTER);
    EXPECT_EQ(filter->GetSyncSource(nullptr), E_POINTER);
    EXPECT_EQ(filter->QueryInterface(IID_IBaseFilter, nullptr), E_POINTER);
    LPWSTR vendor = reinterpret_cast<LPWSTR>(1);
    EXPECT_EQ(filter->QueryVendorInfo(&vendor), E_NOTIMPL);
    EXPECT_EQ(vendor, nullptr);
    IReferenceClock* clock = reinterpret_cast<IReferenceClock*>(1);
    EXPECT_EQ(filter->GetSyncSource(&clock), S_OK);
    EXPECT_EQ(clock, nullptr);
    for (IPin* pin : {static_cast<IPin*>(p.filter->Input()), static_cast<IPin*>(p.filter->Output()),
                      static_cast<IPin*>(p.source->GetPin(0)), static_cast<IPin*>(p.sink->GetPin(0))}) {
        EXPECT_EQ(pin->Connect(nullptr, nullptr), E_POINTER);
        EXPECT_EQ(pin->ReceiveConnection(nullptr, nullptr), E_POINTER);
        EXPECT_EQ(pin->ReceiveConnection(p.source->GetPin(0), nullptr), E_POINTER);
        EXPECT_EQ(pin->ConnectedTo(nullptr), E_POINTER);
        EXPECT_EQ(pin->ConnectionMediaType(nullptr), E_POINTER);
        EXPECT_EQ(pin->QueryPinInfo(nullptr), E_POINTER);
        EXPECT_EQ(pin->QueryDirection(nullptr), E_POINTER);
        EXPECT_EQ(pin->QueryId(nullptr), E_POINTER);
        EXPECT_EQ(pin->QueryAccept(nullptr), E_POINTER);
        EXPECT_EQ(pin->EnumMediaTypes(nullptr), E_POINTER);
        EXPECT_EQ(pin->QueryInternalConnections(nullptr, nullptr), E_POINTER);
        EXPECT_EQ(pin->Disconnect(), S_FALSE);
    }
}

TEST_F(BadInput, ReceiveConnectionWhileActiveIsRefused)
{
    Pipeline p(Yuy2Type(4, 4), 0);
    ASSERT_EQ(p.graph->ConnectFilters(p.source.Get(), p.filter.Get()), S_OK);
    ASSERT_EQ(p.graph->Pause(), S_OK);
    CMediaType type = Yuy2Type(4, 4);
    EXPECT_EQ(p.sink->GetPin(0)->ReceiveConnection(p.filter->Output(), &type), VFW_E_NOT_STOPPED);
    EXPECT_EQ(p.filter->Output()->Connect(p.sink->GetPin(0), nullptr), VFW_E_NOT_STOPPED);
    EXPECT_EQ(p.graph->ConnectFilters(p.filter.Get(), p.sink.Get()), VFW_E_NOT_STOPPED);
    EXPECT_EQ(p.graph->RemoveFilter(p.sink.Get()), VFW_E_NOT_STOPPED);
    ASSERT_EQ(p.graph->Stop(), S_OK);
}

TEST_F(BadInput, EnumeratorsRefuseNullsAndCountsOverTheEnd)
{
    Pipeline p(Yuy2Type(4, 4));
    IEnumPins* pins = nullptr;
    ASSERT_EQ(p.filter->EnumPins(&pins), S_OK);
    IPin* got[2] = {};
    EXPECT_EQ(pins->Next(1, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(pins->Next(2, got, nullptr), E_INVALIDARG);
    EXPECT_EQ(pins->Skip(0xFFFFFFFFu), S_FALSE);
    ULONG fetched = 9;
    EXPECT_EQ(pins->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(pins->Clone(nullptr), E_POINTER);
    pins->Release();

    ASSERT_EQ(p.Connect(), S_OK);
    IEnumMediaTypes* types = nullptr;
    ASSERT_EQ(p.filter->Output()->EnumMediaTypes(&types), S_OK);
    EXPECT_EQ(types->Next(1, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(types->Skip(5), S_FALSE);
    EXPECT_EQ(types->Reset(), S_OK);
    IEnumMediaTypes* clone = nullptr;
    ASSERT_EQ(types->Clone(&clone), S_OK);
    AM_MEDIA_TYPE* mt = nullptr;
    EXPECT_EQ(clone->Next(1, &mt, nullptr), S_OK);
    DeleteMediaType(mt);
    EXPECT_EQ(types->Clone(nullptr), E_POINTER);
    clone->Release();
    types->Release();
}

TEST_F(BadInput, StreamEventsOnTheWrongPinOrState)
{
    Pipeline p(Yuy2Type(4, 4), 0);
    ASSERT_EQ(p.Connect(), S_OK);
    EXPECT_EQ(p.filter->Output()->BeginFlush(), E_UNEXPECTED);
    EXPECT_EQ(p.filter->Output()->EndFlush(), E_UNEXPECTED);
    EXPECT_EQ(p.filter->Input()->EndOfStream(), VFW_E_WRONG_STATE);  // stopped
    ASSERT_EQ(p.graph->Disconnect(p.filter->Output()), S_OK);
    EXPECT_EQ(p.filter->Input()->BeginFlush(), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(p.filter->Input()->EndFlush(), VFW_E_NOT_CONNECTED);
}

}  // namespace
}  // namespace fwtest
