// CLI11 collects the words; the checks that turn them into settings are
// ours, so every refusal is one line that names the option and the value.
#include "apps/tulrezzo/options.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/file_identity.h"
#include "apps/tulrezzo/file_name.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include <ostream>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace tulrezzo {

namespace {

struct Name {
    const char* text;
    LONG value;
};

constexpr Name kModes[] = {{"stretch", RESIZE_MODE_FIT}, {"keep-aspect", RESIZE_MODE_KEEP_ASPECT}};
constexpr Name kMethods[] = {{"none", FIELD_FILL_NONE}, {"double", FIELD_FILL_DOUBLE}, {"average", FIELD_FILL_AVERAGE}};
// Any policy value other than auto and always means never; 1 is the one
// the property page uses.
constexpr Name kPolicies[] = {{"auto", FIELD_POLICY_AUTO}, {"always", FIELD_POLICY_ALWAYS}, {"never", 1}};

template <std::size_t N>
LONG LookUp(const Name (&names)[N], const std::string& option, const std::string& what, const std::string& text)
{
    std::string choices;
    for (const Name& n : names) {
        if (text == n.text)
            return n.value;
        choices += choices.empty() ? "" : ", ";
        choices += n.text;
    }
    throw UsageError(option + ": unknown " + what + " '" + text + "' (choose " + choices + ")");
}

template <std::size_t N>
const char* NameOf(const Name (&names)[N], LONG value)
{
    for (const Name& n : names)
        if (n.value == value)
            return n.text;
    return "?";
}

FrameSize SizeOption(const std::string& option, const std::string& text)
{
    FrameSize size;
    if (!ParsePair(text, "xX", &size.width, &size.height))
        throw UsageError(option + " '" + text + "': expected WIDTHxHEIGHT, e.g. 640x480");
    const std::string problem = FrameSizeProblem(size);
    if (!problem.empty())
        throw UsageError(option + " '" + text + "': " + problem);
    return size;
}

Ratio RatioOption(const std::string& option, const std::string& text, const char* separators, const char* example)
{
    Ratio ratio;
    if (!ParsePair(text, separators, &ratio.num, &ratio.den) || ratio.num == 0 || ratio.den == 0)
        throw UsageError(option + " '" + text + "': expected two positive numbers, e.g. " + example);
    return ratio;
}

// The words as CLI11 leaves them, before they are checked.
struct Words {
    std::string input;
    std::string output;
    std::string size = "320x240";
    std::string mode = "stretch";
    std::string outputAspect = "1:1";
    std::string method = "none";
    std::string policy = "auto";
    std::string frames;
    std::string outputChroma;
    std::string snapshot;
    std::string snapshotSize;
    std::string inputSize;
    std::string rate;
    std::string inputAspect;
    bool interlaced = false;
    bool progressive = false;
    bool quiet = false;
    bool configure = false;
};

void Check(const Words& w, ResizeOptions* o)
{
    if (w.input.empty()) {
        o->inputKind = InputKind::TestPattern;
    } else if (w.input == "-" || HasExtension(w.input, ".y4m")) {
        o->inputKind = InputKind::Y4m;
    } else if (HasExtension(w.input, ".yuv")) {
        o->inputKind = InputKind::Raw;
    } else {
        throw UsageError("input '" + w.input +
                         "': cannot tell its format from the name (use .y4m, .yuv, or - for Y4M on standard "
                         "input; convert other files with ffmpeg)");
    }
    o->input = w.input;
    if (!OutputKindOf(w.output, &o->outputKind))
        throw UsageError("--output '" + w.output +
                         "': cannot tell the format from the name (use .y4m, .yuv, or - for Y4M on standard output)");
    o->output = w.output;

    o->size = SizeOption("--size", w.size);
    o->mode = LookUp(kModes, "--mode", "mode", w.mode);
    o->outputAspect = RatioOption("--output-aspect", w.outputAspect, ":", "16:9");
    o->method = LookUp(kMethods, "--deinterlace", "method", w.method);
    o->policy = LookUp(kPolicies, "--policy", "policy", w.policy);
    if (!w.frames.empty()) {
        LONG frames = 0;
        if (!ParseNumber(w.frames, &frames) || frames == 0)
            throw UsageError("--frames '" + w.frames + "': expected a number of frames, at least 1");
        o->frames = static_cast<ULONG>(frames);
    }
    if (!w.outputChroma.empty()) {
        if (w.outputChroma != "420" && w.outputChroma != "422")
            throw UsageError("--output-chroma: unknown chroma '" + w.outputChroma + "' (choose 420, 422)");
        o->outputChroma = w.outputChroma == "420" ? 420 : 422;
    }
    if (!w.snapshotSize.empty() && w.snapshot.empty())
        throw UsageError("--snapshot-size needs --snapshot FILE");
    if (w.snapshot == "-")
        throw UsageError("--snapshot needs a file name; the picture does not go to standard output");
    o->snapshot = w.snapshot;
    // Left 0 x 0 without the option: the snapshot takes the output size the
    // run ends up with, which --configure may still change.
    o->snapshotSize = w.snapshotSize.empty() ? FrameSize{} : SizeOption("--snapshot-size", w.snapshotSize);

    const std::pair<const char*, bool> rawOnly[] = {{"--input-size", !w.inputSize.empty()},
                                                    {"--rate", !w.rate.empty()},
                                                    {"--aspect", !w.inputAspect.empty()},
                                                    {"--interlaced", w.interlaced},
                                                    {"--progressive", w.progressive}};
    if (o->inputKind != InputKind::Raw) {
        for (const auto& [option, given] : rawOnly)
            if (given)
                throw UsageError(std::string(option) + " applies only to raw .yuv input");
    } else {
        if (w.inputSize.empty())
            throw UsageError("raw input '" + w.input + "' needs --input-size WIDTHxHEIGHT");
        o->inputSize = SizeOption("--input-size", w.inputSize);
        if (!w.rate.empty())
            o->rate = RatioOption("--rate", w.rate, "/:", "30000/1001");
        if (!w.inputAspect.empty())
            o->inputAspect = RatioOption("--aspect", w.inputAspect, ":", "4:3");
        o->interlaced = w.interlaced;
    }
    o->quiet = w.quiet;
    o->configure = w.configure;

    // Writing a file the run also reads or writes would destroy it: the
    // output is created before the first frame is read, and the snapshot
    // written over whatever has that name once the stream ends.
    const FileRef input = Resolve(o->input, STDIN_FILENO);
    const FileRef output = Resolve(o->output, STDOUT_FILENO);
    const FileRef snapshot = Resolve(o->snapshot, -1);
    if (SameFile(input, output))
        throw UsageError("--output '" + o->output + "' is the input file");
    if (SameFile(snapshot, output) || SameFile(snapshot, input))
        throw UsageError("--snapshot '" + o->snapshot + "' is the input or the output file");
}

}  // namespace

