// diff: both inputs go into the layout of one difference measure (4:2:0
// or YUY2 luma when the first input is stored so, RGB24 otherwise)
// through the library's conversion, and the measure compares them.
#include "apps/tulrezzo/diff_command.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/frame_converter.h"
#include "apps/tulrezzo/progress.h"

#include <CLI/CLI.hpp>
#include <cstring>
#include <ostream>

namespace tulrezzo {

namespace {

ULONG Delta(PixelFormat format, const BYTE* a, const BYTE* b, FrameSize size)
{
    const ULONG w = static_cast<ULONG>(size.width), h = static_cast<ULONG>(size.height);
    if (format == TulImage::COLOR_FORMAT_YUY2)
        return TulImage::GetDeltaFromYUY2(a, b, w, h);
    if (Is420Format(format))
        return TulImage::GetDeltaFromYUV420(a, b, w, h);
    return TulImage::GetDeltaFromRGB24(a, b, w, h);
}

bool IsStill(PictureInputKind kind) { return kind == PictureInputKind::Bmp || kind == PictureInputKind::Png; }

void Run(const DiffOptions& o, std::ostream& out, std::ostream& err, bool showProgress)
{
    const std::unique_ptr<FrameSource> a = OpenPictureSource(o.kindA, o.a, o.raw, o.frames);
    const StreamInfo infoA = a->Info();
    const PixelFormat measure = infoA.format == TulImage::COLOR_FORMAT_YUY2 || Is420Format(infoA.format)
                                    ? infoA.format
                                    : TulImage::COLOR_FORMAT_RGB24;
    const StreamInfo layout = PackedLayout(infoA, measure, infoA.size);
    FrameConverter toA(infoA, layout, "'" + o.a + "'");
    std::unique_ptr<FrameSource> b;
    std::unique_ptr<FrameConverter> toB;
    if (!o.b.empty()) {
        b = OpenPictureSource(o.kindB, o.b, o.raw, o.frames);
        const StreamInfo infoB = b->Info();
        if (infoB.size.width != infoA.size.width || infoB.size.height != infoA.size.height)
            throw Failure("'" + o.b + "' has frames of " + FormatSize(infoB.size) + " and '" + o.a + "' of " +
                          FormatSize(infoA.size) + ": diff compares frames of one size");
        toB = std::make_unique<FrameConverter>(infoB, PackedLayout(infoB, measure, infoA.size), "'" + o.b + "'");
    }
    std::vector<BYTE> frameA(infoA.FrameBytes()), frameB(b ? b->Info().FrameBytes() : 0);
    std::vector<BYTE> previous(layout.FrameBytes());
    const BYTE* other = nullptr;

    ProgressLine progress(err, showProgress && !o.quiet);
    RunSummary summary;
    summary.inputSize = summary.outputSize = infoA.size;
    std::string failure;
    out << "frame,delta\n";
    while (o.frames == 0 || summary.framesIn < o.frames) {
        ReadOutcome read = a->ReadFrame(frameA.data());
        if (read.status == ReadStatus::Frame && b && (other == nullptr || !IsStill(o.kindB))) {
            read = b->ReadFrame(frameB.data());
            other = read.status == ReadStatus::Frame ? toB->Run(frameB.data()) : nullptr;
            if (read.status == ReadStatus::Frame && other == nullptr)
                failure = "frame " + std::to_string(summary.framesIn + 1) + " of '" + o.b + "' cannot be converted";
        }
        if (read.status != ReadStatus::Frame) {
            failure = read.message;
            break;
        }
        ++summary.framesIn;
        const BYTE* current = toA.Run(frameA.data());
        if (current == nullptr || !failure.empty()) {
            if (failure.empty())
                failure = "frame " + std::to_string(summary.framesIn) + " of '" + o.a + "' cannot be converted";
            break;
        }
        if (b || summary.framesIn > 1) {
            const ULONG delta = Delta(measure, current, b ? other : previous.data(), infoA.size);
            if (!o.cuts || delta > o.threshold)
                out << summary.framesIn << "," << delta << "\n" << std::flush;
            ++summary.framesOut;
        }
        if (!b)
            std::memcpy(previous.data(), current, previous.size());
        progress.Tick(summary.framesIn);
    }
    progress.Clear();
    summary.seconds = progress.Elapsed();
    if (!o.quiet)
        err << "tulrezzo: " << FormatSummary(summary) << "\n";
    if (!out)
        failure = "cannot write the list to standard output";
    if (!failure.empty())
        throw Failure(failure);
}

}  // namespace

CLI::App* AddDiffCommand(CLI::App& app, DiffWords* w)
{
    CLI::App* c = app.add_subcommand(
        "diff", "Measure how much each frame of A differs from the previous one, or from the frame of B beside it, "
                "with the picture library's frame difference (the sum of absolute luma differences on every 8th "
                "row and pixel), and print 'frame,delta' lines on standard output.");
    c->add_option("A", w->a, "input: .y4m, - (Y4M on standard input), .yuv, .bmp or .png")
        ->required()
        ->type_name("FILE");
    c->add_option("B", w->b, "second input, of A's size; a picture is held for every frame")->type_name("FILE");
    c->add_option("--cuts", w->cuts, "print only the frames whose difference exceeds THRESHOLD: a scene-cut list")
        ->type_name("THRESHOLD");
    c->add_option("--frames", w->frames, "stop after N frames of A (default: all)")->type_name("N");
    AddRawOptions(c, &w->raw);
    c->add_flag("-q,--quiet", w->quiet, "no progress line and no summary");
    return c;
}

DiffOptions CheckDiff(const DiffWords& w)
{
    DiffOptions o;
    o.a = w.a;
    o.b = w.b;
    o.kindA = PictureInputKindOf(w.a);
    if (!w.b.empty())
        o.kindB = PictureInputKindOf(w.b);
    if (w.a == "-" && w.b == "-")
        throw UsageError("only one input can be standard input");
    const bool raw = o.kindA == PictureInputKind::Raw || (!w.b.empty() && o.kindB == PictureInputKind::Raw);
    o.raw = CheckRawWords(w.raw, raw);
    o.cuts = !w.cuts.empty();
    LONG number = 0;
    if (o.cuts && !ParseNumber(w.cuts, &number))
        throw UsageError("--cuts '" + w.cuts + "': expected a whole number, the difference a cut exceeds");
    o.threshold = static_cast<ULONG>(number);
    if (!w.frames.empty() && (!ParseNumber(w.frames, &number) || number == 0))
        throw UsageError("--frames '" + w.frames + "': expected a number of frames, at least 1");
    o.frames = w.frames.empty() ? 0 : static_cast<ULONG>(number);
    o.quiet = w.quiet;
    return o;
}

int RunDiff(const DiffOptions& options, std::ostream& out, std::ostream& err, bool showProgress)
{
    try {
        Run(options, out, err, showProgress);
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
