#include "tools/PatchBuilder.h"

#include "platform/core/Error.h"
#include "platform/fs/FileSystem.h"
#include "platform/ini/IniFile.h"
#include "platform/resources/Resources.h"

#include <sys/stat.h>

namespace patchbuild {

namespace {

const char* const kUsage = "usage: patchbuild --runner PATCHRUNNER --package FOLDER_OR_ZIP "
                           "--params PARAMS.ini [--verifier PLUGIN.so] --output PATCH_EXECUTABLE";

[[noreturn]] void Fail(const std::string& reason) {
    throw pr::Error(reason + "\n" + kUsage);
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A zip archive begins with a local file header, or with the end record when it is empty.
bool LooksLikeZip(const std::string& bytes) {
    return bytes.starts_with(std::string_view("PK\x03\x04", 4)) ||
           bytes.starts_with(std::string_view("PK\x05\x06", 4));
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
std::string BuildPackageBytes(const std::string& path,
                              [[maybe_unused]] const std::string& packagePassword) {
    if (IsFolder(path))
        throw pr::Error("Building a package from a folder is not supported yet: " + path);
    std::string bytes = ReadInput(path, "package");
    if (!LooksLikeZip(bytes))
        throw pr::Error("The package is neither a folder nor a zip archive: " + path);
    return bytes;
}

void BuildPatch(const Options& options) {
    if (!pr::fs::FileExists(options.params))
        throw pr::Error("Settings file not found: " + options.params);
    const std::string params = ReadInput(options.params, "settings file");
    const std::string packagePassword =
        pr::ini::IniFile::Parse(params).ReadString("Form", "PackagePassword", {});
    if (packagePassword.empty())
        throw pr::Error("PackagePassword is empty in section Form of " + options.params);

    std::vector<pr::resources::ResourceSource> resources;
    resources.push_back(pr::resources::ResourceSource::FromBytes(
        "Patch", BuildPackageBytes(options.package, packagePassword)));
    resources.push_back(pr::resources::ResourceSource::FromBytes("PatchParams", params));
    if (!options.verifier.empty()) {
        if (!pr::fs::FileExists(options.verifier))
            throw pr::Error("Verifier plug-in not found: " + options.verifier);
        resources.push_back(
            pr::resources::ResourceSource::FromFile("PatchVerifier", options.verifier));
    }
    if (!pr::fs::FileExists(options.runner))
        throw pr::Error("Runner executable not found: " + options.runner);
    pr::resources::WriteExecutable(options.runner, resources, options.output);
}

} // namespace patchbuild
