#pragma once
#include "platform/core/Error.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pr::resources {

// A resource the executable does not carry: 'Resource "PatchVerifier" not found'.
class ENotFound : public Error {
  public:
    explicit ENotFound(const std::string& name);
};

// The resources appended to an executable, looked up by name ignoring letter case.
class ResourceFile {
  public:
    // Raises pr::Error when the file cannot be opened or its appended data are damaged.
    explicit ResourceFile(const std::string& path);
    // The running executable (/proc/self/exe).
    static ResourceFile Self();
    ~ResourceFile();
    ResourceFile(ResourceFile&&) noexcept;
    ResourceFile& operator=(ResourceFile&&) noexcept;

    bool Has(const std::string& name) const;
    std::vector<std::string> Names() const;
    // The following raise ENotFound for a name the file does not carry.
    std::uint64_t Size(const std::string& name) const;
    std::string Read(const std::string& name) const;
    // Copies the resource into a newly created (or truncated) file, in chunks.
    void SaveToFile(const std::string& name, const std::string& path) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// One resource to append: its bytes, or a file whose content is copied.
struct ResourceSource {
    std::string name;
    std::string bytes;
    std::string file; // when not empty, the content comes from this file

    static ResourceSource FromBytes(std::string name, std::string bytes);
    static ResourceSource FromFile(std::string name, std::string file);
};

// Writes `output` as a copy of `executable` (without any resources it already carries)
// followed by the given resources, with mode 0755. The output is written beside its final
// name and renamed into place, so the executable may be its own output. Raises pr::Error
// for a duplicate name (letter case ignored) or a file that cannot be read or written.
void WriteExecutable(const std::string& executable, const std::vector<ResourceSource>& resources,
                     const std::string& output);

} // namespace pr::resources
