// `tulrezzo register [MODULE]`, `tulrezzo unregister [MODULE]` and
// `tulrezzo filters`: the filter module's COM and mapper registration in
// the registry file (--registry FILE, else the usual one), and the list of
// registered filters.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace tulrezzo {

struct RegistrationCommand {
    std::string name;      // "register", "unregister" or "filters"; empty: none chosen
    std::string module;    // empty: the installed module
    std::string registry;  // empty: TUL_REGISTRY or the default file
};

// Adds the three subcommands; the one parsed fills *command.
void AddRegistrationCommands(CLI::App& app, RegistrationCommand* command);

// Runs it: 0 on success, 1 when the module cannot be loaded or the
// registry refuses (the reason goes to err).
int RunRegistrationCommand(const RegistrationCommand& command, std::ostream& out, std::ostream& err);

// The module registration uses by default: beside the installed program,
// else the one in this build tree.
std::string DefaultFilterModule();

}  // namespace tulrezzo
