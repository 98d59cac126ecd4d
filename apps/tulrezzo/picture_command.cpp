// Dispatch of the picture subcommands.
#include "apps/tulrezzo/picture_command.h"

#include "apps/tulrezzo/convert_job.h"

#include <CLI/CLI.hpp>

namespace tulrezzo {

void AddPictureCommands(CLI::App& app, PictureCommand* command)
{
    AddConvertCommand(app, &command->convertWords)->callback([command] { command->name = "convert"; });
    AddBlendCommand(app, &command->blendWords)->callback([command] { command->name = "blend"; });
    AddOverlayCommand(app, &command->overlayWords)->callback([command] { command->name = "overlay"; });
    AddDiffCommand(app, &command->diffWords)->callback([command] { command->name = "diff"; });
}

void CheckPictureCommand(PictureCommand* command)
{
    if (command->name == "convert")
        command->convert = CheckConvert(command->convertWords);
    else if (command->name == "blend")
        command->blend = CheckBlend(command->blendWords);
    else if (command->name == "overlay")
        command->overlay = CheckOverlay(command->overlayWords);
    else if (command->name == "diff")
        command->diff = CheckDiff(command->diffWords);
}

int RunPictureCommand(const PictureCommand& command, std::ostream& out, std::ostream& err, bool showProgress)
{
    if (command.name == "blend")
        return RunBlend(command.blend, err, showProgress);
    if (command.name == "overlay")
        return RunOverlay(command.overlay, err, showProgress);
    if (command.name == "diff")
        return RunDiff(command.diff, out, err, showProgress);
    return RunConvert(command.convert, err, showProgress);
}

}  // namespace tulrezzo
