#include "tools/PatchBuilder.h"

#include "platform/core/Error.h"
#include "platform/fs/FileSystem.h"
#include "platform/ini/IniFile.h"
#include "platform/resources/Resources.h"

#include "tools/package/PatchPackage.h"

#include <filesystem>

namespace patchbuild {

namespace {

const char* const kUsage = "usage: patchbuild --runner PATCHRUNNER --package FOLDER_OR_ZIP "
                           "--params PARAMS.ini [--verifier PLUGIN.so] --output PATCH_EXECUTABLE";

[[noreturn]] void Fail(const std::string& reason) {
    throw pr::Error(reason + "\n" + kUsage);
}

std::string ReadInput(const std::string& path, const std::string& what) {
    try {
        return pr::fs::ReadFile(path);
    } catch (const pr::Error& e) {
        throw pr::Error("Cannot read the " + what + ": " + e.what());
    }
}

} // namespace

Options ParseCommandLine(const std::vector<std::string>& args) {
    Options options;
    const std::pair<const char*, std::string*> flags[] = {{"--runner", &options.runner},
                                                          {"--package", &options.package},
                                                          {"--params", &options.params},
                                                          {"--verifier", &options.verifier},
                                                          {"--output", &options.output}};
    for (std::size_t i = 0; i < args.size(); i += 2) {
        std::string* target = nullptr;
        for (const auto& [flag, field] : flags)
            if (args[i] == flag)
                target = field;
        if (target == nullptr)
            Fail("Unknown argument: " + args[i]);
        if (i + 1 >= args.size() || args[i + 1].empty())
            Fail("Missing value of " + args[i]);
        if (!target->empty())
            Fail(args[i] + " given twice");
        *target = args[i + 1];
    }
    for (const auto& [flag, field] : flags)
        if (field->empty() && std::string(flag) != "--verifier")
            Fail(std::string("Missing ") + flag);
    return options;
}

// The package secret is for the folder builder, which encrypts every entry with it.
std::string BuildPackageBytes(const std::string& path, const std::string& packagePassword) {
    if (!std::filesystem::exists(path))
        throw pr::Error("Package not found: " + path);
    return patchpackage::BuildPackage(path, packagePassword);
}

void BuildPatch(const Options& options) {
    if (!pr::fs::FileExists(options.params))
        throw pr::Error("Settings file not found: " + options.params);
    const std::string params = ReadInput(options.params, "settings file");
    const std::string packagePassword =
        pr::ini::IniFile::Parse(params).ReadString("Form", "PackagePassword", {});
    if (packagePassword.empty())
        throw pr::Error("PackagePassword is empty in section Form of " + options.params);

    if (!options.verifier.empty() && !pr::fs::FileExists(options.verifier))
        throw pr::Error("Verifier plug-in not found: " + options.verifier);
    if (!pr::fs::FileExists(options.runner))
        throw pr::Error("Runner executable not found: " + options.runner);

    std::vector<pr::resources::ResourceSource> resources;
    resources.push_back(pr::resources::ResourceSource::FromBytes(
        "Patch", BuildPackageBytes(options.package, packagePassword)));
    resources.push_back(pr::resources::ResourceSource::FromBytes("PatchParams", params));
    if (!options.verifier.empty())
        resources.push_back(
            pr::resources::ResourceSource::FromFile("PatchVerifier", options.verifier));
    pr::resources::WriteExecutable(options.runner, resources, options.output);
}

} // namespace patchbuild
