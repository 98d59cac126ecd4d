// CFeedSource and its output pin.
#include "gst/feed_source.h"

#include <cstring>
#include <new>

CFeedSource::CFeedSource(HRESULT* phr) : CBaseFilter(L"CFeedSource", nullptr, &m_csFilter, GUID_NULL, phr) {}

CFeedSource::~CFeedSource() { delete m_pPin; }

HRESULT CFeedSource::Create(CFeedSource** ppSource)
{
    if (ppSource == nullptr)
        return E_POINTER;
    *ppSource = nullptr;
    HRESULT hr = S_OK;
    auto* source = new (std::nothrow) CFeedSource(&hr);
    if (source == nullptr)
        return E_OUTOFMEMORY;
    source->NonDelegatingAddRef();
    if (SUCCEEDED(hr)) {
        source->m_pPin = new (std::nothrow) CFeedSourcePin(source, &source->m_csFilter, &hr);
        if (source->m_pPin == nullptr && SUCCEEDED(hr))
            hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        source->NonDelegatingRelease();
        return hr;
    }
    *ppSource = source;
    return S_OK;
}

CBasePin* CFeedSource::GetPin(int n) { return n == 0 ? m_pPin : nullptr; }

HRESULT CFeedSource::SetType(const CMediaType& type)
{
    CAutoLock lock(&m_csFilter);
    return m_pPin->SetType(type);
}

HRESULT CFeedSource::Feed(const FeedPicture& picture) { return m_pPin->Feed(picture); }

// ---------------------------------------------------------------------------

CFeedSourcePin::CFeedSourcePin(CFeedSource* pFilter, CCritSec* pLock, HRESULT* phr)
    : CBaseOutputPin(L"Feed source pin", pFilter, pLock, phr, L"Output")
{
}

HRESULT CFeedSourcePin::SetType(const CMediaType& type)
{
    if (IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    return m_type.Set(type);
}

HRESULT CFeedSourcePin::CheckMediaType(const CMediaType* pmt)
{
    return m_type.IsValid() && *pmt == m_type ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CFeedSourcePin::GetMediaType(int iPosition, CMediaType* pMediaType)
{
    if (iPosition < 0)
        return E_INVALIDARG;
    if (iPosition > 0 || !m_type.IsValid())
        return VFW_S_NO_MORE_ITEMS;
    return pMediaType->Set(m_type);
}

HRESULT CFeedSourcePin::DecideBufferSize(IMemAllocator* pAlloc, ALLOCATOR_PROPERTIES* pProp)
{
    if (pAlloc == nullptr || pProp == nullptr)
        return E_POINTER;
    const BITMAPINFOHEADER* bih = BitmapHeaderOf(m_type);
    if (bih == nullptr || bih->biSizeImage == 0 || bih->biSizeImage > 0x7FFFFFFFu)
        return VFW_E_SIZENOTSET;
    // One sample is enough: each is delivered and released before the next.
    if (pProp->cBuffers < 1)
        pProp->cBuffers = 1;
    if (pProp->cbBuffer < static_cast<LONG>(bih->biSizeImage))
        pProp->cbBuffer = static_cast<LONG>(bih->biSizeImage);
    ALLOCATOR_PROPERTIES actual{};
    HRESULT hr = pAlloc->SetProperties(pProp, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cBuffers < pProp->cBuffers || actual.cbBuffer < pProp->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CFeedSourcePin::Feed(const FeedPicture& picture)
{
    if (!IsConnected() || m_pAllocator == nullptr)
        return VFW_E_NOT_CONNECTED;
    if (picture.data == nullptr || picture.rowBytes <= 0 || picture.rows <= 0 || picture.stride < picture.rowBytes)
        return E_INVALIDARG;
    IMediaSample* sample = nullptr;
    HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    BYTE* dst = nullptr;
    const long long bytes = static_cast<long long>(picture.rowBytes) * picture.rows;
    hr = sample->GetPointer(&dst);
    if (SUCCEEDED(hr) && (dst == nullptr || bytes > sample->GetSize()))
        hr = VFW_E_BUFFER_OVERFLOW;
    if (SUCCEEDED(hr)) {
        if (picture.stride == picture.rowBytes) {
            std::memcpy(dst, picture.data, static_cast<std::size_t>(bytes));
        } else {
            for (LONG r = 0; r < picture.rows; ++r)
                std::memcpy(dst + static_cast<std::size_t>(r) * picture.rowBytes,
                            picture.data + static_cast<std::size_t>(r) * picture.stride,
                            static_cast<std::size_t>(picture.rowBytes));
        }
        REFERENCE_TIME start = picture.start;
        REFERENCE_TIME stop = picture.stop;
        hr = sample->SetTime(picture.hasStart ? &start : nullptr,
                             picture.hasStart && picture.hasStop ? &stop : nullptr);
    }
    if (SUCCEEDED(hr))
        hr = sample->SetActualDataLength(static_cast<LONG>(bytes));
    if (SUCCEEDED(hr) && picture.type != nullptr)
        hr = sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(picture.type));
    if (SUCCEEDED(hr)) {
        sample->SetSyncPoint(picture.syncPoint);
        sample->SetDiscontinuity(picture.discontinuity);
        sample->SetPreroll(FALSE);
        hr = Deliver(sample);
    }
    sample->Release();
    return hr;
}
