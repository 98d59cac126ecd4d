// Raw-input options of the picture commands.
#include "apps/tulrezzo/input_words.h"

#include "apps/tulrezzo/app_error.h"

#include <CLI/CLI.hpp>

namespace tulrezzo {

void AddRawOptions(CLI::App* c, RawWords* w)
{
    c->add_option("--input-format", w->format, "raw input: pixel format (yuy2, i420, yv12, rgb24, rgb32, srgb24, "
                                               "srgb32, vuya; default: yuy2)")
        ->type_name("FORMAT");
    c->add_option("--input-size", w->size, "raw input: frame size (required for .yuv)")->type_name("WxH");
    c->add_option("--rate", w->rate, "raw input: frames per second (default: 30000/1001)")->type_name("N/D");
    c->add_flag("--interlaced", w->interlaced, "raw input: interlaced, top field first");
}

Ratio PositiveRatio(const char* option, const std::string& text, const char* separators, const char* example)
{
    Ratio r;
    if (!ParsePair(text, separators, &r.num, &r.den) || r.num == 0 || r.den == 0)
        throw UsageError(std::string(option) + " '" + text + "': expected two positive numbers, e.g. " + example);
    return r;
}

StreamInfo CheckRawWords(const RawWords& w, bool anyRaw)
{
    StreamInfo raw;
    raw.interlaceTag = w.interlaced ? 't' : 'p';
    if (!anyRaw) {
        if (!w.format.empty() || !w.size.empty() || !w.rate.empty() || w.interlaced)
            throw UsageError("--input-format, --input-size, --rate and --interlaced apply only to raw .yuv input");
        return raw;
    }
    if (w.size.empty())
        throw UsageError("raw .yuv input needs --input-size WIDTHxHEIGHT");
    if (!ParsePair(w.size, "xX", &raw.size.width, &raw.size.height))
        throw UsageError("--input-size '" + w.size + "': expected WIDTHxHEIGHT, e.g. 640x480");
    if (!w.format.empty() && !PixelFormatByName(w.format, &raw.format))
        throw UsageError("--input-format: unknown format '" + w.format + "' (choose " + PixelFormatChoices() + ")");
    const std::string problem = PictureSizeProblem(raw.format, raw.size);
    if (!problem.empty())
        throw UsageError("--input-size '" + w.size + "': " + problem);
    if (!w.rate.empty())
        raw.rate = PositiveRatio("--rate", w.rate, "/:", "30000/1001");
    return raw;
}

}  // namespace tulrezzo
