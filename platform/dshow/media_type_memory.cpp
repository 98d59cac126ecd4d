// Media type copies and releases in task memory.
#include "platform/dshow/media_type_memory.h"

#include "platform/com/task_memory.h"

#include <cstring>

void FreeMediaType(AM_MEDIA_TYPE& mt) noexcept
{
    if (mt.cbFormat != 0 || mt.pbFormat != nullptr) {
        CoTaskMemFree(mt.pbFormat);
        mt.cbFormat = 0;
        mt.pbFormat = nullptr;
    }
    if (mt.pUnk != nullptr) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

void DeleteMediaType(AM_MEDIA_TYPE* pmt) noexcept
{
    if (pmt == nullptr)
        return;
    FreeMediaType(*pmt);
    CoTaskMemFree(pmt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource) noexcept
{
    if (pmtTarget == nullptr || pmtSource == nullptr)
        return E_POINTER;
    if (pmtTarget == pmtSource)
        return S_OK;
    *pmtTarget = *pmtSource;
    pmtTarget->cbFormat = 0;
    pmtTarget->pbFormat = nullptr;
    pmtTarget->pUnk = nullptr;
    if (pmtSource->cbFormat != 0) {
        if (pmtSource->pbFormat == nullptr)
            return E_INVALIDARG;
        BYTE* block = static_cast<BYTE*>(CoTaskMemAlloc(pmtSource->cbFormat));
        if (block == nullptr)
            return E_OUTOFMEMORY;
        std::memcpy(block, pmtSource->pbFormat, pmtSource->cbFormat);
        pmtTarget->pbFormat = block;
        pmtTarget->cbFormat = pmtSource->cbFormat;
    }
    if (pmtSource->pUnk != nullptr) {
        pmtTarget->pUnk = pmtSource->pUnk;
        pmtTarget->pUnk->AddRef();
    }
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc) noexcept
{
    if (pSrc == nullptr)
        return nullptr;
    auto* pmt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (pmt == nullptr)
        return nullptr;
    if (FAILED(CopyMediaType(pmt, pSrc))) {
        CoTaskMemFree(pmt);
        return nullptr;
    }
    return pmt;
}
