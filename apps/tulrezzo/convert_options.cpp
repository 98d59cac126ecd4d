// The convert subcommand's options and their checks. Every refusal is one
// line naming the option and the value.
#include "apps/tulrezzo/convert_options.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/file_identity.h"
#include "apps/tulrezzo/file_name.h"
#include "apps/tulrezzo/output_words.h"
#include "apps/tulrezzo/picture_source.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

namespace tulrezzo {

namespace {

template <typename T>
struct Choice {
    const char* name;
    T value;
};

constexpr Choice<TulImage::INTERPOLATION_MODE> kInterpolations[] = {
    {"nearest", TulImage::INTERPOLATION_NEAREST}, {"linear", TulImage::INTERPOLATION_LINEAR},
    {"cubic", TulImage::INTERPOLATION_CUBIC},     {"auto", TulImage::INTERPOLATION_AUTO},
    {"own", TulImage::INTERPOLATION_VEXO}};
constexpr Choice<TulImage::SCAN_TYPE> kScans[] = {{"progressive", TulImage::SCAN_PROGRESSIVE},
                                                  {"tff", TulImage::SCAN_TOP_FIELD_FIRST},
                                                  {"bff", TulImage::SCAN_BOTTOM_FIELD_FIRST}};
constexpr Choice<int> kDeinterlaces[] = {
    {"none", -1}, {"double", TulImage::DEINTERLACE_LINE_DOUBLE}, {"interpolate", TulImage::DEINTERLACE_INTERPOLATE}};

template <typename T, std::size_t N>
T Pick(const Choice<T> (&choices)[N], const char* option, const std::string& text)
{
    std::string names;
    for (const Choice<T>& c : choices) {
        if (text == c.name)
            return c.value;
        names += (names.empty() ? "" : ", ") + std::string(c.name);
    }
    throw UsageError(std::string(option) + ": unknown value '" + text + "' (choose " + names + ")");
}

FrameSize Size(const char* option, const std::string& text)
{
    FrameSize size;
    if (!ParsePair(text, "xX", &size.width, &size.height) || size.width < 1 || size.height < 1 ||
        size.width > kMaxDimension || size.height > kMaxDimension)
        throw UsageError(std::string(option) + " '" + text + "': expected WIDTHxHEIGHT, each 1 to " +
                         std::to_string(kMaxDimension));
    return size;
}


}  // namespace

TulImage::INTERPOLATION_MODE CheckInterpolation(const std::string& text)
{
    return Pick(kInterpolations, "--interpolation", text);
}

CLI::App* AddConvertCommand(CLI::App& app, ConvertWords* w)
{
    CLI::App* c = app.add_subcommand(
        "convert",
        "Convert every frame of INPUT to another format, size, aspect or field order with the picture "
        "library's conversion (prepared once, run for every frame), and write them to OUTPUT. Formats: yuy2 "
        "(packed 4:2:2), i420 and yv12 "
        "(planar 4:2:0, U or V plane first), rgb24 and rgb32 (B, G, R bytes, full range 0-255), srgb24 and "
        "srgb32 (the shifted-straight forms: studio-range RGB, black 0 and white 219), vuya (packed 4:4:4 with "
        "a fourth byte).");
    c->add_option("INPUT", w->input, "input: .y4m (4:2:0 or 4:2:2), - (Y4M on standard input), .bmp (1, 4, 8, "
                                     "24 or 32 bits), .png or .yuv (raw, with --input-format and --input-size); "
                                     "default: the built-in test source")
        ->type_name("FILE");
    c->add_option("-o,--output", w->output, "output: .y4m or - (Y4M: yuy2 as 4:2:2, i420 and yv12 as 4:2:0, vuya "
                                            "as 4:4:4 with alpha), .yuv (raw, any format), .bmp or .png (one "
                                            "picture; name several with a number, e.g. frame-%04d.png)")
        ->required()
        ->type_name("FILE");
    c->add_option("--size", w->size, "output frame size (default: the input's)")->type_name("WxH");
    c->add_flag("--keep-aspect", w->keepAspect, "fit the picture inside the frame keeping its display aspect, "
                                                "with black bars");
    c->add_option("--output-aspect", w->outputAspect, "display aspect of the output frame (default: square "
                                                      "pixels)")
        ->type_name("X:Y");
    c->add_option("--interpolation", w->interpolation, "resampling: nearest, linear, cubic, auto (chosen by the "
                                                       "factors), own (the library's area-averaging resampler) "
                                                       "(default: auto)")
        ->type_name("nearest|linear|cubic|auto|own");
    c->add_option("--deinterlace", w->deinterlace, "interlaced input to progressive output: none, double (line "
                                                   "doubling), interpolate (one field resampled) (default: none)")
        ->type_name("none|double|interpolate");
    c->add_option("--scan", w->scan, "field order of the output (default: the input's; progressive when "
                                     "deinterlacing)")
        ->type_name("progressive|tff|bff");
    c->add_option("--to", w->to, "output pixel format: yuy2, i420, yv12, rgb24, rgb32, srgb24 (studio-range RGB, "
                                 "0-219), srgb32 (the same, 32-bit), vuya (default: the input's, i420 for Y4M from "
                                 "RGB, rgb24 for pictures)")
        ->type_name("FORMAT");
    c->add_option("--frames", w->frames, "stop after N frames (default: the whole input)")->type_name("N");
    AddRawOptions(c, &w->raw);
    c->add_flag("-q,--quiet", w->quiet, "no progress line and no summary");
    return c;
}

ConvertOptions CheckConvert(const ConvertWords& w)
{
    ConvertOptions o;
    o.inputKind = PictureInputKindOf(w.input);
    o.input = w.input;
    o.outputKind = CheckOutputName(w.output);
    o.output = w.output;
    if (!w.size.empty())
        o.size = Size("--size", w.size);
    o.keepAspect = w.keepAspect;
    if (!w.outputAspect.empty())
        o.outputAspect = PositiveRatio("--output-aspect", w.outputAspect, ":", "16:9");
    o.interpolation = CheckInterpolation(w.interpolation);
    const int deinterlace = Pick(kDeinterlaces, "--deinterlace", w.deinterlace);
    o.deinterlace = deinterlace >= 0;
    if (o.deinterlace)
        o.deinterlaceMode = static_cast<TulImage::DEINTERLACE_MODE>(deinterlace);
    o.haveScan = !w.scan.empty();
    if (o.haveScan)
        o.scan = Pick(kScans, "--scan", w.scan);
    if (o.deinterlace && o.haveScan && o.scan != TulImage::SCAN_PROGRESSIVE)
        throw UsageError("--deinterlace makes progressive frames; leave out --scan " + w.scan);
    o.haveFormat = CheckOutputFormat(w.to, o.outputKind, w.output, &o.format);
    o.frames = CheckFrames(w.frames);
    o.raw = CheckRawWords(w.raw, o.inputKind == PictureInputKind::Raw);
    o.quiet = w.quiet;
    if (SameFile(Resolve(o.input, STDIN_FILENO), Resolve(o.output, STDOUT_FILENO)))
        throw UsageError("--output '" + o.output + "' is the input file");
    return o;
}

}  // namespace tulrezzo
