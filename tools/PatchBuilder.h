#pragma once
// Makes a patch executable: the runner with the package, its parameters and optionally the
// verifier plug-in appended as resources "Patch", "PatchParams" and "PatchVerifier".
#include <string>
#include <vector>

namespace patchbuild {

struct Options {
    std::string runner;
    std::string package;  // package folder or finished package zip
    std::string params;   // run parameters ini, section Form
    std::string verifier; // optional plug-in
    std::string output;
};

// The fixed command line:
//   --runner R --package FOLDER_OR_ZIP --params PARAMS.ini [--verifier PLUGIN.so] --output OUT
// Raises pr::Error with the reason and the usage for anything else.
Options ParseCommandLine(const std::vector<std::string>& args);

// The bytes of resource "Patch" for a package folder or zip, under the package secret.
std::string BuildPackageBytes(const std::string& path, const std::string& packagePassword);

// Checks the inputs and writes the patch executable. Raises pr::Error on bad input; the
// package secret never appears in a message.
void BuildPatch(const Options& options);

} // namespace patchbuild
