// blend: A and B go into one layout the blends take (A's own when it is
// YUY2, 4:2:0, RGB24 or RGB32, else RGB24); B is resized into A's size by
// a resize-blend with no mix, then mixed into A by the resize-blend of
// equal sizes, which with a field chosen mixes that field's rows only.
#include "apps/tulrezzo/blend_command.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/convert_options.h"
#include "apps/tulrezzo/output_stage.h"
#include "apps/tulrezzo/output_words.h"
#include "apps/tulrezzo/progress.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstring>
#include <ostream>

namespace tulrezzo {

namespace {

ULONG ResizeBlend(PixelFormat f, const BYTE* src, BYTE* dst, BYTE* out, const StreamInfo& s, const StreamInfo& d,
                  float weight, TulImage::FIELD_TYPE field, TulImage::INTERPOLATION_MODE mode)
{
    ULONG size = 0;
    const ULONG sw = static_cast<ULONG>(s.size.width), sh = static_cast<ULONG>(s.size.height);
    const ULONG dw = static_cast<ULONG>(d.size.width), dh = static_cast<ULONG>(d.size.height);
    if (f == TulImage::COLOR_FORMAT_YUY2)
        return TulImage::BlendYUY2(src, dst, out, &size, sw, sh, s.Step(), dw, dh, d.Step(), weight, field, mode);
    if (Is420Format(f))
        return TulImage::BlendYUV420(src, dst, out, &size, sw, sh, s.Step(), dw, dh, d.Step(), weight, field, mode);
    if (f == TulImage::COLOR_FORMAT_RGB32)
        return TulImage::BlendRGB32(src, dst, out, &size, sw, sh, s.Step(), dw, dh, d.Step(), weight, field, mode);
    return TulImage::BlendRGB24(src, dst, out, &size, sw, sh, s.Step(), dw, dh, d.Step(), weight, field, mode);
}

bool IsStill(PictureInputKind kind) { return kind == PictureInputKind::Bmp || kind == PictureInputKind::Png; }

float Weight(const std::string& option, const std::string& text)
{
    char* end = nullptr;
    const float w = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(w >= 0.0f && w <= 1.0f))
        throw UsageError(option + " '" + text + "': expected a weight from 0 to 1");
    return w;
}

void Run(const BlendOptions& o, std::ostream& err, bool showProgress)
{
    const std::unique_ptr<FrameSource> a = OpenPictureSource(o.kindA, o.a, o.raw, o.frames);
    const StreamInfo infoA = a->Info();
    const std::unique_ptr<FrameSource> b = OpenPictureSource(o.kindB, o.b, o.raw, o.frames);
    const StreamInfo infoB = b->Info();
    const bool resize = infoB.size.width != infoA.size.width || infoB.size.height != infoA.size.height;
    if (resize && !o.fit)
        throw Failure("'" + o.b + "' has frames of " + FormatSize(infoB.size) + " and '" + o.a + "' of " +
                      FormatSize(infoA.size) + ": blend mixes frames of one size (--fit resizes B)");
    const PixelFormat f = infoA.format == TulImage::COLOR_FORMAT_YUY2 || Is420Format(infoA.format) ||
                                  infoA.format == TulImage::COLOR_FORMAT_RGB24 ||
                                  infoA.format == TulImage::COLOR_FORMAT_RGB32
                              ? infoA.format
                              : TulImage::COLOR_FORMAT_RGB24;
    const StreamInfo layoutA = PackedLayout(infoA, f, infoA.size);
    const StreamInfo layoutB = PackedLayout(infoB, f, infoB.size);
    FrameConverter toA(infoA, layoutA, "'" + o.a + "'");
    FrameConverter toB(infoB, layoutB, "'" + o.b + "'");
    OutputStage out(layoutA, infoA.format, o.output, o.outputKind, o.haveFormat ? &o.format : nullptr);

    std::vector<BYTE> frameA(infoA.FrameBytes()), frameB(infoB.FrameBytes());
    std::vector<BYTE> mixed(layoutA.FrameBytes()), spare(layoutA.FrameBytes()), over(layoutB.FrameBytes());
    std::vector<BYTE> fitted(resize ? layoutA.FrameBytes() : 0);
    bool haveB = false;

    ProgressLine progress(err, showProgress && !o.quiet);
    RunSummary summary;
    summary.inputSize = summary.outputSize = infoA.size;
    std::string failure;
    while (o.frames == 0 || summary.framesIn < o.frames) {
        ReadOutcome read = a->ReadFrame(frameA.data());
        const BYTE* converted = nullptr;
        if (read.status == ReadStatus::Frame && (!haveB || !IsStill(o.kindB))) {
            read = b->ReadFrame(frameB.data());
            converted = read.status == ReadStatus::Frame ? toB.Run(frameB.data()) : nullptr;
            if (converted != nullptr) {
                std::memcpy(over.data(), converted, over.size());
                if (resize && ResizeBlend(f, over.data(), over.data(), fitted.data(), layoutB, layoutA, 0.0f,
                                          TulImage::FIELD_FRAME, o.interpolation) != TulImage::TUL_SUCCESS)
                    converted = nullptr;
            }
            haveB = converted != nullptr;
            if (read.status == ReadStatus::Frame && !haveB)
                failure = "frame " + std::to_string(summary.framesIn + 1) + " of '" + o.b + "' cannot be used";
        }
        if (read.status != ReadStatus::Frame || !failure.empty()) {
            if (failure.empty())
                failure = read.message;
            break;
        }
        ++summary.framesIn;
        converted = toA.Run(frameA.data());
        if (converted == nullptr) {
            failure = "frame " + std::to_string(summary.framesIn) + " of '" + o.a + "' cannot be converted";
            break;
        }
        std::memcpy(mixed.data(), converted, mixed.size());
        const float weight = o.frames > 1 ? o.weightFrom + (o.weightTo - o.weightFrom) *
                                                               static_cast<float>(summary.framesIn - 1) /
                                                               static_cast<float>(o.frames - 1)
                                          : o.weightFrom;
        if (ResizeBlend(f, resize ? fitted.data() : over.data(), mixed.data(), spare.data(), layoutA, layoutA, weight,
                        o.field, o.interpolation) != TulImage::TUL_SUCCESS) {
            failure = "frame " + std::to_string(summary.framesIn) + " could not be blended";
            break;
        }
        if (!out.Write(mixed.data())) {
            failure = out.Error();
            break;
        }
        ++summary.framesOut;
        progress.Tick(summary.framesOut);
    }
    progress.Clear();
    summary.seconds = progress.Elapsed();
    const bool closed = out.Finish();
    if (!o.quiet)
        err << "tulrezzo: " << FormatSummary(summary) << "\n";
    if (failure.empty() && !closed)
        failure = out.Error();
    if (!failure.empty())
        throw Failure(failure);
}

}  // namespace

