// The mapping between caps and media types.
#include "gst/caps_media_type.h"

#include "platform/dshow/dshow_guids.h"

#include <numeric>

namespace tulgst {
namespace {

// 'YUY2' as a little-endian FOURCC.
constexpr DWORD kYuy2FourCC = 0x32595559;
constexpr gint64 kUnitsPerSecond = 10000000;

// a:b in lowest terms, or false when either term leaves 32 bits.
bool Reduced(gint64 a, gint64 b, DWORD* x, DWORD* y)
{
    if (a <= 0 || b <= 0)
        return false;
    const gint64 g = std::gcd(a, b);
    a /= g;
    b /= g;
    if (a > G_MAXINT32 || b > G_MAXINT32)
        return false;
    *x = static_cast<DWORD>(a);
    *y = static_cast<DWORD>(b);
    return true;
}

}  // namespace

bool InputMediaType(const GstVideoInfo& info, CMediaType* type)
{
    const gint width = GST_VIDEO_INFO_WIDTH(&info);
    const gint height = GST_VIDEO_INFO_HEIGHT(&info);
    const guint64 bytes = static_cast<guint64>(width) * static_cast<guint64>(height) * 2u;
    if (width <= 0 || height <= 0 || bytes > 0x7FFFFFFFu)
        return false;
    type->InitMediaType();
    type->SetType(&MEDIATYPE_Video);
    type->SetSubtype(&MEDIASUBTYPE_YUY2);
    type->SetFormatType(&FORMAT_VideoInfo2);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER2*>(type->AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
    if (vih == nullptr)
        return false;
    if (GST_VIDEO_INFO_FPS_N(&info) > 0 && GST_VIDEO_INFO_FPS_D(&info) > 0)
        vih->AvgTimePerFrame = kUnitsPerSecond * GST_VIDEO_INFO_FPS_D(&info) / GST_VIDEO_INFO_FPS_N(&info);
    // The picture's shape is its pixel shape times its size; square pixels
    // are written 1:1, which the filter reads as the frame's own shape.
    DWORD aspectX = 1;
    DWORD aspectY = 1;
    const gint parN = GST_VIDEO_INFO_PAR_N(&info);
    const gint parD = GST_VIDEO_INFO_PAR_D(&info);
    if (parN > 0 && parD > 0 && parN != parD &&
        !Reduced(static_cast<gint64>(width) * parN, static_cast<gint64>(height) * parD, &aspectX, &aspectY))
        aspectX = aspectY = 1;
    vih->dwPictAspectRatioX = aspectX;
    vih->dwPictAspectRatioY = aspectY;
    if (GST_VIDEO_INFO_IS_INTERLACED(&info)) {
        vih->dwInterlaceFlags = AMINTERLACE_IsInterlaced;
        if (GST_VIDEO_INFO_FIELD_ORDER(&info) != GST_VIDEO_FIELD_ORDER_BOTTOM_FIELD_FIRST)
            vih->dwInterlaceFlags |= AMINTERLACE_Field1First;
    }
    BITMAPINFOHEADER& bih = vih->bmiHeader;
    bih.biSize = sizeof(BITMAPINFOHEADER);
    bih.biWidth = width;
    bih.biHeight = height;
    bih.biPlanes = 1;
    bih.biBitCount = 16;
    bih.biCompression = kYuy2FourCC;
    bih.biSizeImage = static_cast<DWORD>(bytes);
    type->SetSampleSize(static_cast<ULONG>(bytes));
    return true;
}

GstCaps* OutputCaps(const AM_MEDIA_TYPE& type, const GstCaps* input)
{
    const VIDEOINFOHEADER2* vih = VideoInfo2Of(type);
    if (vih == nullptr || input == nullptr || gst_caps_get_size(input) == 0)
        return nullptr;
    const LONG width = vih->bmiHeader.biWidth;
    const LONG height = vih->bmiHeader.biHeight < 0 ? -vih->bmiHeader.biHeight : vih->bmiHeader.biHeight;
    if (width <= 0 || height <= 0)
        return nullptr;
    // A 1:1 picture aspect stands for the frame's own shape: square pixels.
    DWORD parN = 1;
    DWORD parD = 1;
    const gint64 ax = vih->dwPictAspectRatioX;
    const gint64 ay = vih->dwPictAspectRatioY;
    if (ax > 0 && ay > 0 && ax != ay && !Reduced(ax * height, ay * width, &parN, &parD))
        parN = parD = 1;

    GstCaps* caps = gst_caps_new_empty();
    GstStructure* s = gst_structure_copy(gst_caps_get_structure(input, 0));
    gst_structure_set(s, "width", G_TYPE_INT, static_cast<gint>(width), "height", G_TYPE_INT,
                      static_cast<gint>(height), "pixel-aspect-ratio", GST_TYPE_FRACTION, static_cast<gint>(parN),
                      static_cast<gint>(parD), nullptr);
    if ((vih->dwInterlaceFlags & AMINTERLACE_IsInterlaced) == 0) {
        gst_structure_set(s, "interlace-mode", G_TYPE_STRING, "progressive", nullptr);
        gst_structure_remove_field(s, "field-order");
    }
    gst_caps_append_structure(caps, s);
    return caps;
}

}  // namespace tulgst
