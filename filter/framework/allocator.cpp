// Media samples and the memory allocator.
#include "filter/framework/allocator.h"

#include "platform/dshow/media_type_memory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

CMediaSample::CMediaSample(CMemAllocator* pAllocator, BYTE* pBuffer, LONG length)
    : m_pBuffer(pBuffer), m_cbBuffer(length), m_lActual(length), m_pAllocator(pAllocator)
{
}

CMediaSample::~CMediaSample() { DeleteMediaType(m_pMediaType); }

STDMETHODIMP CMediaSample::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IMediaSample || riid == IID_IUnknown)
        return GetInterface(static_cast<IMediaSample*>(this), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CMediaSample::AddRef()
{
    return static_cast<ULONG>(m_cRef.fetch_add(1, std::memory_order_relaxed) + 1);
}

STDMETHODIMP_(ULONG) CMediaSample::Release()
{
    const LONG left = m_cRef.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
        // The allocator takes the sample back; nothing of this object may be
        // touched afterwards, since the allocator may free it at once.
        m_pAllocator->ReleaseBuffer(this);
        return 0;
    }
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

STDMETHODIMP CMediaSample::GetPointer(BYTE** ppBuffer)
{
    if (ppBuffer == nullptr)
        return E_POINTER;
    *ppBuffer = m_pBuffer;
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetSize() { return m_cbBuffer; }

STDMETHODIMP CMediaSample::GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd)
{
    if (pTimeStart == nullptr || pTimeEnd == nullptr)
        return E_POINTER;
    if (!(m_dwFlags & Sample_TimeValid))
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *pTimeStart = m_Start;
    if (!(m_dwFlags & Sample_StopValid)) {
        *pTimeEnd = m_Start + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *pTimeEnd = m_End;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd)
{
    if (pTimeStart == nullptr) {
        if (pTimeEnd != nullptr)
            return E_POINTER;
        m_dwFlags &= ~(Sample_TimeValid | Sample_StopValid);
        return S_OK;
    }
    if (pTimeEnd != nullptr && *pTimeEnd < *pTimeStart)
        return VFW_E_START_TIME_AFTER_END;
    m_Start = *pTimeStart;
    m_dwFlags |= Sample_TimeValid;
    if (pTimeEnd != nullptr) {
        m_End = *pTimeEnd;
        m_dwFlags |= Sample_StopValid;
    } else {
        m_dwFlags &= ~Sample_StopValid;
    }
    return S_OK;
}

STDMETHODIMP CMediaSample::IsSyncPoint() { return (m_dwFlags & Sample_SyncPoint) ? S_OK : S_FALSE; }

STDMETHODIMP CMediaSample::SetSyncPoint(BOOL b)
{
    m_dwFlags = b ? (m_dwFlags | Sample_SyncPoint) : (m_dwFlags & ~Sample_SyncPoint);
    return S_OK;
}

STDMETHODIMP CMediaSample::IsPreroll() { return (m_dwFlags & Sample_Preroll) ? S_OK : S_FALSE; }

STDMETHODIMP CMediaSample::SetPreroll(BOOL b)
{
    m_dwFlags = b ? (m_dwFlags | Sample_Preroll) : (m_dwFlags & ~Sample_Preroll);
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetActualDataLength() { return m_lActual; }

STDMETHODIMP CMediaSample::SetActualDataLength(LONG lLen)
{
    if (lLen < 0 || lLen > m_cbBuffer)
        return VFW_E_BUFFER_OVERFLOW;
    m_lActual = lLen;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaType(AM_MEDIA_TYPE** ppMediaType)
{
    if (ppMediaType == nullptr)
        return E_POINTER;
    *ppMediaType = nullptr;
    if (!(m_dwFlags & Sample_TypeChanged) || m_pMediaType == nullptr)
        return S_FALSE;
    *ppMediaType = CreateMediaType(m_pMediaType);
    return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMediaSample::SetMediaType(AM_MEDIA_TYPE* pMediaType)
{
    if (pMediaType == nullptr) {
        DeleteMediaType(m_pMediaType);
        m_pMediaType = nullptr;
        m_dwFlags &= ~Sample_TypeChanged;
        return S_OK;
    }
    AM_MEDIA_TYPE* copy = CreateMediaType(pMediaType);
    if (copy == nullptr)
        return E_OUTOFMEMORY;
    DeleteMediaType(m_pMediaType);
    m_pMediaType = copy;
    m_dwFlags |= Sample_TypeChanged;
    return S_OK;
}

STDMETHODIMP CMediaSample::IsDiscontinuity() { return (m_dwFlags & Sample_Discontinuity) ? S_OK : S_FALSE; }

STDMETHODIMP CMediaSample::SetDiscontinuity(BOOL b)
{
    m_dwFlags = b ? (m_dwFlags | Sample_Discontinuity) : (m_dwFlags & ~Sample_Discontinuity);
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd)
{
    if (pTimeStart == nullptr || pTimeEnd == nullptr)
        return E_POINTER;
    if (!(m_dwFlags & Sample_MediaTimeValid))
        return VFW_E_MEDIA_TIME_NOT_SET;
    *pTimeStart = m_MediaStart;
    *pTimeEnd = m_MediaEnd;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd)
{
    if (pTimeStart == nullptr && pTimeEnd == nullptr) {
        m_dwFlags &= ~Sample_MediaTimeValid;
        return S_OK;
    }
    if (pTimeStart == nullptr || pTimeEnd == nullptr)
        return E_POINTER;
    m_MediaStart = *pTimeStart;
    m_MediaEnd = *pTimeEnd;
    m_dwFlags |= Sample_MediaTimeValid;
    return S_OK;
}

void CMediaSample::ResetProperties()
{
    DeleteMediaType(m_pMediaType);
    m_pMediaType = nullptr;
    m_dwFlags = 0;
    m_lActual = m_cbBuffer;
}

// ---------------------------------------------------------------------------

CMemAllocator::CMemAllocator(LPCTSTR pName, LPUNKNOWN pUnk, HRESULT*) : CUnknown(pName, pUnk) {}

CMemAllocator::~CMemAllocator()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_bCommitted = false;
    FreeMemoryLocked();
}

HRESULT CMemAllocator::CreateInstance(IMemAllocator** ppAllocator)
{
    if (ppAllocator == nullptr)
        return E_POINTER;
    auto* allocator = new (std::nothrow) CMemAllocator(L"CMemAllocator", nullptr, nullptr);
    if (allocator == nullptr) {
        *ppAllocator = nullptr;
        return E_OUTOFMEMORY;
    }
    return allocator->NonDelegatingQueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(ppAllocator));
}

STDMETHODIMP CMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IMemAllocator)
        return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* pRequest, ALLOCATOR_PROPERTIES* pActual)
{
    if (pRequest == nullptr || pActual == nullptr)
        return E_POINTER;
    const ALLOCATOR_PROPERTIES request = *pRequest;
    if (request.cBuffers < 0 || request.cbBuffer < 0 || request.cbPrefix < 0 || request.cbAlign < 0)
        return E_INVALIDARG;
    if (request.cbAlign == 0 || (request.cbAlign & (request.cbAlign - 1)) != 0)
        return VFW_E_BADALIGN;
    // Each buffer is its prefix and data rounded up to the alignment; the
    // whole block must stay within 32 bits.
    const std::int64_t align = request.cbAlign;
    const std::int64_t stride = (std::int64_t{request.cbBuffer} + request.cbPrefix + align - 1) / align * align;
    if (stride > INT32_MAX || stride * request.cBuffers > INT32_MAX)
        return E_INVALIDARG;

    std::lock_guard<std::mutex> lock(m_lock);
    if (m_bCommitted)
        return VFW_E_ALREADY_COMMITTED;
    if (m_samples.size() != m_free.size())
        return VFW_E_BUFFERS_OUTSTANDING;
    m_lCount = request.cBuffers;
    m_lSize = static_cast<LONG>(stride - request.cbPrefix);
    m_lAlignment = request.cbAlign;
    m_lPrefix = request.cbPrefix;
    m_bChanged = true;
    *pActual = ALLOCATOR_PROPERTIES{m_lCount, m_lSize, m_lAlignment, m_lPrefix};
    return S_OK;
}

STDMETHODIMP CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* pProps)
{
    if (pProps == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pProps = ALLOCATOR_PROPERTIES{m_lCount, m_lSize, m_lAlignment, m_lPrefix};
    return S_OK;
}

STDMETHODIMP CMemAllocator::Commit()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_bCommitted)
        return S_OK;
    if (m_lCount <= 0 || m_lSize <= 0)
        return VFW_E_SIZENOTSET;
    // Samples from before a Decommit may still be out; their memory is
    // reused as is unless the properties changed, which SetProperties only
    // allows once all are back.
    if (m_samples.empty() || m_bChanged) {
        FreeMemoryLocked();
        const std::size_t stride = static_cast<std::size_t>(m_lSize) + static_cast<std::size_t>(m_lPrefix);
        const std::size_t total = stride * static_cast<std::size_t>(m_lCount);
        const std::size_t align = static_cast<std::size_t>(m_lAlignment) < alignof(std::max_align_t)
                                      ? alignof(std::max_align_t)
                                      : static_cast<std::size_t>(m_lAlignment);
        BYTE* memory = static_cast<BYTE*>(std::aligned_alloc(align, (total + align - 1) / align * align));
        if (memory == nullptr)
            return E_OUTOFMEMORY;
        m_pMemory = std::unique_ptr<BYTE, void (*)(BYTE*)>(memory, [](BYTE* p) { std::free(p); });
        try {
            m_samples.reserve(static_cast<std::size_t>(m_lCount));
            m_free.reserve(static_cast<std::size_t>(m_lCount));
            for (LONG i = 0; i < m_lCount; ++i) {
                BYTE* buffer = memory + stride * static_cast<std::size_t>(i) + static_cast<std::size_t>(m_lPrefix);
                m_samples.push_back(std::make_unique<CMediaSample>(this, buffer, m_lSize));
                m_free.push_back(m_samples.back().get());
            }
        } catch (...) {
            FreeMemoryLocked();
            return E_OUTOFMEMORY;
        }
        m_bChanged = false;
    }
    m_bCommitted = true;
    return S_OK;
}

