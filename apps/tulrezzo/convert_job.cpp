// Convert: the source's frames, as they are stored, go through one
// prepared conversion of the picture library into the layout the output
// writes; the program itself touches no pixel.
#include "apps/tulrezzo/convert_job.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/picture_source.h"
#include "apps/tulrezzo/progress.h"
#include "apps/tulrezzo/y4m_header.h"

#include <new>
#include <ostream>
#include <vector>

namespace tulrezzo {

namespace {

char InterlaceTag(TulImage::SCAN_TYPE scan)
{
    return scan == TulImage::SCAN_TOP_FIELD_FIRST ? 't' : scan == TulImage::SCAN_BOTTOM_FIELD_FIRST ? 'b' : 'p';
}

std::string Describe(const StreamInfo& info)
{
    return std::string(PixelFormatName(info.format)) + " " + FormatSize(info.size);
}

int Run(const ConvertOptions& o, std::ostream& err, bool showProgress)
{
    const std::unique_ptr<FrameSource> source = OpenPictureSource(o.inputKind, o.input, o.raw, o.frames);
    const StreamInfo in = source->Info();

    StreamInfo out;
    out.size = o.size.width != 0 ? o.size : in.size;
    out.rate = in.rate;
    out.format = o.haveFormat ? o.format : DefaultOutputFormat(o.outputKind, in.format);
    const std::string problem = PictureSizeProblem(out.format, out.size);
    if (!problem.empty())
        throw Failure("cannot write " + Describe(out) + " frames: " + problem);
    const TulImage::SCAN_TYPE inScan = ScanOf(in);
    const TulImage::SCAN_TYPE outScan = o.haveScan ? o.scan : o.deinterlace ? TulImage::SCAN_PROGRESSIVE : inScan;
    out.interlaceTag = InterlaceTag(outScan);
    out.step = OutputStep(o.outputKind, out.format, out.size.width);
    // The output's display aspect: as asked; else the input's when the
    // frame keeps its size, square pixels when it is resized or fitted.
    const bool reshaped = o.size.width != 0 || o.keepAspect;
    out.pictureAspect = o.outputAspect.num != 0 ? o.outputAspect : reshaped ? Ratio{1, 1} : in.pictureAspect;

    PICTURE_INFO src = PictureInfoOf(in, in.FrameBytes(), in.Step(), inScan);
    PICTURE_INFO dst = PictureInfoOf(out, 0, out.step, outScan);
    // Fields are worked on unless interlaced frames are only relabelled
    // progressive (no --deinterlace).
    const bool fields =
        inScan != TulImage::SCAN_PROGRESSIVE && (o.deinterlace || outScan != TulImage::SCAN_PROGRESSIVE);
    CONVERT_MODE mode{o.keepAspect, fields, o.interpolation, o.deinterlaceMode};
    TulImage image;
    const ULONG prepared = image.InitializeConvert(&src, &dst, &mode);
    if (prepared != TulImage::TUL_SUCCESS || dst.size != out.FrameBytes())
        throw Failure("cannot convert " + Describe(in) + " to " + Describe(out) +
                      ": the picture library does not offer this conversion");

    const std::unique_ptr<FrameWriter> writer = CreateFrameWriter(
        o.output, o.outputKind, out, PixelAspectFromPictureAspect(out.size, out.pictureAspect));
    std::vector<BYTE> from(in.FrameBytes());
    std::vector<BYTE> to(dst.size);

    ProgressLine progress(err, showProgress);
    RunSummary summary;
    summary.inputSize = in.size;
    summary.outputSize = out.size;
    std::string failure;
    while (o.frames == 0 || summary.framesIn < o.frames) {
        const ReadOutcome read = source->ReadFrame(from.data());
        if (read.status == ReadStatus::End)
            break;
        if (read.status != ReadStatus::Frame) {
            failure = read.message;
            break;
        }
        ++summary.framesIn;
        if (image.Convert(from.data(), to.data()) != TulImage::TUL_SUCCESS) {
            failure = "frame " + std::to_string(summary.framesIn) + " could not be converted";
            break;
        }
        if (!writer->WriteFrame(to.data())) {
            failure = writer->ErrorMessage();
            break;
        }
        ++summary.framesOut;
        progress.Tick(summary.framesOut);
    }
    progress.Clear();
    summary.seconds = progress.Elapsed();
    const bool closed = writer->Finish();
    if (!o.quiet)
        err << "tulrezzo: " << FormatSummary(summary) << "\n";
    if (failure.empty() && !closed)
        failure = writer->ErrorMessage();
    if (!failure.empty())
        throw Failure(failure);
    return kExitOk;
}

}  // namespace

int RunConvert(const ConvertOptions& options, std::ostream& err, bool showProgress)
{
    try {
        return Run(options, err, showProgress && !options.quiet);
    } catch (const AppError& e) {
        err << "tulrezzo: " << e.what() << "\n";
        return e.Status();
    } catch (const std::bad_alloc&) {
        err << "tulrezzo: out of memory\n";
    } catch (const std::exception& e) {
        err << "tulrezzo: " << e.what() << "\n";
    }
    return kExitFailure;
}

}  // namespace tulrezzo
