// The registration subcommands. The module is loaded for the call only and
// registers itself through its own entry points, as any registration tool
// would call them; the file is chosen by setting TUL_REGISTRY for this
// process, which the module's registry code reads too.
#include "apps/tulrezzo/registration_command.h"

#include "apps/tulrezzo/app_error.h"
#include "platform/com/activation.h"
#include "platform/dshow/dshow_guids.h"
#include "platform/dshow/filter_mapper.h"
#include "platform/win32/registry.h"

#include <CLI/CLI.hpp>
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace tulrezzo {
namespace {

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

std::string Narrow(const std::wstring& wide)
{
    std::string out;
    for (wchar_t c : wide)
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return out;
}

std::string GuidName(REFGUID guid)
{
    char text[39];
    GuidToText(guid, text, sizeof text);
    return text;
}

std::string TypeName(const RegisteredPinType& type)
{
    const std::string major = type.major == MEDIATYPE_Video ? "video" : GuidName(type.major);
    if (type.minor == GUID_NULL)
        return major + ", any subtype";
    return major + ", " + (type.minor == MEDIASUBTYPE_YUY2 ? std::string("YUY2") : GuidName(type.minor));
}

// Why the registry refused, as this process's own reading of it says.
std::string RegistryReason()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return {};
    }
    return RegistryFailureReason();
}

int CallModule(const RegistrationCommand& command, std::ostream& out, std::ostream& err)
{
    std::string module = command.module.empty() ? DefaultFilterModule() : command.module;
    // dlopen searches the library path for a bare name; a file is meant.
    if (module.find('/') == std::string::npos)
        module = "./" + module;
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        err << "tulrezzo: cannot load the filter module: " << dlerror() << "\n";
        return kExitFailure;
    }
    const bool registering = command.name == "register";
    auto* entry = reinterpret_cast<HRESULT (*)()>(
        dlsym(handle, registering ? "DllRegisterServer" : "DllUnregisterServer"));
    const HRESULT hr = entry != nullptr ? entry() : E_NOINTERFACE;
    dlclose(handle);
    if (entry == nullptr) {
        err << "tulrezzo: " << module << " is not a filter module (no registration entry point)\n";
        return kExitFailure;
    }
    if (FAILED(hr)) {
        const std::string reason = RegistryReason();
        err << "tulrezzo: " << command.name << " failed (" << Hex(static_cast<DWORD>(hr)) << ")"
            << (reason.empty() ? "" : ": " + reason) << "\n";
        return kExitFailure;
    }
    out << (registering ? "registered " : "unregistered ") << module << " in " << RegistryFilePath() << "\n";
    return kExitOk;
}

int ListFilters(std::ostream& out, std::ostream& err)
{
    std::vector<RegisteredFilter> filters;
    const HRESULT hr = FindRegisteredFilters(CLSID_LegacyAmFilterCategory, &filters);
    if (FAILED(hr)) {
        err << "tulrezzo: cannot read the registry (" << Hex(static_cast<DWORD>(hr)) << "): " << RegistryReason()
            << "\n";
        return kExitFailure;
    }
    if (filters.empty())
        out << "no filters registered in " << RegistryFilePath() << "\n";
    for (const RegisteredFilter& f : filters) {
        out << Narrow(f.name) << "  " << GuidName(f.clsid) << "  merit " << Hex(f.merit) << "\n";
        for (const RegisteredPin& pin : f.pins) {
            out << "  " << ((pin.flags & REG_PINFLAG_B_OUTPUT) != 0 ? "output" : "input") << " pin "
                << (pin.name.empty() ? std::string("(unnamed)") : Narrow(pin.name)) << ":";
            for (const RegisteredPinType& type : pin.types)
                out << " " << TypeName(type) << ";";
            out << "\n";
        }
    }
    return kExitOk;
}

}  // namespace

void AddRegistrationCommands(CLI::App& app, RegistrationCommand* command)
{
    const std::string moduleHelp = "the filter module (default: " + DefaultFilterModule() + ")";
    const std::string registryHelp = "registry file (default: TUL_REGISTRY, else $XDG_DATA_HOME/tul/registry.reg, "
                                     "else ~/.local/share/tul/registry.reg)";
    for (const char* name : {"register", "unregister"}) {
        CLI::App* sub = app.add_subcommand(name, std::string(name == std::string("register")
                                                                 ? "Write the filter module's classes and its "
                                                                   "filter mapper entry into the registry."
                                                                 : "Remove the filter module's classes and its "
                                                                   "filter mapper entry from the registry."));
        sub->add_option("MODULE", command->module, moduleHelp)->type_name("FILE");
        sub->add_option("--registry", command->registry, registryHelp)->type_name("FILE");
        sub->callback([command, name] { command->name = name; });
    }
    CLI::App* filters = app.add_subcommand("filters", "List the registered filters with their merit and pins.");
    filters->add_option("--registry", command->registry, registryHelp)->type_name("FILE");
    filters->callback([command] { command->name = "filters"; });
}

int RunRegistrationCommand(const RegistrationCommand& command, std::ostream& out, std::ostream& err)
{
    if (!command.registry.empty())
        setenv("TUL_REGISTRY", command.registry.c_str(), 1);
    return command.name == "filters" ? ListFilters(out, err) : CallModule(command, out, err);
}

std::string DefaultFilterModule()
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        std::string dir(self);
        dir.erase(dir.rfind('/'));
        const std::string installed = dir + "/" TUL_MODULE_FROM_BINDIR;
        if (access(installed.c_str(), R_OK) == 0)
            return installed;
    }
    return TUL_MODULE_IN_BUILD;
}

}  // namespace tulrezzo
