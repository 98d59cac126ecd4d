// The filter graph's own checks, without filters.
#include "platform/dshow/filter_graph.h"

#include <gtest/gtest.h>

namespace {

TEST(FilterGraph, EmptyGraphChecksItsArguments)
{
    EXPECT_EQ(CFilterGraph::Create(nullptr), E_POINTER);
    CFilterGraph* graph = nullptr;
    ASSERT_EQ(CFilterGraph::Create(&graph), S_OK);

    EXPECT_EQ(graph->AddFilter(nullptr, L"x"), E_POINTER);
    EXPECT_EQ(graph->RemoveFilter(nullptr), E_POINTER);
    EXPECT_EQ(graph->ConnectDirect(nullptr, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(graph->Disconnect(nullptr), E_POINTER);
    IBaseFilter* found = reinterpret_cast<IBaseFilter*>(1);
    EXPECT_EQ(graph->FindFilterByName(L"none", &found), VFW_E_NOT_FOUND);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(graph->FindFilterByName(nullptr, &found), E_POINTER);
    EXPECT_EQ(graph->GetState(nullptr), E_POINTER);

    LONG code = -1;
    EXPECT_EQ(graph->WaitForCompletion(0, &code), VFW_E_WRONG_STATE);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(graph->WaitForCompletion(0, nullptr), E_POINTER);

    // An empty graph runs and stops; with no renderer it never completes.
    EXPECT_EQ(graph->Run(), S_OK);
    FILTER_STATE state;
    EXPECT_EQ(graph->GetState(&state), S_OK);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(graph->WaitForCompletion(1, &code), E_ABORT);
    EXPECT_EQ(graph->Stop(), S_OK);
    EXPECT_EQ(graph->GetState(&state), S_OK);
    EXPECT_EQ(state, State_Stopped);

    void* sink = nullptr;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaEventSink, &sink), S_OK);
    static_cast<IMediaEventSink*>(sink)->Release();
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(graph->QueryInterface(IID_IPin, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(graph->Release(), 0u);
}

TEST(FilterGraph, AbortEventEndsTheWait)
{
    CFilterGraph* graph = nullptr;
    ASSERT_EQ(CFilterGraph::Create(&graph), S_OK);
    ASSERT_EQ(graph->Run(), S_OK);
    graph->Notify(EC_ERRORABORT, E_OUTOFMEMORY, 0);
    graph->Notify(EC_ERRORABORT, E_FAIL, 0);  // the first reason is kept
    LONG code = 0;
    EXPECT_EQ(graph->WaitForCompletion(INFINITE_WAIT, &code), S_OK);
    EXPECT_EQ(code, EC_ERRORABORT);
    EXPECT_EQ(graph->LastAbortCode(), E_OUTOFMEMORY);
    graph->Stop();
    graph->Release();
}

}  // namespace
