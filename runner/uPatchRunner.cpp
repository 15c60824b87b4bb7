#include "runner/uPatchRunner.h"

#include "SharedCode6/Class/cCMDCommands.h"
#include "platform/registry/RegistryFile.h"
#include "runner/cCMDExtractPatch.h"
#include "runner/cCMDPatchExecute.h"

#include <climits>
#include <iostream>
#include <unistd.h>

namespace {

const char* const kServerKey = "SOFTWARE\\Mirelta\\InstalledComponents\\SERVER";
const char* const kServerPltKey = "SOFTWARE\\Mirelta\\InstalledComponents\\SERVER_PLT";

std::function<void(const std::string&)>& ErrorDialog() {
    static std::function<void(const std::string&)> dialog = [](const std::string& text) {
        std::cerr << text << std::endl;
    };
    return dialog;
}

// The executable's own path, as the command line's argument 0 names it.
std::string ExecutablePath(const char* argv0) {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n > 0)
        return std::string(path, static_cast<std::size_t>(n));
    return argv0 ? argv0 : "";
}

} // namespace

void SetErrorDialog(std::function<void(const std::string&)> dialog) {
    ErrorDialog() = std::move(dialog);
}

void ShowErrorDialog(const std::string& text) {
    ErrorDialog()(text);
}

std::string GetServerRegistryKey() {
    return pr::registry::RegistryFile().KeyExists(kServerKey) ? kServerKey : kServerPltKey;
}

bool IsServerKeyPresent() {
    const pr::registry::RegistryFile registry;
    const std::string key = GetServerRegistryKey();
    return registry.CanReadWrite() && registry.KeyExists(key) &&
           registry.ReadString(key, "PATH").has_value();
}

void ShowPatchWindow() {
    if (!IsServerKeyPresent()) {
        ShowErrorDialog(
            "Встановлення патчу можливе лише на компьютері зі встановленою БД \"ВЕРНАТ\".");
        return;
    }
    std::cout << "Вікно модифікації в цій збірці ще недоступне; скористайтесь командою -help."
              << std::endl;
}

void RegisterConsoleCommands() {
    Register(CommandClassOf<TCMDExtractPatch>());
    Register(CommandClassOf<TCMDPatchExecute>());
}

int RunPatchRunner(int argc, char** argv) {
    auto& args = CMDConsole().Args;
    args.assign(argv, argv + argc);
    if (args.empty())
        args.emplace_back();
    args.front() = ExecutablePath(argv[0]);
    RegisterConsoleCommands();
    try {
        if (!Dispatch())
            ShowPatchWindow();
    } catch (const std::exception& e) {
        ShowErrorDialog(e.what());
        return 1;
    }
    return ExitCode;
}
