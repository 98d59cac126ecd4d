// Output checks shared by the picture commands.
#include "apps/tulrezzo/output_words.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/numbered_name.h"

namespace tulrezzo {

namespace {

// The formats each output kind can hold.
bool Holds(OutputKind kind, PixelFormat f)
{
    switch (kind) {
    case OutputKind::Y4m:
        return f == TulImage::COLOR_FORMAT_YUY2 || Is420Format(f) || f == TulImage::COLOR_FORMAT_VUYA;
    case OutputKind::Bmp:
    case OutputKind::Png:
        return f == TulImage::COLOR_FORMAT_RGB24 || f == TulImage::COLOR_FORMAT_RGB32;
    case OutputKind::Raw:
        break;
    }
    return true;
}

}  // namespace

OutputKind CheckOutputName(const std::string& output)
{
    OutputKind kind = OutputKind::Y4m;
    if (!OutputKindOf(output, &kind, true))
        throw UsageError("--output '" + output + "': cannot tell the format from the name (use .y4m, .yuv, "
                                                 ".bmp, .png, or - for Y4M on standard output)");
    if (kind == OutputKind::Bmp || kind == OutputKind::Png) {
        NumberedName name;
        std::string problem;
        if (!ParseNumberedName(output, &name, &problem))
            throw UsageError("--output " + problem);
    }
    return kind;
}

bool CheckOutputFormat(const std::string& to, OutputKind kind, const std::string& output, PixelFormat* format)
{
    if (to.empty())
        return false;
    if (!PixelFormatByName(to, format))
        throw UsageError("--to: unknown format '" + to + "' (choose " + PixelFormatChoices() + ")");
    if (!Holds(kind, *format))
        throw UsageError("--to " + to + ": '" + output + "' cannot hold it (Y4M takes yuy2, i420, yv12, vuya; "
                                                         "BMP and PNG take rgb24, rgb32)");
    return true;
}

ULONG CheckFrames(const std::string& text)
{
    LONG frames = 0;
    if (!text.empty() && (!ParseNumber(text, &frames) || frames == 0))
        throw UsageError("--frames '" + text + "': expected a number of frames, at least 1");
    return static_cast<ULONG>(frames);
}

}  // namespace tulrezzo
