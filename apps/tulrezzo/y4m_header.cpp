// Y4M header tags. Messages quote the tag as it stood in the file so a
// user can find it with a hex viewer or `head -c`.
#include "apps/tulrezzo/y4m_header.h"

#include "apps/tulrezzo/app_error.h"

#include <cstdint>

namespace tulrezzo {

namespace {

AppError TagError(std::string_view tag, const std::string& why)
{
    return Failure("Y4M header: tag '" + std::string(tag.substr(0, 40)) + "': " + why);
}

// The frame layout a chroma tag gives: the four 4:2:0 sitings read alike
// (the sample positions change the picture by less than the conversions'
// own rounding), 4:2:2 becomes YUY2.
PixelFormat ChromaFormat(std::string_view tag)
{
    const std::string_view value = tag.substr(1);
    if (value == "422")
        return TulImage::COLOR_FORMAT_YUY2;
    for (std::string_view c420 : {"420", "420jpeg", "420mpeg2", "420paldv"})
        if (value == c420)
            return TulImage::COLOR_FORMAT_YUV420;
    throw TagError(tag, "only 4:2:0 (C420, C420jpeg, C420mpeg2, C420paldv) and 4:2:2 (C422) chroma are "
                        "supported; convert with ffmpeg -pix_fmt yuv420p");
}

const char* ChromaTag(PixelFormat format)
{
    if (Is420Format(format))
        return "C420jpeg";
    if (format == TulImage::COLOR_FORMAT_VUYA)
        return "C444alpha";
    return "C422";
}

}  // namespace

StreamInfo ParseY4mHeader(std::string_view line)
{
    if (line.substr(0, kY4mMagic.size()) != kY4mMagic ||
        (line.size() > kY4mMagic.size() && line[kY4mMagic.size()] != ' '))
        throw Failure("not a Y4M stream: it does not begin with YUV4MPEG2");
    StreamInfo info;
    info.rate = {};
    info.format = TulImage::COLOR_FORMAT_YUV420;  // a stream without a C tag is 4:2:0
    bool haveWidth = false;
    bool haveHeight = false;
    bool haveRate = false;
    Ratio pixelAspect{0, 0};
    std::string_view rest = line.substr(kY4mMagic.size());
    while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        const std::string_view tag = rest.substr(0, space);
        rest = space == std::string_view::npos ? std::string_view{} : rest.substr(space + 1);
        if (tag.empty())
            continue;
        const std::string_view value = tag.substr(1);
        switch (tag[0]) {
        case 'W':
            if (!ParseNumber(value, &info.size.width) || info.size.width == 0)
                throw TagError(tag, "the width must be a positive number");
            haveWidth = true;
            break;
        case 'H':
            if (!ParseNumber(value, &info.size.height) || info.size.height == 0)
                throw TagError(tag, "the height must be a positive number");
            haveHeight = true;
            break;
        case 'F':
            if (!ParsePair(value, ":", &info.rate.num, &info.rate.den) || info.rate.num == 0 ||
                info.rate.den == 0)
                throw TagError(tag, "the frame rate must be N:D with both numbers positive");
            haveRate = true;
            break;
        case 'I':
            if (value.size() != 1 || std::string_view("ptbm?").find(value[0]) == std::string_view::npos)
                throw TagError(tag, "the interlace mode must be one of Ip, It, Ib, Im, I?");
            info.interlaceTag = value[0];
            break;
        case 'A':
            if (!ParsePair(value, ":", &pixelAspect.num, &pixelAspect.den) ||
                ((pixelAspect.num == 0) != (pixelAspect.den == 0)))
                throw TagError(tag, "the pixel aspect must be N:D with both numbers positive, or 0:0");
            break;
        case 'C':
            info.format = ChromaFormat(tag);
            break;
        default:
            break;  // X tags and tags of later revisions carry nothing we use
        }
    }
    if (!haveWidth)
        throw Failure("Y4M header: no width tag W");
    if (!haveHeight)
        throw Failure("Y4M header: no height tag H");
    if (!haveRate)
        throw Failure("Y4M header: no frame rate tag F");
    const std::string problem = PictureSizeProblem(info.format, info.size);
    if (!problem.empty())
        throw Failure("Y4M header: tags 'W" + std::to_string(info.size.width) + " H" +
                      std::to_string(info.size.height) + "': " + problem);
    info.pictureAspect = PictureAspectFromPixelAspect(info.size, pixelAspect);
    return info;
}

std::string FormatY4mHeader(const StreamInfo& info, Ratio pixelAspect)
{
    std::string line(kY4mMagic);
    line += " W" + std::to_string(info.size.width) + " H" + std::to_string(info.size.height);
    line += " F" + std::to_string(info.rate.num) + ":" + std::to_string(info.rate.den);
    if (info.interlaceTag != 0) {
        line += " I";
        line += info.interlaceTag;
    }
    line += " A" + std::to_string(pixelAspect.num) + ":" + std::to_string(pixelAspect.den);
    line += " ";
    line += ChromaTag(info.format);
    line += "\n";
    return line;
}

Ratio PictureAspectFromPixelAspect(FrameSize size, Ratio pixelAspect)
{
    if (pixelAspect.num <= 0 || pixelAspect.den <= 0)
        return {1, 1};
    const Ratio picture = ReduceRatio(static_cast<std::int64_t>(size.width) * pixelAspect.num,
                                      static_cast<std::int64_t>(size.height) * pixelAspect.den);
    if (picture.num == 1 && picture.den == 1 && size.width != size.height)
        return {2, 2};
    return picture;
}

Ratio PixelAspectFromPictureAspect(FrameSize size, Ratio pictureAspect)
{
    if ((pictureAspect.num == 1 && pictureAspect.den == 1) || pictureAspect.num <= 0 || pictureAspect.den <= 0)
        return {1, 1};
    return ReduceRatio(static_cast<std::int64_t>(pictureAspect.num) * size.height,
                       static_cast<std::int64_t>(pictureAspect.den) * size.width);
}

}  // namespace tulrezzo
