// Ownership of AM_MEDIA_TYPE blocks: every format block and every type
// handed across an interface lives in task memory, so whoever receives one
// frees it with these, whichever module made it.
#pragma once

#include "platform/dshow/media_types.h"

// Releases the format block and the pUnk reference; leaves the type empty.
void FreeMediaType(AM_MEDIA_TYPE& mt) noexcept;
// FreeMediaType, then frees the record itself (from CreateMediaType or
// IEnumMediaTypes::Next / IMediaSample::GetMediaType). Null is ignored.
void DeleteMediaType(AM_MEDIA_TYPE* pmt) noexcept;
// Deep copy into an uninitialised pmtTarget. E_POINTER for null arguments,
// E_INVALIDARG for a source whose cbFormat names a missing block,
// E_OUTOFMEMORY; on failure pmtTarget is left with no format block.
HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource) noexcept;
// A deep copy in task memory, or null on failure.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc) noexcept;