CLI::App* AddBlendCommand(CLI::App& app, BlendWords* w)
{
    CLI::App* c = app.add_subcommand(
        "blend", "Mix each frame of B over the frame of A beside it with the picture library's blends and write "
                 "the mix to OUTPUT; a picture B is held for every frame.");
    c->add_option("A", w->a, "input below: .y4m, - (Y4M on standard input), .yuv, .bmp or .png")
        ->required()
        ->type_name("FILE");
    c->add_option("B", w->b, "input mixed over A, of A's size unless --fit")->required()->type_name("FILE");
    c->add_option("-o,--output", w->output, "output: .y4m, -, .yuv, .bmp or .png, as for convert")
        ->required()
        ->type_name("FILE");
    c->add_option("--weight", w->weight, "weight of B, 0 to 1 (default: 0.5)")->type_name("W");
    c->add_option("--weight-from", w->weightFrom, "cross-fade: B's weight on the first frame (with --weight-to "
                                                  "and --frames)")
        ->type_name("W");
    c->add_option("--weight-to", w->weightTo, "cross-fade: B's weight on frame N of --frames")->type_name("W");
    c->add_option("--field", w->field, "mix only the top (even) or bottom (odd) field (default: frame)")
        ->type_name("frame|even|odd");
    c->add_flag("--fit", w->fit, "resize B into A's size first");
    c->add_option("--interpolation", w->interpolation, "resampling for --fit, as for convert (default: auto)")
        ->type_name("nearest|linear|cubic|auto|own");
    c->add_option("--to", w->to, "output pixel format, as for convert (default: A's)")->type_name("FORMAT");
    c->add_option("--frames", w->frames, "stop after N frames (default: the shorter input)")->type_name("N");
    AddRawOptions(c, &w->raw);
    c->add_flag("-q,--quiet", w->quiet, "no progress line and no summary");
    return c;
}

BlendOptions CheckBlend(const BlendWords& w)
{
    BlendOptions o;
    o.a = w.a;
    o.b = w.b;
    o.kindA = PictureInputKindOf(w.a);
    o.kindB = PictureInputKindOf(w.b);
    if (w.a == "-" && w.b == "-")
        throw UsageError("only one input can be standard input");
    o.raw = CheckRawWords(w.raw, o.kindA == PictureInputKind::Raw || o.kindB == PictureInputKind::Raw);
    o.outputKind = CheckOutputName(w.output);
    o.output = w.output;
    o.haveFormat = CheckOutputFormat(w.to, o.outputKind, w.output, &o.format);
    o.frames = CheckFrames(w.frames);
    const bool fade = !w.weightFrom.empty() || !w.weightTo.empty();
    if (fade && (w.weightFrom.empty() || w.weightTo.empty() || !w.weight.empty() || o.frames == 0))
        throw UsageError("a cross-fade takes --weight-from, --weight-to and --frames N, and no --weight");
    o.weightFrom = fade             ? Weight("--weight-from", w.weightFrom)
                   : w.weight.empty() ? 0.5f
                                      : Weight("--weight", w.weight);
    o.weightTo = fade ? Weight("--weight-to", w.weightTo) : o.weightFrom;
    if (w.field != "frame" && w.field != "even" && w.field != "odd")
        throw UsageError("--field: unknown field '" + w.field + "' (choose frame, even, odd)");
    o.field = w.field == "even" ? TulImage::FIELD_EVEN : w.field == "odd" ? TulImage::FIELD_ODD : TulImage::FIELD_FRAME;
    o.interpolation = CheckInterpolation(w.interpolation);
    o.fit = w.fit;
    o.quiet = w.quiet;
    return o;
}

int RunBlend(const BlendOptions& options, std::ostream& err, bool showProgress)
{
    try {
        Run(options, err, showProgress);
        return kExitOk;
    } catch (const AppError& e) {
        err << "tulrezzo: " << e.what() << "\n";
        return e.Status();
    } catch (const std::exception& e) {
        err << "tulrezzo: " << e.what() << "\n";
    }
    return kExitFailure;
}

}  // namespace tulrezzo
