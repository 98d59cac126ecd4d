// The command line: `tulrezzo resize [INPUT] -o OUTPUT [options]`, parsed
// with CLI11 and checked into the settings a run needs.
#pragma once

#include "apps/tulrezzo/frame_writer.h"
#include "apps/tulrezzo/numbers.h"
#include "apps/tulrezzo/picture_command.h"
#include "apps/tulrezzo/registration_command.h"
#include "filter/core/resize_settings_values.h"

#include <iosfwd>
#include <string>

namespace tulrezzo {

enum class InputKind { TestPattern, Y4m, Raw };

struct ResizeOptions {
    InputKind inputKind = InputKind::TestPattern;
    std::string input;  // empty for the test pattern; "-" is Y4M on standard input
    OutputKind outputKind = OutputKind::Y4m;
    std::string output;  // "-" is Y4M on standard output
    FrameSize size{320, 240};
    LONG mode = RESIZE_MODE_FIT;
    Ratio outputAspect{1, 1};  // the filter's terms: 1:1 is square pixels
    LONG method = FIELD_FILL_NONE;
    LONG policy = FIELD_POLICY_AUTO;
    ULONG frames = 0;  // 0: to the end of the input
    int outputChroma = 0;  // 420 or 422; 0: as the input's
    std::string snapshot;  // empty: no snapshot
    FrameSize snapshotSize{};  // 0 x 0: the output size
    // Raw input only.
    FrameSize inputSize{};
    Ratio rate{30000, 1001};
    Ratio inputAspect{1, 1};
    bool interlaced = false;
    bool quiet = false;
    bool configure = false;  // show the property page on the terminal first
};

// The subcommand a command line chose.
enum class Command { Resize, Registration, Picture };

struct ParseOutcome {
    bool run = false;  // true: options are complete, go on
    int status = 0;    // the exit status when run is false
    Command command = Command::Resize;  // what to run when run is true
};

// The subcommands offered beside resize; each one present on the list is
// offered, and filled when chosen.
struct CommandSet {
    RegistrationCommand* registration = nullptr;  // register, unregister, filters
    PictureCommand* picture = nullptr;            // the library's picture jobs
};

// Parses the arguments. Help goes to out (status 0); a usage error is
// one line on err (status 2).
ParseOutcome ParseCommandLine(int argc, const char* const* argv, ResizeOptions* options, std::ostream& out,
                              std::ostream& err, const CommandSet& commands = {});

// Names used on the command line, for messages and the summary.
const char* ModeName(LONG mode);
const char* MethodName(LONG method);

}  // namespace tulrezzo
