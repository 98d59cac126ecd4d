// Video format blocks of the filter's connections.
#include "filter/video_format.h"

#include "filter/framework/media_type.h"
#include "platform/dshow/dshow_guids.h"

#include <cstdint>

namespace tulfilter {
namespace {

LONG AspectTerm(DWORD term)
{
    return term > 0 && term <= static_cast<DWORD>(INT32_MAX) ? static_cast<LONG>(term) : 0;
}

}  // namespace

bool HasVideoInfoFormat(const AM_MEDIA_TYPE& mt)
{
    return IsEqualGUID(mt.formattype, FORMAT_VideoInfo) || IsEqualGUID(mt.formattype, FORMAT_VideoInfo2);
}

bool IsAcceptableYuy2(const AM_MEDIA_TYPE& mt)
{
    if (!IsEqualGUID(mt.majortype, MEDIATYPE_Video) || !IsEqualGUID(mt.subtype, MEDIASUBTYPE_YUY2))
        return false;
    const BITMAPINFOHEADER* bih = BitmapHeaderOf(mt);
    return bih != nullptr && bih->biBitCount == 16;
}

bool SourceSizeOf(const AM_MEDIA_TYPE& mt, LONG* width, LONG* height)
{
    const BITMAPINFOHEADER* bih = BitmapHeaderOf(mt);
    // -INT32_MIN has no 32-bit value: such a header describes no picture.
    if (bih == nullptr || bih->biHeight == INT32_MIN)
        return false;
    *width = bih->biWidth;
    *height = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
    return true;
}

bool SourceShapeOf(const AM_MEDIA_TYPE& mt, SourceShape* shape)
{
    const VIDEOINFOHEADER2* vih2 = VideoInfo2Of(mt);
    if (vih2 == nullptr)
        return false;
    const LONG x = AspectTerm(vih2->dwPictAspectRatioX);
    const LONG y = AspectTerm(vih2->dwPictAspectRatioY);
    // A zero term would divide by zero in the aspect fit.
    shape->aspectX = x > 0 && y > 0 ? x : 1;
    shape->aspectY = x > 0 && y > 0 ? y : 1;
    shape->interlaced = (vih2->dwInterlaceFlags & AMINTERLACE_IsInterlaced) != 0;
    return true;
}

void ApplyOutputGeometry(AM_MEDIA_TYPE& mt, LONG width, LONG height, LONG aspectX, LONG aspectY,
                         bool progressive)
{
    if (VIDEOINFOHEADER2* vih2 = VideoInfo2Of(mt)) {
        if (progressive)
            vih2->dwInterlaceFlags = 0;
        vih2->dwPictAspectRatioX = static_cast<DWORD>(aspectX);
        vih2->dwPictAspectRatioY = static_cast<DWORD>(aspectY);
    }
    BITMAPINFOHEADER* bih = BitmapHeaderOf(mt);
    if (bih == nullptr)
        return;
    bih->biWidth = width;
    bih->biHeight = height;
    // The settings keep the frame within 32 bits; see OutputFrameFits.
    bih->biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 2u;
}

}  // namespace tulfilter
