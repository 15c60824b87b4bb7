#include "platform/fs/FileSystem.h"
#include "platform/resources/ResourceIndex.h"
#include "platform/resources/Resources.h"
#include "platform/text/Case.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace pr::resources {

ENotFound::ENotFound(const std::string& name) : Error("Resource \"" + name + "\" not found") {}

struct ResourceFile::Impl {
    std::string path;
    fs::Fd file;
    detail::Index index;

    const detail::IndexEntry& Find(const std::string& name) const {
        for (const auto& entry : index.entries)
            if (text::SameText(entry.name, name))
                return entry;
        throw ENotFound(name);
    }
};

ResourceFile::ResourceFile(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    impl_->file = fs::Fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!impl_->file.IsOpen())
        throw Error(fs::FileError("Cannot open", path, errno));
    impl_->index = detail::ReadIndex(impl_->file, path);
}

ResourceFile ResourceFile::Self() {
    return ResourceFile("/proc/self/exe");
}

ResourceFile::~ResourceFile() = default;
ResourceFile::ResourceFile(ResourceFile&&) noexcept = default;
ResourceFile& ResourceFile::operator=(ResourceFile&&) noexcept = default;

bool ResourceFile::Has(const std::string& name) const {
    for (const auto& entry : impl_->index.entries)
        if (text::SameText(entry.name, name))
            return true;
    return false;
}

std::vector<std::string> ResourceFile::Names() const {
    std::vector<std::string> names;
    for (const auto& entry : impl_->index.entries)
        names.push_back(entry.name);
    return names;
}

std::uint64_t ResourceFile::Size(const std::string& name) const {
    return impl_->Find(name).size;
}

std::string ResourceFile::Read(const std::string& name) const {
    std::string bytes;
    const auto& entry = impl_->Find(name);
    detail::CopyRange(impl_->file, entry.offset, entry.size, impl_->path,
                      [&bytes](std::string_view chunk) { bytes.append(chunk); });
    return bytes;
}

void ResourceFile::SaveToFile(const std::string& name, const std::string& path) const {
    const auto& entry = impl_->Find(name);
    fs::Fd out(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!out.IsOpen())
        throw Error(fs::FileError("Cannot create file", path, errno));
    detail::CopyRange(impl_->file, entry.offset, entry.size, impl_->path,
                      [&](std::string_view chunk) { fs::WriteAll(out.Get(), chunk, path); });
    if (::close(out.Release()) != 0)
        throw Error(fs::FileError("Cannot write", path, errno));
}

} // namespace pr::resources
