// The run. Frames are read and written on the graph's streaming thread
// (source callback, then filter, then sink callback, one sample at a
// time); the main thread only waits, draws progress and takes the
// snapshot once the stream has ended but before the graph stops, since
// stopping frees the filter's copy of the last frame.
#include "apps/tulrezzo/resize_job.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/bmp_writer.h"
#include "apps/tulrezzo/configure_form.h"
#include "apps/tulrezzo/file_stream.h"
#include "apps/tulrezzo/frame_writer.h"
#include "apps/tulrezzo/input_source.h"
#include "apps/tulrezzo/progress.h"
#include "apps/tulrezzo/resize_graph.h"
#include "apps/tulrezzo/y4m_header.h"
#include "filter/core/image_resizer.h"
#include "filter/core/picture_fit.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <ostream>
#include <vector>

namespace tulrezzo {

namespace {

// IResizeSnapshot gives bottom-up BGR24 for any format but YUY2's.
constexpr LONG kSnapshotBgr24 = 0;
constexpr LONG kProgressMilliseconds = 250;

// What the streaming thread leaves for the main thread.
class StreamState {
public:
    std::atomic<ULONG> framesIn{0};
    std::atomic<ULONG> framesOut{0};

    void SetReadError(const std::string& message) { Set(m_readError, message); }
    void SetWriteError(const std::string& message) { Set(m_writeError, message); }
    std::string ReadError() { return Get(m_readError); }
    std::string WriteError() { return Get(m_writeError); }

private:
    void Set(std::string& slot, const std::string& message)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (slot.empty())
            slot = message;
    }
    std::string Get(const std::string& slot)
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return slot;
    }

    std::mutex m_lock;
    std::string m_readError;
    std::string m_writeError;
};

void TakeSnapshot(IResizeSnapshot* snapshot, const ResizeOptions& options)
{
    const FrameSize size = options.snapshotSize.width != 0 ? options.snapshotSize : options.size;
    std::vector<BYTE> bgr(static_cast<std::size_t>(size.width) * size.height * 3);
    ULONG written = 0;
    const HRESULT hr = snapshot->GetCurrentFrame(bgr.data(), &written, size.width, size.height, kSnapshotBgr24,
                                                 options.mode);
    if (FAILED(hr))
        throw Failure("cannot take the snapshot: " + HresultText(hr));
    if (written != bgr.size())
        throw Failure("cannot take the snapshot: the filter received no frame");
    WriteBmp24(options.snapshot, bgr.data(), size.width, size.height);
}

