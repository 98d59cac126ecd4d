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
    PICTURE_INFO src = PictureInfoOf(from, from.FrameBytes(), from.Step(), ScanOf(from));
    PICTURE_INFO dst = PictureInfoOf(to, 0, to.Step(), ScanOf(to));
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
