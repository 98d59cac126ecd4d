// CTransformFilter: a filter with one input and one output pin that turns
// every input sample into a fresh output sample from the downstream
// allocator. Derived filters say which types they take and offer, size
// the output buffers and do the transform itself.
#pragma once

#include "filter/framework/base_filter.h"
#include "filter/framework/input_pin.h"
#include "filter/framework/output_pin.h"

class CTransformInputPin;
class CTransformOutputPin;

class CTransformFilter : public CBaseFilter {
public:
    CTransformFilter(LPCTSTR pName, LPUNKNOWN pUnk, REFCLSID clsid);
    ~CTransformFilter() override;

    int GetPinCount() override { return 2; }
    // Creates both pins on first request; null when they cannot be made.
    CBasePin* GetPin(int n) override;
    // Identifiers "In" and "Out".
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
    // Stop deactivates the input first, then waits for the sample being
    // transformed (receive lock) before deactivating the output and
    // calling StopStreaming.
    STDMETHODIMP Stop() override;
    // From stopped with both pins connected: StartStreaming, then the pins.
    STDMETHODIMP Pause() override;

    // What a derived filter supplies.
    virtual HRESULT Transform(IMediaSample* pIn, IMediaSample* pOut);
    virtual HRESULT CheckInputType(const CMediaType* mtIn) = 0;
    virtual HRESULT CheckTransform(const CMediaType* mtIn, const CMediaType* mtOut) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* pAllocator, ALLOCATOR_PROPERTIES* pprop) = 0;
    virtual HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) = 0;

    // Hooks with default behaviour (S_OK unless said otherwise).
    virtual HRESULT StartStreaming();
    virtual HRESULT StopStreaming();
    virtual HRESULT CheckConnect(PIN_DIRECTION dir, IPin* pPin);
    virtual HRESULT BreakConnect(PIN_DIRECTION dir);
    virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* pReceivePin);
    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* pmt);

    // The streaming path, called with the receive lock held: takes an
    // output sample, copies times and flags, calls Transform and delivers
    // on S_OK; S_FALSE drops the sample; a failure is returned upstream.
    virtual HRESULT Receive(IMediaSample* pSample);
    virtual HRESULT InitializeOutputSample(IMediaSample* pSample, IMediaSample** ppOutSample);
    // Passed downstream.
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate);

protected:
    friend class CTransformInputPin;
    friend class CTransformOutputPin;

    BOOL m_bEOSDelivered = FALSE;
    BOOL m_bSampleSkipped = FALSE;
    // m_csFilter guards state and pins; m_csReceive serialises streaming
    // and is always taken before any lock the derived filter holds.
    CCritSec m_csFilter;
    CCritSec m_csReceive;
    CTransformInputPin* m_pInput = nullptr;
    CTransformOutputPin* m_pOutput = nullptr;
};

class CTransformInputPin : public CBaseInputPin {
public:
    CTransformInputPin(LPCTSTR pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr, LPCWSTR pName);

    STDMETHODIMP QueryId(LPWSTR* Id) override;
    HRESULT CheckConnect(IPin* pPin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    // CheckInputType, and CheckTransform against a connected output.
    HRESULT CheckMediaType(const CMediaType* mtIn) override;
    HRESULT SetMediaType(const CMediaType* mt) override;

    STDMETHODIMP Receive(IMediaSample* pSample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

    const CMediaType& MediaType() const { return m_mt; }

protected:
    CTransformFilter* m_pTransformFilter;
};

class CTransformOutputPin : public CBaseOutputPin {
public:
    CTransformOutputPin(LPCTSTR pObjectName, CTransformFilter* pTransformFilter, HRESULT* phr, LPCWSTR pName);

    STDMETHODIMP QueryId(LPWSTR* Id) override;
    HRESULT CheckConnect(IPin* pPin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* pReceivePin) override;
    // E_UNEXPECTED until the input is connected; then CheckTransform.
    HRESULT CheckMediaType(const CMediaType* mtOut) override;
    HRESULT SetMediaType(const CMediaType* pmt) override;
    HRESULT DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp) override;
    // The filter's types once the input is connected, none before.
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;

    const CMediaType& MediaType() const { return m_mt; }

protected:
    friend class CTransformFilter;
    CTransformFilter* m_pTransformFilter;
};
