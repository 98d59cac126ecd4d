// Format names and frame geometry.
#include "apps/tulrezzo/picture_layout.h"

#include <cstdlib>

namespace tulrezzo {

namespace {

struct FormatName {
    const char* name;
    PixelFormat format;
};

constexpr FormatName kFormats[] = {
    {"yuy2", TulImage::COLOR_FORMAT_YUY2},
    {"i420", TulImage::COLOR_FORMAT_YUV420},
    {"yv12", TulImage::COLOR_FORMAT_YV12},
    {"rgb24", TulImage::COLOR_FORMAT_RGB24},
    {"rgb32", TulImage::COLOR_FORMAT_RGB32},
    {"srgb24", TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24},
    {"srgb32", TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32},
    {"vuya", TulImage::COLOR_FORMAT_VUYA},
};

}  // namespace

bool PixelFormatByName(const std::string& name, PixelFormat* format)
{
    for (const FormatName& f : kFormats)
        if (name == f.name) {
            *format = f.format;
            return true;
        }
    return false;
}

const char* PixelFormatName(PixelFormat format)
{
    for (const FormatName& f : kFormats)
        if (f.format == format)
            return f.name;
    return "?";
}

std::string PixelFormatChoices()
{
    std::string text;
    for (const FormatName& f : kFormats)
        text += (text.empty() ? "" : ", ") + std::string(f.name);
    return text;
}

bool IsRgbFormat(PixelFormat format)
{
    return format == TulImage::COLOR_FORMAT_RGB24 || format == TulImage::COLOR_FORMAT_RGB32 ||
           format == TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB24 ||
           format == TulImage::COLOR_FORMAT_SHIFTED_STRAIGHT_RGB32;
}

bool Is420Format(PixelFormat format)
{
    return format == TulImage::COLOR_FORMAT_YUV420 || format == TulImage::COLOR_FORMAT_YV12;
}

int TightStep(PixelFormat format, LONG width)
{
    if (Is420Format(format))
        return width;
    return static_cast<int>(TulImage::GetBitPixel(format) / 8 * static_cast<ULONG>(width));
}

ULONG PictureBytes(PixelFormat format, FrameSize size, int step)
{
    return TulImage::GetPictureSize(format, static_cast<ULONG>(size.width), static_cast<ULONG>(size.height),
                                    step != 0 ? step : TightStep(format, size.width));
}

std::string PictureSizeProblem(PixelFormat format, FrameSize size)
{
    if (format == TulImage::COLOR_FORMAT_YUY2)
        return FrameSizeProblem(size);
    // An odd width is held as the even one above it; a width at or past the
    // limit stands as it is (it is refused there, and adding one to the
    // largest LONG would overflow).
    const LONG evenWidth = size.width < kMaxDimension ? size.width + size.width % 2 : size.width;
    const std::string problem = FrameSizeProblem({evenWidth, size.height});
    if (!problem.empty())
        return problem;
    if (Is420Format(format) && (size.width % 2 != 0 || size.height % 2 != 0))
        return "width and height must be even (4:2:0 keeps one chroma sample for each 2x2 block)";
    return {};
}

}  // namespace tulrezzo
