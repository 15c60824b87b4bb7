#pragma once
// Runs the real executables as a user would.
#include "platform/process/Process.h"

#include <string>
#include <vector>

namespace e2e {

// The help texts as the console prints them (Ukrainian І and і as Latin letters).
extern const std::string kBanner;
// "-help" of an executable whose name upper-cased is `exeName`.
std::string HelpList(const std::string& exeName);

// Runs a program with the registry file at `registry` and an empty input; as root, with
// `unprivileged`, it runs as user nobody.
pr::process::Result RunProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::string& registry, bool unprivileged = false);

} // namespace e2e
