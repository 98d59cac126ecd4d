// overlay: every background frame goes into RGB24 rows; the rectangle
// under the foreground is cut out, composited with the foreground by
// AlphaCompRGB24 (which takes whole pictures of one size) and put back.
#include "apps/tulrezzo/overlay_command.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/output_stage.h"
#include "apps/tulrezzo/output_words.h"
#include "apps/tulrezzo/progress.h"

#include <CLI/CLI.hpp>
#include <cstring>
#include <ostream>

namespace tulrezzo {

namespace {

void Run(const OverlayOptions& o, std::ostream& err, bool showProgress)
{
    const std::unique_ptr<FrameSource> bg = OpenPictureSource(o.kindBackground, o.background, o.raw, o.frames);
    const StreamInfo infoBg = bg->Info();
    const std::unique_ptr<FrameSource> fg = OpenPictureSource(o.kindForeground, o.foreground, o.raw, 0);
    const StreamInfo infoFg = fg->Info();
    if (infoFg.format != TulImage::COLOR_FORMAT_RGB32)
        throw Failure("'" + o.foreground + "' has no alpha channel: overlay takes a PNG with alpha or a 32-bit BMP");
    const FrameSize fs = infoFg.size;
    if (static_cast<std::int64_t>(o.x) + fs.width > infoBg.size.width ||
        static_cast<std::int64_t>(o.y) + fs.height > infoBg.size.height)
        throw Failure("the foreground '" + o.foreground + "' (" + FormatSize(fs) + " at " + std::to_string(o.x) +
                      "," + std::to_string(o.y) + ") does not fit inside the background (" +
                      FormatSize(infoBg.size) + ")");
    const StreamInfo layoutBg = PackedLayout(infoBg, TulImage::COLOR_FORMAT_RGB24, infoBg.size);
    const StreamInfo layoutFg = PackedLayout(infoFg, TulImage::COLOR_FORMAT_RGB32, fs);
    FrameConverter toBg(infoBg, layoutBg, "'" + o.background + "'");
    FrameConverter toFg(infoFg, layoutFg, "'" + o.foreground + "'");
    std::vector<BYTE> picture(infoFg.FrameBytes()), frame(infoBg.FrameBytes()), work(layoutBg.FrameBytes());
    const ReadOutcome still = fg->ReadFrame(picture.data());
    const BYTE* fgRows = still.status == ReadStatus::Frame ? toFg.Run(picture.data()) : nullptr;
    if (fgRows == nullptr)
        throw Failure("'" + o.foreground + "' cannot be read: " + still.message);
    std::vector<BYTE> foreground(fgRows, fgRows + layoutFg.FrameBytes());
    OutputStage out(layoutBg, infoBg.format, o.output, o.outputKind, o.haveFormat ? &o.format : nullptr);

    const std::size_t cutRow = static_cast<std::size_t>(PackedLayout(infoFg, TulImage::COLOR_FORMAT_RGB24, fs).step);
    std::vector<BYTE> under(cutRow * fs.height), over(cutRow * fs.height);
    const std::size_t bgRow = static_cast<std::size_t>(layoutBg.step);
    BYTE* const corner = work.data() + bgRow * o.y + 3 * static_cast<std::size_t>(o.x);
    const std::size_t pixels = 3 * static_cast<std::size_t>(fs.width);

    ProgressLine progress(err, showProgress && !o.quiet);
    RunSummary summary;
    summary.inputSize = summary.outputSize = infoBg.size;
    std::string failure;
    while (o.frames == 0 || summary.framesIn < o.frames) {
        const ReadOutcome read = bg->ReadFrame(frame.data());
        if (read.status != ReadStatus::Frame) {
            failure = read.message;
            break;
        }
        ++summary.framesIn;
        const BYTE* rows = toBg.Run(frame.data());
        if (rows == nullptr) {
            failure = "frame " + std::to_string(summary.framesIn) + " cannot be converted";
            break;
        }
        std::memcpy(work.data(), rows, work.size());
        for (LONG r = 0; r < fs.height; ++r)
            std::memcpy(&under[cutRow * r], corner + bgRow * r, pixels);
        if (TulImage::AlphaCompRGB24(foreground.data(), under.data(), over.data(), static_cast<ULONG>(fs.width),
                                     static_cast<ULONG>(fs.height)) != TulImage::TUL_SUCCESS) {
            failure = "frame " + std::to_string(summary.framesIn) + " could not be composited";
            break;
        }
        for (LONG r = 0; r < fs.height; ++r)
            std::memcpy(corner + bgRow * r, &over[cutRow * r], pixels);
        if (!out.Write(work.data())) {
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

CLI::App* AddOverlayCommand(CLI::App& app, OverlayWords* w)
{
    CLI::App* c = app.add_subcommand(
        "overlay", "Composite a picture with alpha over every frame of BACKGROUND with the picture library's "
                   "alpha compositing, and write the frames to OUTPUT.");
    c->add_option("BACKGROUND", w->background, "input: .y4m, - (Y4M on standard input), .yuv, .bmp or .png")
        ->required()
        ->type_name("FILE");
    c->add_option("FOREGROUND", w->foreground, "picture with alpha: a PNG with an alpha channel or a 32-bit BMP")
        ->required()
        ->type_name("FILE");
    c->add_option("-o,--output", w->output, "output: .y4m, -, .yuv, .bmp or .png, as for convert")
        ->required()
        ->type_name("FILE");
    c->add_option("--at", w->at, "top-left corner of the picture on the frame (default: 0,0)")->type_name("X,Y");
    c->add_option("--to", w->to, "output pixel format, as for convert (default: the background's)")
        ->type_name("FORMAT");
    c->add_option("--frames", w->frames, "stop after N frames (default: all)")->type_name("N");
    AddRawOptions(c, &w->raw);
    c->add_flag("-q,--quiet", w->quiet, "no progress line and no summary");
    return c;
}

OverlayOptions CheckOverlay(const OverlayWords& w)
{
    OverlayOptions o;
    o.background = w.background;
    o.foreground = w.foreground;
    o.kindBackground = PictureInputKindOf(w.background);
    o.kindForeground = PictureInputKindOf(w.foreground);
    if (o.kindForeground != PictureInputKind::Bmp && o.kindForeground != PictureInputKind::Png)
        throw UsageError("FOREGROUND '" + w.foreground + "': expected a .png or .bmp picture");
    o.raw = CheckRawWords(w.raw, o.kindBackground == PictureInputKind::Raw);
    o.outputKind = CheckOutputName(w.output);
    o.output = w.output;
    o.haveFormat = CheckOutputFormat(w.to, o.outputKind, w.output, &o.format);
    o.frames = CheckFrames(w.frames);
    if (!w.at.empty() && !ParsePair(w.at, ",", &o.x, &o.y))
        throw UsageError("--at '" + w.at + "': expected X,Y, e.g. 16,16");
    o.quiet = w.quiet;
    return o;
}

int RunOverlay(const OverlayOptions& options, std::ostream& err, bool showProgress)
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
