// The simple blends: src mixed into dst in place, both pictures of one
// geometry, every row of the picture (4:2:0: the luma plane, then each
// chroma plane where the frame's height and |step| / 2 put it).
#include "image/TulImage.h"
#include "image/field/blend_rows.h"
#include "image/resize/status_guard.h"

namespace {

using T = TulImage;

ULONG SimpleBlend(T::COLOR_FORMAT_TYPE format, const unsigned char* src, unsigned char* dst, ULONG width,
                  ULONG height, int step, float weight)
{
    return tul::Guarded([&]() -> ULONG {
        tul::blend::Alphas alphas{};
        std::int64_t pitch = 0;
        if (src == nullptr || dst == nullptr || !tul::blend::WeightAlphas(weight, &alphas) ||
            !tul::blend::AdmitPicture(format, width, height, step, &pitch))
            return T::TUL_INVALID_REQUEST;
        // The source is only read: its spans carry a writable pointer type
        // that is never written through.
        const auto from = tul::blend::PictureSpans(format, const_cast<unsigned char*>(src), width, height, pitch,
                                                   false, 0);
        tul::blend::Mix(from, tul::blend::PictureSpans(format, dst, width, height, pitch, false, 0), alphas);
        return T::TUL_SUCCESS;
    });
}

}  // namespace

ULONG TulImage::BlendYUV420(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height, int step,
                            float weight)
{
    return SimpleBlend(COLOR_FORMAT_YUV420, src, dst, width, height, step, weight);
}

ULONG TulImage::BlendYUY2(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height, int step,
                          float weight)
{
    return SimpleBlend(COLOR_FORMAT_YUY2, src, dst, width, height, step, weight);
}

ULONG TulImage::BlendRGB24(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height, int step,
                           float weight)
{
    return SimpleBlend(COLOR_FORMAT_RGB24, src, dst, width, height, step, weight);
}

ULONG TulImage::BlendRGB32(const unsigned char* src, unsigned char* dst, ULONG width, ULONG height, int step,
                           float weight)
{
    return SimpleBlend(COLOR_FORMAT_RGB32, src, dst, width, height, step, weight);
}
