// Conversions between frame layouts through TulImage's prepared Convert.
#include "apps/tulrezzo/frame_converter.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/picture_source.h"

#include <cstdlib>

namespace tulrezzo {

StreamInfo PackedLayout(const StreamInfo& info, PixelFormat format, FrameSize size)
{
    StreamInfo out = info;
    out.format = format;
    out.size = size;
    out.step = std::abs(TulImage::GetGenericStep(format, static_cast<ULONG>(size.width), 1));
    return out;
}

FrameConverter::FrameConverter(const StreamInfo& from, const StreamInfo& to, const std::string& what,
                               TulImage::INTERPOLATION_MODE mode)
{
    const std::string problem = PictureSizeProblem(to.format, to.size);
    const Ratio fromAspect = DisplayAspect(from);
    const Ratio toAspect = DisplayAspect(to);
    PICTURE_INFO src{from.FrameBytes(),
                     static_cast<ULONG>(from.size.width),
                     static_cast<ULONG>(from.size.height),
                     from.Step(),
                     static_cast<ULONG>(fromAspect.num),
                     static_cast<ULONG>(fromAspect.den),
                     ScanOf(from),
                     from.format};
    PICTURE_INFO dst{0,
                     static_cast<ULONG>(to.size.width),
                     static_cast<ULONG>(to.size.height),
                     to.Step(),
                     static_cast<ULONG>(toAspect.num),
                     static_cast<ULONG>(toAspect.den),
                     ScanOf(to),
                     to.format};
    CONVERT_MODE convert{false, false, mode, TulImage::DEINTERLACE_LINE_DOUBLE};
    if (!problem.empty() || m_image.InitializeConvert(&src, &dst, &convert) != TulImage::TUL_SUCCESS ||
        dst.size != to.FrameBytes())
        throw Failure("cannot convert " + what + " (" + PixelFormatName(from.format) + " " + FormatSize(from.size) +
                      ") to " + PixelFormatName(to.format) + " " + FormatSize(to.size) +
                      (problem.empty() ? "" : ": " + problem));
    m_out.resize(dst.size);
}

const BYTE* FrameConverter::Run(const BYTE* frame)
{
    return m_image.Convert(frame, m_out.data()) == TulImage::TUL_SUCCESS ? m_out.data() : nullptr;
}

}  // namespace tulrezzo
