// DirectShow's COM interfaces as abstract classes, each with its methods in
// the published order (so a filter written against the Windows headers
// overrides the same names with the same signatures).
#pragma once

#include "platform/com/unknown.h"
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/media_types.h"

class IPin;
class IEnumPins;
class IEnumMediaTypes;
class IEnumFilters;
class IMediaSample;
class IMemAllocator;
class IReferenceClock;  // no clock here: filters accept and ignore one

class IMediaFilter : public IPersist {
public:
    STDMETHOD(Stop)() = 0;
    STDMETHOD(Pause)() = 0;
    STDMETHOD(Run)(REFERENCE_TIME tStart) = 0;
    STDMETHOD(GetState)(DWORD dwMilliSecsTimeout, FILTER_STATE* State) = 0;
    STDMETHOD(SetSyncSource)(IReferenceClock* pClock) = 0;
    STDMETHOD(GetSyncSource)(IReferenceClock** pClock) = 0;

protected:
    ~IMediaFilter() = default;
};

class IBaseFilter : public IMediaFilter {
public:
    STDMETHOD(EnumPins)(IEnumPins** ppEnum) = 0;
    STDMETHOD(FindPin)(LPCWSTR Id, IPin** ppPin) = 0;
    STDMETHOD(QueryFilterInfo)(FILTER_INFO* pInfo) = 0;
    STDMETHOD(JoinFilterGraph)(IFilterGraph* pGraph, LPCWSTR pName) = 0;
    STDMETHOD(QueryVendorInfo)(LPWSTR* pVendorInfo) = 0;

protected:
    ~IBaseFilter() = default;
};

class IPin : public IUnknown {
public:
    STDMETHOD(Connect)(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) = 0;
    STDMETHOD(ReceiveConnection)(IPin* pConnector, const AM_MEDIA_TYPE* pmt) = 0;
    STDMETHOD(Disconnect)() = 0;
    STDMETHOD(ConnectedTo)(IPin** pPin) = 0;
    STDMETHOD(ConnectionMediaType)(AM_MEDIA_TYPE* pmt) = 0;
    STDMETHOD(QueryPinInfo)(PIN_INFO* pInfo) = 0;
    STDMETHOD(QueryDirection)(PIN_DIRECTION* pPinDir) = 0;
    STDMETHOD(QueryId)(LPWSTR* Id) = 0;
    STDMETHOD(QueryAccept)(const AM_MEDIA_TYPE* pmt) = 0;
    STDMETHOD(EnumMediaTypes)(IEnumMediaTypes** ppEnum) = 0;
    STDMETHOD(QueryInternalConnections)(IPin** apPin, ULONG* nPin) = 0;
    STDMETHOD(EndOfStream)() = 0;
    STDMETHOD(BeginFlush)() = 0;
    STDMETHOD(EndFlush)() = 0;
    STDMETHOD(NewSegment)(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) = 0;

protected:
    ~IPin() = default;
};

class IEnumPins : public IUnknown {
public:
    STDMETHOD(Next)(ULONG cPins, IPin** ppPins, ULONG* pcFetched) = 0;
    STDMETHOD(Skip)(ULONG cPins) = 0;
    STDMETHOD(Reset)() = 0;
    STDMETHOD(Clone)(IEnumPins** ppEnum) = 0;

protected:
    ~IEnumPins() = default;
};

class IEnumMediaTypes : public IUnknown {
public:
    STDMETHOD(Next)(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) = 0;
    STDMETHOD(Skip)(ULONG cMediaTypes) = 0;
    STDMETHOD(Reset)() = 0;
    STDMETHOD(Clone)(IEnumMediaTypes** ppEnum) = 0;

protected:
    ~IEnumMediaTypes() = default;
};

class IMediaSample : public IUnknown {
public:
    STDMETHOD(GetPointer)(BYTE** ppBuffer) = 0;
    STDMETHOD_(LONG, GetSize)() = 0;
    STDMETHOD(GetTime)(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
    STDMETHOD(SetTime)(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) = 0;
    STDMETHOD(IsSyncPoint)() = 0;
    STDMETHOD(SetSyncPoint)(BOOL bIsSyncPoint) = 0;
    STDMETHOD(IsPreroll)() = 0;
    STDMETHOD(SetPreroll)(BOOL bIsPreroll) = 0;
    STDMETHOD_(LONG, GetActualDataLength)() = 0;
    STDMETHOD(SetActualDataLength)(LONG lLen) = 0;
    STDMETHOD(GetMediaType)(AM_MEDIA_TYPE** ppMediaType) = 0;
    STDMETHOD(SetMediaType)(AM_MEDIA_TYPE* pMediaType) = 0;
    STDMETHOD(IsDiscontinuity)() = 0;
    STDMETHOD(SetDiscontinuity)(BOOL bDiscontinuity) = 0;
    STDMETHOD(GetMediaTime)(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) = 0;
    STDMETHOD(SetMediaTime)(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) = 0;

protected:
    ~IMediaSample() = default;
};

class IMemAllocator : public IUnknown {
public:
    STDMETHOD(SetProperties)(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) = 0;
    STDMETHOD(GetProperties)(ALLOCATOR_PROPERTIES* pProps) = 0;
    STDMETHOD(Commit)() = 0;
    STDMETHOD(Decommit)() = 0;
    STDMETHOD(GetBuffer)(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                         DWORD dwFlags) = 0;
    STDMETHOD(ReleaseBuffer)(IMediaSample* pBuffer) = 0;

protected:
    ~IMemAllocator() = default;
};

class IMemInputPin : public IUnknown {
public:
    STDMETHOD(GetAllocator)(IMemAllocator** ppAllocator) = 0;
    STDMETHOD(NotifyAllocator)(IMemAllocator* pAllocator, BOOL bReadOnly) = 0;
    STDMETHOD(GetAllocatorRequirements)(ALLOCATOR_PROPERTIES* pProps) = 0;
    STDMETHOD(Receive)(IMediaSample* pSample) = 0;
    STDMETHOD(ReceiveMultiple)(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) = 0;
    STDMETHOD(ReceiveCanBlock)() = 0;

protected:
    ~IMemInputPin() = default;
};

class IFilterGraph : public IUnknown {
public:
    STDMETHOD(AddFilter)(IBaseFilter* pFilter, LPCWSTR pName) = 0;
    STDMETHOD(RemoveFilter)(IBaseFilter* pFilter) = 0;
    STDMETHOD(EnumFilters)(IEnumFilters** ppEnum) = 0;
    STDMETHOD(FindFilterByName)(LPCWSTR pName, IBaseFilter** ppFilter) = 0;
    STDMETHOD(ConnectDirect)(IPin* ppinOut, IPin* ppinIn, const AM_MEDIA_TYPE* pmt) = 0;
    STDMETHOD(Reconnect)(IPin* ppin) = 0;
    STDMETHOD(Disconnect)(IPin* ppin) = 0;
    STDMETHOD(SetDefaultSyncSource)() = 0;

protected:
    ~IFilterGraph() = default;
};

class IMediaEventSink : public IUnknown {
public:
    STDMETHOD(Notify)(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) = 0;

protected:
    ~IMediaEventSink() = default;
};

class ISpecifyPropertyPages : public IUnknown {
public:
    STDMETHOD(GetPages)(CAUUID* pPages) = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};