const char* ModeName(LONG mode) { return NameOf(kModes, mode); }
const char* MethodName(LONG method) { return NameOf(kMethods, method); }

ParseOutcome ParseCommandLine(int argc, const char* const* argv, ResizeOptions* options, std::ostream& out,
                              std::ostream& err, const CommandSet& commands)
{
    Words w;
    CLI::App app("Streams video through the Vexo Tul Rezzo Filter, which resizes every YUY2 frame, and runs "
                 "the picture library's jobs on files and streams. Run 'tulrezzo COMMAND --help' for the options "
                 "of each command.",
                 "tulrezzo");
    app.require_subcommand(1);
    CLI::App* resize = app.add_subcommand(
        "resize",
        "Resize every frame of INPUT to one output size and write them to OUTPUT. INPUT is a Y4M file with "
        "4:2:0 or 4:2:2 chroma (.y4m, or - for standard input; 4:2:0 becomes YUY2 for the filter) or raw YUY2 "
        "(.yuv, with --input-size); without INPUT a "
        "built-in test source plays: 720x480 interlaced colour bars with a moving box, 30000/1001 frames per "
        "second, 300 frames.");
    resize->add_option("INPUT", w.input, "input file: .y4m (4:2:0 or 4:2:2), - (Y4M on standard input) or .yuv "
                                         "(raw YUY2); default: the built-in test source")
        ->type_name("FILE");
    resize->add_option("-o,--output", w.output, "output file: .y4m, .yuv (raw YUY2, or I420 with "
                                                "--output-chroma 420) or - (Y4M on standard output)")
        ->required()
        ->type_name("FILE");
    resize->add_option("--size", w.size, "output frame size, width even (default: 320x240)")->type_name("WxH");
    resize->add_option("--mode", w.mode, "stretch: fill the frame; keep-aspect: fit the picture inside it with "
                                         "black bars (default: stretch)")
        ->type_name("stretch|keep-aspect");
    resize->add_option("--output-aspect", w.outputAspect,
                       "display aspect of the output frame, used by keep-aspect and written to the Y4M header; "
                       "1:1 means square pixels (default: 1:1)")
        ->type_name("X:Y");
    resize->add_option("--deinterlace", w.method, "in-place deinterlace of interlaced input when the filter "
                                                  "needs it: none, double (line doubling), average "
                                                  "(default: none)")
        ->type_name("none|double|average");
    resize->add_option("--policy", w.policy, "when the picture keeps the input height: auto (deinterlace unless "
                                             "the height is a multiple of 32), always, never (default: auto)")
        ->type_name("auto|always|never");
    resize->add_option("--frames", w.frames, "stop after N frames (default: the whole input; 300 for the test "
                                             "source)")
        ->type_name("N");
    resize->add_option("--output-chroma", w.outputChroma, "chroma of the output: 420 (I420) or 422 (YUY2) "
                                                          "(default: the input's)")
        ->type_name("420|422");
    resize->add_option("--snapshot", w.snapshot, "after the last frame, write a still picture of it as a 24-bit "
                                                 "BMP, resized in the --mode chosen")
        ->type_name("FILE");
    resize->add_option("--snapshot-size", w.snapshotSize, "size of the snapshot (default: the output size)")
        ->type_name("WxH");
    resize->add_option("--input-size", w.inputSize, "raw input: frame size (required for .yuv)")->type_name("WxH");
    resize->add_option("--rate", w.rate, "raw input: frames per second (default: 30000/1001)")->type_name("N/D");
    resize->add_option("--aspect", w.inputAspect, "raw input: display aspect; 1:1 means square pixels "
                                                  "(default: 1:1)")
        ->type_name("X:Y");
    CLI::Option* interlaced = resize->add_flag("--interlaced", w.interlaced, "raw input: interlaced, top field "
                                                                             "first");
    CLI::Option* progressive = resize->add_flag("--progressive", w.progressive, "raw input: progressive (default)");
    interlaced->excludes(progressive);
    resize->add_flag("-q,--quiet", w.quiet, "no progress line and no summary");
    resize->add_flag("--configure", w.configure, "set the size and mode on the filter's property page, shown on "
                                                "the terminal, before the run");

    if (commands.picture != nullptr)
        AddPictureCommands(app, commands.picture);
    if (commands.registration != nullptr)
        AddRegistrationCommands(app, commands.registration);
    const std::vector<CLI::App*> offered = app.get_subcommands({});
    const bool known = argc <= 1 || argv[1][0] == '-' ||
                       std::any_of(offered.begin(), offered.end(),
                                   [&](const CLI::App* sub) { return sub->get_name() == argv[1]; });
    if (!known) {
        std::string names;
        for (std::size_t i = 0; i < offered.size(); ++i)
            names += (i == 0 ? "" : i + 1 == offered.size() ? " and " : ", ") + offered[i]->get_name();
        err << "tulrezzo: unknown command '" << argv[1] << "' (the command" << (offered.size() > 1 ? "s are " : " is ")
            << names << "; see tulrezzo --help)\n";
        return {false, kExitUsage};
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0)
            return {false, app.exit(e, out, err)};
        const std::string name = argc > 1 && argv[1][0] != '-' ? argv[1] : "resize";
        err << "tulrezzo: " << e.what() << " (see tulrezzo " << name << " --help)\n";
        return {false, kExitUsage};
    }
    if (commands.registration != nullptr && !commands.registration->name.empty())
        return {true, kExitOk, Command::Registration};
    try {
        if (commands.picture != nullptr && !commands.picture->name.empty()) {
            CheckPictureCommand(commands.picture);
            return {true, kExitOk, Command::Picture};
        }
        Check(w, options);
    } catch (const AppError& e) {
        err << "tulrezzo: " << e.what() << "\n";
        return {false, kExitUsage};
    }
    return {true, kExitOk};
}

}  // namespace tulrezzo
