#include "platform/registry/RegistryFile.h"

#include "platform/core/Error.h"
#include "platform/ini/IniFile.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace pr::registry {

namespace {

std::optional<ini::IniFile> LoadIfReadable(const std::string& path) {
    try {
        return ini::IniFile::Load(path);
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace

std::string DefaultPath() {
    const char* value = std::getenv("PATCHRUNNER_REGISTRY");
    return value && *value ? value : "/etc/patchrunner/registry.ini";
}

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {}

bool RegistryFile::KeyExists(const std::string& key) const {
    const auto file = LoadIfReadable(path_);
    return file && file->HasSection(key);
}

std::optional<std::string> RegistryFile::ReadString(const std::string& key,
                                                    const std::string& name) const {
    const auto file = LoadIfReadable(path_);
    return file ? file->ReadRaw(key, name) : std::nullopt;
}

bool RegistryFile::CanReadWrite() const {
    // Effective ids: what the process may really do, as opening the key would find.
    return ::faccessat(AT_FDCWD, path_.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
}

} // namespace pr::registry