STDMETHODIMP CMemAllocator::Decommit()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_bCommitted)
        return S_OK;
    m_bCommitted = false;
    if (m_free.size() == m_samples.size())
        FreeMemoryLocked();
    m_freeSignal.notify_all();
    return S_OK;
}

STDMETHODIMP CMemAllocator::GetBuffer(IMediaSample** ppBuffer, REFERENCE_TIME*, REFERENCE_TIME*, DWORD dwFlags)
{
    if (ppBuffer == nullptr)
        return E_POINTER;
    *ppBuffer = nullptr;
    CMediaSample* sample = nullptr;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_bCommitted)
            return VFW_E_NOT_COMMITTED;
        if (m_free.empty() && (dwFlags & AM_GBF_NOWAIT))
            return VFW_E_TIMEOUT;
        m_freeSignal.wait(lock, [this] { return !m_bCommitted || !m_free.empty(); });
        if (!m_bCommitted)
            return VFW_E_NOT_COMMITTED;
        sample = m_free.back();
        m_free.pop_back();
        sample->m_cRef.store(1, std::memory_order_relaxed);
    }
    // Each sample out keeps the allocator alive.
    NonDelegatingAddRef();
    *ppBuffer = sample;
    return S_OK;
}

STDMETHODIMP CMemAllocator::ReleaseBuffer(IMediaSample* pBuffer)
{
    if (pBuffer == nullptr)
        return E_POINTER;
    auto* sample = static_cast<CMediaSample*>(pBuffer);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        bool ours = false;
        for (auto& s : m_samples)
            ours = ours || s.get() == sample;
        if (!ours)
            return E_INVALIDARG;
        sample->ResetProperties();
        m_free.push_back(sample);
        if (!m_bCommitted && m_free.size() == m_samples.size())
            FreeMemoryLocked();
        m_freeSignal.notify_one();
    }
    NonDelegatingRelease();
    return S_OK;
}

LONG CMemAllocator::OutstandingCount()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return static_cast<LONG>(m_samples.size() - m_free.size());
}

void CMemAllocator::FreeMemoryLocked()
{
    m_free.clear();
    m_samples.clear();
    m_pMemory.reset();
}
