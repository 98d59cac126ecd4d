// CMediaType: an AM_MEDIA_TYPE that owns its format block, with the
// accessors and the comparison filters use during negotiation.
#pragma once

#include "platform/dshow/interfaces.h"
#include "platform/dshow/media_type_memory.h"

class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    explicit CMediaType(const GUID* majortype);
    // Deep copies; on failure (out of memory, malformed source) the type is
    // left empty and *phr, when given, receives the failure.
    CMediaType(const AM_MEDIA_TYPE& rt, HRESULT* phr = nullptr);
    CMediaType(const CMediaType& rt, HRESULT* phr = nullptr);
    ~CMediaType();

    CMediaType& operator=(const CMediaType& rt);
    CMediaType& operator=(const AM_MEDIA_TYPE& rt);
    // Same major type, subtype, format type and format bytes.
    bool operator==(const CMediaType& rt) const;
    bool operator!=(const CMediaType& rt) const { return !(*this == rt); }

    HRESULT Set(const CMediaType& rt);
    HRESULT Set(const AM_MEDIA_TYPE& rt);

    BOOL IsValid() const { return !IsEqualGUID(majortype, GUID_NULL); }

    const GUID* Type() const { return &majortype; }
    void SetType(const GUID* ptype) { majortype = *ptype; }
    const GUID* Subtype() const { return &subtype; }
    void SetSubtype(const GUID* ptype) { subtype = *ptype; }
    const GUID* FormatType() const { return &formattype; }
    void SetFormatType(const GUID* pformattype) { formattype = *pformattype; }

    BOOL IsFixedSize() const { return bFixedSizeSamples; }
    BOOL IsTemporalCompressed() const { return bTemporalCompression; }
    ULONG GetSampleSize() const { return IsFixedSize() ? lSampleSize : 0; }
    void SetSampleSize(ULONG sz);
    void SetVariableSize() { bFixedSizeSamples = FALSE; }
    void SetTemporalCompression(BOOL bCompressed) { bTemporalCompression = bCompressed; }

    BYTE* Format() const { return pbFormat; }
    ULONG FormatLength() const { return cbFormat; }
    // Copies length bytes in as the format block; FALSE when out of memory.
    BOOL SetFormat(const BYTE* pFormat, ULONG length);
    // A zeroed block of length bytes replacing the current one (null when
    // out of memory; the old block is then kept).
    BYTE* AllocFormatBuffer(ULONG length);
    // Resizes keeping the leading bytes; new bytes are zero.
    BYTE* ReallocFormatBuffer(ULONG length);
    void ResetFormatBuffer();

    // Null GUIDs in the partial type match anything.
    BOOL MatchesPartial(const CMediaType* ppartial) const;
    BOOL IsPartiallySpecified() const;

    void InitMediaType();
};

// Typed view of a format block: null unless the format type matches and
// the block is at least as long as the header.
const VIDEOINFOHEADER* VideoInfoOf(const AM_MEDIA_TYPE& mt);
const VIDEOINFOHEADER2* VideoInfo2Of(const AM_MEDIA_TYPE& mt);
VIDEOINFOHEADER* VideoInfoOf(AM_MEDIA_TYPE& mt);
VIDEOINFOHEADER2* VideoInfo2Of(AM_MEDIA_TYPE& mt);
// The picture header of either video format block, or null.
const BITMAPINFOHEADER* BitmapHeaderOf(const AM_MEDIA_TYPE& mt);
BITMAPINFOHEADER* BitmapHeaderOf(AM_MEDIA_TYPE& mt);
