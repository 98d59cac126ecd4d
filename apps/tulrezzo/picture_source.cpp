// Source choice by input kind, and the stream facts the library reads.
#include "apps/tulrezzo/picture_source.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/bmp_reader.h"
#include "apps/tulrezzo/file_name.h"
#include "apps/tulrezzo/png_reader.h"
#include "apps/tulrezzo/raw_reader.h"
#include "apps/tulrezzo/test_pattern.h"
#include "apps/tulrezzo/y4m_reader.h"

namespace tulrezzo {

PictureInputKind PictureInputKindOf(const std::string& input)
{
    if (input.empty())
        return PictureInputKind::TestPattern;
    if (input == "-" || HasExtension(input, ".y4m"))
        return PictureInputKind::Y4m;
    if (HasExtension(input, ".yuv"))
        return PictureInputKind::Raw;
    if (HasExtension(input, ".bmp"))
        return PictureInputKind::Bmp;
    if (HasExtension(input, ".png"))
        return PictureInputKind::Png;
    throw UsageError("input '" + input + "': cannot tell its format from the name (use .y4m, .yuv, .bmp, .png, "
                     "or - for Y4M on standard input)");
}

std::unique_ptr<FrameSource> OpenPictureSource(PictureInputKind kind, const std::string& path,
                                               const StreamInfo& raw, ULONG frames)
{
    switch (kind) {
    case PictureInputKind::Y4m:
        return std::make_unique<Y4mReader>(path, false);
    case PictureInputKind::Raw:
        return std::make_unique<RawReader>(path, raw);
    case PictureInputKind::Bmp:
        return std::make_unique<BmpReader>(path);
    case PictureInputKind::Png:
        return std::make_unique<PngReader>(path);
    case PictureInputKind::TestPattern:
        break;
    }
    return std::make_unique<TestPattern>(frames != 0 ? frames : TestPattern::kDefaultFrames);
}

Ratio DisplayAspect(const StreamInfo& info)
{
    // The filter's 1:1 stands for square pixels; 2:2 for a truly square
    // picture on a frame of another shape.
    const Ratio a = info.pictureAspect;
    if (a.num <= 0 || a.den <= 0 || (a.num == 1 && a.den == 1))
        return ReduceRatio(info.size.width, info.size.height);
    return ReduceRatio(info.pictureAspect.num, info.pictureAspect.den);
}

TulImage::SCAN_TYPE ScanOf(const StreamInfo& info)
{
    if (info.interlaceTag == 't')
        return TulImage::SCAN_TOP_FIELD_FIRST;
    if (info.interlaceTag == 'b')
        return TulImage::SCAN_BOTTOM_FIELD_FIRST;
    return TulImage::SCAN_PROGRESSIVE;
}

PICTURE_INFO PictureInfoOf(const StreamInfo& info, ULONG bytes, int step, TulImage::SCAN_TYPE scan)
{
    const Ratio aspect = DisplayAspect(info);
    return PICTURE_INFO{bytes,
                        static_cast<ULONG>(info.size.width),
                        static_cast<ULONG>(info.size.height),
                        step,
                        static_cast<ULONG>(aspect.num),
                        static_cast<ULONG>(aspect.den),
                        scan,
                        info.format};
}

}  // namespace tulrezzo
