#pragma once
#include <optional>
#include <string>

namespace pr::registry {

// $PATCHRUNNER_REGISTRY, else /etc/patchrunner/registry.ini.
std::string DefaultPath();

// The machine's registry file: ini text whose section names are key paths
// ("SOFTWARE\Vendor\Component"). The file is read afresh by every call, since scripts
// outside the program write it; a file that is missing or unreadable holds no keys.
class RegistryFile {
  public:
    explicit RegistryFile(std::string path = DefaultPath());

    const std::string& Path() const { return path_; }
    // A key exists when its section exists (letter case ignored).
    bool KeyExists(const std::string& key) const;
    // The text after the first "=" of the value's line, blanks around it removed.
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) const;
    // The current user may both read and write the file.
    bool CanReadWrite() const;

  private:
    std::string path_;
};

} // namespace pr::registry
