// The picture library's jobs at the terminal: `tulrezzo convert`, `blend`,
// `overlay` and `diff`. Each subcommand's words are collected by CLI11,
// checked into its options, and run.
#pragma once

#include "apps/tulrezzo/convert_options.h"
#include "apps/tulrezzo/blend_command.h"
#include "apps/tulrezzo/diff_command.h"
#include "apps/tulrezzo/overlay_command.h"

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace tulrezzo {

struct PictureCommand {
    std::string name;  // the subcommand chosen; empty: none of these
    ConvertWords convertWords;
    ConvertOptions convert;
    BlendWords blendWords;
    BlendOptions blend;
    OverlayWords overlayWords;
    OverlayOptions overlay;
    DiffWords diffWords;
    DiffOptions diff;
};

// Adds the subcommands; the one parsed sets command->name.
void AddPictureCommands(CLI::App& app, PictureCommand* command);
// Checks the chosen one's words into its options; throws a UsageError.
void CheckPictureCommand(PictureCommand* command);
// Runs it: 0, or 1 with one line on err; diff's list goes to out.
int RunPictureCommand(const PictureCommand& command, std::ostream& out, std::ostream& err, bool showProgress);

}  // namespace tulrezzo