int Run(const ResizeOptions& options, std::ostream& err, bool showProgress)
{
    const std::unique_ptr<FrameSource> source = OpenFrameSource(options);
    const StreamInfo input = source->Info();

    StreamInfo output;
    output.size = options.size;
    output.rate = input.rate;
    output.pictureAspect = options.outputAspect;
    output.interlaceTag = FilterWillDeinterlace(input, options) ? 'p' : input.interlaceTag;
    // The filter gives YUY2; 4:2:0 output goes back through the library's
    // own kernel, field by field for interlaced frames.
    const bool to420 =
        options.outputChroma == 420 || (options.outputChroma == 0 && Is420Format(source->StoredFormat()));
    output.format = to420 ? TulImage::COLOR_FORMAT_YUV420 : TulImage::COLOR_FORMAT_YUY2;
    const std::string sizeProblem = PictureSizeProblem(output.format, output.size);
    if (!sizeProblem.empty())
        throw Failure("--size " + FormatSize(output.size) + " with 4:2:0 output: " + sizeProblem);
    std::vector<BYTE> planar(to420 ? output.FrameBytes() : 0);
    const std::unique_ptr<FrameWriter> writer = CreateFrameWriter(
        options.output, options.outputKind, output, PixelAspectFromPictureAspect(output.size, options.outputAspect));

    StreamState state;
    const ULONG inputBytes = input.FrameBytes();
    const ULONG outputBytes = Yuy2FrameBytes(output.size);
    const ULONG limit = options.frames;
    FrameSource& reader = *source;
    auto pull = [&](PushFrame& f) -> HRESULT {
        if (limit != 0 && f.index >= limit)
            return S_FALSE;
        if (f.cbBuffer < 0 || static_cast<ULONG>(f.cbBuffer) < inputBytes) {
            state.SetReadError("the source's buffers are smaller than a frame");
            return E_FAIL;
        }
        const ReadOutcome read = reader.ReadFrame(f.pData);
        if (read.status == ReadStatus::End)
            return S_FALSE;
        if (read.status != ReadStatus::Frame) {
            // End the stream normally so every whole frame before this one
            // still reaches the output; the error is reported afterwards.
            state.SetReadError(read.message);
            return S_FALSE;
        }
        f.lActual = static_cast<LONG>(inputBytes);
        f.hasStart = f.hasStop = true;
        f.tStart = FrameStart(f.index, input.rate);
        f.tStop = FrameStart(f.index + 1, input.rate);
        f.syncPoint = true;
        ++state.framesIn;
        return S_OK;
    };
    auto push = [&](IMediaSample* sample) -> HRESULT {
        BYTE* data = nullptr;
        if (FAILED(sample->GetPointer(&data)) || data == nullptr ||
            static_cast<ULONG>(sample->GetActualDataLength()) != outputBytes) {
            state.SetWriteError("the filter delivered a frame of " + std::to_string(sample->GetActualDataLength()) +
                                " bytes; expected " + std::to_string(outputBytes));
            return E_FAIL;
        }
        if (to420) {
            ULONG size = static_cast<ULONG>(planar.size());
            const LONG width = output.size.width;
            if (TulImage::CCIR601YUY2ToYUV420(data, planar.data(), &size, static_cast<ULONG>(width),
                                              static_cast<ULONG>(output.size.height), width * 2, width,
                                              !output.Interlaced()) != TulImage::TUL_SUCCESS) {
                state.SetWriteError("frame " + std::to_string(state.framesOut + 1) +
                                    " could not be converted to 4:2:0");
                return E_FAIL;
            }
            data = planar.data();
        }
        if (!writer->WriteFrame(data)) {
            state.SetWriteError(writer->ErrorMessage());
            return E_FAIL;
        }
        ++state.framesOut;
        return S_OK;
    };

    FilterSettings settings;
    settings.size = options.size;
    settings.mode = options.mode;
    settings.outputAspect = options.outputAspect;
    settings.method = options.method;
    settings.policy = options.policy;
    ResizeGraph graph(input, settings, pull, push);

    ProgressLine progress(err, showProgress);
    const auto started = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(); };
    HRESULT hr = graph.Run();
    if (FAILED(hr))
        throw Failure("cannot run the graph: " + HresultText(hr));
    LONG event = 0;
    for (;;) {
        hr = graph.WaitForCompletion(kProgressMilliseconds, &event);
        if (hr != E_ABORT)
            break;
        progress.Update(state.framesOut, elapsed());
    }
    std::string snapshotError;
    if (hr == S_OK && event == EC_COMPLETE && !options.snapshot.empty()) {
        try {
            TakeSnapshot(graph.Snapshot(), options);
        } catch (const AppError& e) {
            snapshotError = e.what();
        }
    }
    const HRESULT abortCode = graph.LastAbortCode();
    graph.Stop();
    progress.Clear();
    const double seconds = elapsed();
    const bool closed = writer->Finish();

    if (!options.quiet) {
        RunSummary summary;
        summary.framesIn = state.framesIn;
        summary.framesOut = state.framesOut;
        summary.inputSize = input.size;
        summary.outputSize = output.size;
        summary.seconds = seconds;
        err << "tulrezzo: " << FormatSummary(summary) << "\n";
    }
    std::string failure = state.ReadError();
    if (failure.empty())
        failure = state.WriteError();
    if (failure.empty() && !closed)
        failure = writer->ErrorMessage();
    if (failure.empty() && (hr != S_OK || event != EC_COMPLETE))
        failure = "streaming stopped: " + HresultText(FAILED(abortCode) ? abortCode : (FAILED(hr) ? hr : E_FAIL));
    if (failure.empty())
        failure = snapshotError;
    if (!failure.empty())
        throw Failure(failure);
    return kExitOk;
}

}  // namespace

bool FilterWillDeinterlace(const StreamInfo& input, const ResizeOptions& options)
{
    if (!input.Interlaced() || input.size.height % 2 != 0)
        return false;
    if (options.method != FIELD_FILL_DOUBLE && options.method != FIELD_FILL_AVERAGE)
        return false;
    tulfilter::PictureSize picture{};
    if (!tulfilter::FitPicture(input.size.width, input.size.height, input.pictureAspect.num, input.pictureAspect.den,
                               options.size.width, options.size.height, options.outputAspect.num,
                               options.outputAspect.den, options.mode, &picture))
        return false;
    return CImageResizer::NeedsFieldFill(input.size.height, picture.height, options.policy);
}

int RunResize(const ResizeOptions& options, std::ostream& err, bool showProgress)
{
    try {
        if (options.configure) {
            // An input that cannot be read is reported before the form asks
            // anything, not after the user has filled it in.
            if (!options.input.empty() && options.input != "-")
                InputFile probe(options.input);
            ResizeOptions configured = options;
            configured.configure = false;
            const int status = ConfigureAtTerminal(&configured, err);
            return status == kConfigured ? RunResize(configured, err, showProgress) : status;
        }
        return Run(options, err, showProgress && !options.quiet);
    } catch (const AppError& e) {
        err << "tulrezzo: " << e.what() << "\n";
        return e.Status();
    } catch (const std::bad_alloc&) {
        err << "tulrezzo: out of memory\n";
    } catch (const std::exception& e) {
        err << "tulrezzo: " << e.what() << "\n";
    } catch (...) {
        err << "tulrezzo: unexpected failure\n";
    }
    return kExitFailure;
}

}  // namespace tulrezzo
