// CMediaType and the typed views of video format blocks.
#include "filter/framework/media_type.h"

#include "platform/com/task_memory.h"

#include <cstring>

CMediaType::CMediaType() { InitMediaType(); }

CMediaType::CMediaType(const GUID* type)
{
    InitMediaType();
    if (type != nullptr)
        majortype = *type;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& rt, HRESULT* phr)
{
    InitMediaType();
    HRESULT hr = Set(rt);
    if (phr != nullptr)
        *phr = hr;
}

CMediaType::CMediaType(const CMediaType& rt, HRESULT* phr)
    : CMediaType(static_cast<const AM_MEDIA_TYPE&>(rt), phr)
{
}

CMediaType::~CMediaType() { FreeMediaType(*this); }

CMediaType& CMediaType::operator=(const CMediaType& rt)
{
    Set(rt);
    return *this;
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& rt)
{
    Set(rt);
    return *this;
}

bool CMediaType::operator==(const CMediaType& rt) const
{
    return IsEqualGUID(majortype, rt.majortype) && IsEqualGUID(subtype, rt.subtype) &&
           IsEqualGUID(formattype, rt.formattype) && cbFormat == rt.cbFormat &&
           (cbFormat == 0 || std::memcmp(pbFormat, rt.pbFormat, cbFormat) == 0);
}

HRESULT CMediaType::Set(const CMediaType& rt) { return Set(static_cast<const AM_MEDIA_TYPE&>(rt)); }

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& rt)
{
    if (&rt == static_cast<AM_MEDIA_TYPE*>(this))
        return S_OK;
    FreeMediaType(*this);
    HRESULT hr = CopyMediaType(this, &rt);
    if (FAILED(hr))
        InitMediaType();
    return hr;
}

void CMediaType::SetSampleSize(ULONG sz)
{
    if (sz == 0) {
        SetVariableSize();
    } else {
        bFixedSizeSamples = TRUE;
        lSampleSize = sz;
    }
}

BOOL CMediaType::SetFormat(const BYTE* pFormat, ULONG length)
{
    if (length != 0 && pFormat == nullptr)
        return FALSE;
    BYTE* block = AllocFormatBuffer(length);
    if (block == nullptr && length != 0)
        return FALSE;
    if (length != 0)
        std::memcpy(block, pFormat, length);
    return TRUE;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length)
{
    if (length == 0) {
        ResetFormatBuffer();
        return nullptr;
    }
    if (cbFormat == length) {
        std::memset(pbFormat, 0, length);
        return pbFormat;
    }
    BYTE* block = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (block == nullptr)
        return nullptr;
    std::memset(block, 0, length);
    CoTaskMemFree(pbFormat);
    pbFormat = block;
    cbFormat = length;
    return block;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length)
{
    if (length == 0) {
        ResetFormatBuffer();
        return nullptr;
    }
    BYTE* block = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (block == nullptr)
        return nullptr;
    const ULONG kept = cbFormat < length ? cbFormat : length;
    if (kept != 0)
        std::memcpy(block, pbFormat, kept);
    std::memset(block + kept, 0, length - kept);
    CoTaskMemFree(pbFormat);
    pbFormat = block;
    cbFormat = length;
    return block;
}

void CMediaType::ResetFormatBuffer()
{
    CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
}

BOOL CMediaType::MatchesPartial(const CMediaType* ppartial) const
{
    if (ppartial == nullptr)
        return FALSE;
    if (!IsEqualGUID(ppartial->majortype, GUID_NULL) && !IsEqualGUID(majortype, ppartial->majortype))
        return FALSE;
    if (!IsEqualGUID(ppartial->subtype, GUID_NULL) && !IsEqualGUID(subtype, ppartial->subtype))
        return FALSE;
    if (!IsEqualGUID(ppartial->formattype, GUID_NULL)) {
        if (!IsEqualGUID(formattype, ppartial->formattype) || cbFormat != ppartial->cbFormat)
            return FALSE;
        if (cbFormat != 0 && std::memcmp(pbFormat, ppartial->pbFormat, cbFormat) != 0)
            return FALSE;
    }
    return TRUE;
}

BOOL CMediaType::IsPartiallySpecified() const
{
    return IsEqualGUID(majortype, GUID_NULL) || IsEqualGUID(subtype, GUID_NULL) ||
           IsEqualGUID(formattype, GUID_NULL);
}

void CMediaType::InitMediaType()
{
    std::memset(static_cast<AM_MEDIA_TYPE*>(this), 0, sizeof(AM_MEDIA_TYPE));
    lSampleSize = 1;
    bFixedSizeSamples = TRUE;
}

namespace {
template <class Header, class MediaType>
auto FormatAs(MediaType& mt, const GUID& format) -> decltype(reinterpret_cast<Header*>(mt.pbFormat))
{
    if (!IsEqualGUID(mt.formattype, format) || mt.pbFormat == nullptr || mt.cbFormat < sizeof(Header))
        return nullptr;
    return reinterpret_cast<Header*>(mt.pbFormat);
}
}  // namespace

const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt)
{
    return FormatAs<const VIDEOINFOHEADER>(mt, FORMAT_VideoInfo);
}
const VIDEOINFOHEADER2* VideoInfo2Of(const AM_MEDIA_TYPE& mt)
{
    return FormatAs<const VIDEOINFOHEADER2>(mt, FORMAT_VideoInfo2);
}
VIDEOINFOHEADER* VideoInfoOf(AM_MEDIA_TYPE& mt) { return FormatAs<VIDEOINFOHEADER>(mt, FORMAT_VideoInfo); }
VIDEOINFOHEADER2* VideoInfo2Of(AM_MEDIA_TYPE& mt) { return FormatAs<VIDEOINFOHEADER2>(mt, FORMAT_VideoInfo2); }

const BITMAPINFOHEADER* BitmapHeaderOf(const AM_MEDIA_TYPE& mt)
{
    if (auto* vih = VideoInfoOf(mt))
        return &vih->bmiHeader;
    if (auto* vih2 = VideoInfo2Of(mt))
        return &vih2->bmiHeader;
    return nullptr;
}

BITMAPINFOHEADER* BitmapHeaderOf(AM_MEDIA_TYPE& mt)
{
    return const_cast<BITMAPINFOHEADER*>(BitmapHeaderOf(static_cast<const AM_MEDIA_TYPE&>(mt)));
}
