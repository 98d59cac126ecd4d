// Media samples and the memory allocator that lends them out. A sample is
// reference counted; its final Release returns it to the allocator, which
// stays alive while any of its samples is out.
#pragma once

#include "filter/framework/combase.h"
#include "platform/dshow/interfaces.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class CMemAllocator;

class CMediaSample : public IMediaSample {
public:
    CMediaSample(CMemAllocator* pAllocator, BYTE* pBuffer, LONG length);
    virtual ~CMediaSample();
    CMediaSample(const CMediaSample&) = delete;
    CMediaSample& operator=(const CMediaSample&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetPointer(BYTE** ppBuffer) override;
    STDMETHODIMP_(LONG) GetSize() override;
    // S_OK with both times; VFW_S_NO_STOP_TIME with the start (and the end
    // set to start + 1); VFW_E_SAMPLE_TIME_NOT_SET.
    STDMETHODIMP GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    // Null start clears the times; null end keeps only the start.
    STDMETHODIMP SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL bIsSyncPoint) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL bIsPreroll) override;
    STDMETHODIMP_(LONG) GetActualDataLength() override;
    // VFW_E_BUFFER_OVERFLOW for a length outside 0..GetSize().
    STDMETHODIMP SetActualDataLength(LONG lLen) override;
    // S_OK with a copy the caller frees with DeleteMediaType, S_FALSE (and
    // null) when the sample carries no new type.
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** ppMediaType) override;
    // Attaches a copy of the type; null removes it.
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* pMediaType) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL bDiscontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;
    STDMETHODIMP SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) override;

protected:
    friend class CMemAllocator;

    enum : DWORD {
        Sample_SyncPoint = 0x01,
        Sample_Preroll = 0x02,
        Sample_Discontinuity = 0x04,
        Sample_TypeChanged = 0x08,
        Sample_TimeValid = 0x10,
        Sample_MediaTimeValid = 0x20,
        Sample_StopValid = 0x100,
    };

    // Back to the state of a fresh buffer: no times, flags or type.
    void ResetProperties();

    DWORD m_dwFlags = 0;
    REFERENCE_TIME m_Start = 0;
    REFERENCE_TIME m_End = 0;
    LONGLONG m_MediaStart = 0;
    LONGLONG m_MediaEnd = 0;
    AM_MEDIA_TYPE* m_pMediaType = nullptr;
    BYTE* m_pBuffer;
    LONG m_cbBuffer;
    LONG m_lActual;
    std::atomic<LONG> m_cRef{0};
    CMemAllocator* m_pAllocator;
};

class CMemAllocator : public CUnknown, public IMemAllocator {
public:
    CMemAllocator(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT* phr);
    ~CMemAllocator() override;
    // A new allocator with one reference, or null (E_OUTOFMEMORY).
    static HRESULT CreateInstance(IMemAllocator** ppAllocator);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Refused while committed (VFW_E_ALREADY_COMMITTED) or while samples
    // are out (VFW_E_BUFFERS_OUTSTANDING); E_INVALIDARG for negative values
    // or a total beyond 32 bits; VFW_E_BADALIGN unless cbAlign is a power
    // of two. Granted sizes are rounded to the alignment.
    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* pProps) override;
    STDMETHODIMP Commit() override;
    // Wakes GetBuffer waiters (they fail with VFW_E_NOT_COMMITTED); the
    // memory goes when the last outstanding sample comes back.
    STDMETHODIMP Decommit() override;
    // Waits for a free sample unless AM_GBF_NOWAIT (then VFW_E_TIMEOUT).
    STDMETHODIMP GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME* pStartTime, REFERENCE_TIME* pEndTime,
                           DWORD dwFlags) override;
    STDMETHODIMP ReleaseBuffer(IMediaSample* pBuffer) override;

    // Samples currently lent out (for tests and diagnostics).
    LONG OutstandingCount();

private:
    void FreeMemoryLocked();

    std::mutex m_lock;
    std::condition_variable m_freeSignal;
    LONG m_lCount = 0;
    LONG m_lSize = 0;
    LONG m_lAlignment = 0;
    LONG m_lPrefix = 0;
    bool m_bCommitted = false;
    bool m_bChanged = false;
    std::unique_ptr<BYTE, void (*)(BYTE*)> m_pMemory{nullptr, nullptr};
    std::vector<std::unique_ptr<CMediaSample>> m_samples;
    std::vector<CMediaSample*> m_free;
};
