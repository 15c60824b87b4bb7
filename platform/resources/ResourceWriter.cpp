#include "platform/fs/FileSystem.h"
#include "platform/resources/ResourceIndex.h"
#include "platform/resources/Resources.h"
#include "platform/text/Case.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pr::resources {

namespace {

fs::Fd OpenForReading(const std::string& path) {
    fs::Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsOpen())
        throw Error(fs::FileError("Cannot open", path, errno));
    return fd;
}

std::uint64_t SizeOf(const fs::Fd& fd, const std::string& path) {
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw Error(fs::FileError("Cannot read", path, errno));
    if (!S_ISREG(st.st_mode))
        throw Error("Not a regular file: " + path);
    return static_cast<std::uint64_t>(st.st_size);
}

void CheckNames(const std::vector<ResourceSource>& resources) {
    for (std::size_t i = 0; i < resources.size(); ++i) {
        if (resources[i].name.empty())
            throw Error("A resource needs a name");
        for (std::size_t j = 0; j < i; ++j)
            if (text::SameText(resources[i].name, resources[j].name))
                throw Error("Resource \"" + resources[i].name + "\" given twice");
    }
}

// The temporary output, removed unless it was renamed into place.
class PendingFile {
  public:
    explicit PendingFile(std::string path) : path_(std::move(path)) {
        fd_ = fs::Fd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0755));
        if (!fd_.IsOpen())
            throw Error(fs::FileError("Cannot create file", path_, errno));
    }
    ~PendingFile() {
        if (!committed_)
            ::unlink(path_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void Write(std::string_view bytes) { fs::WriteAll(fd_.Get(), bytes, path_); }
    void CommitAs(const std::string& target) {
        if (::fchmod(fd_.Get(), 0755) != 0 || ::close(fd_.Release()) != 0)
            throw Error(fs::FileError("Cannot write", path_, errno));
        if (::rename(path_.c_str(), target.c_str()) != 0)
            throw Error(fs::FileError("Cannot create file", target, errno));
        committed_ = true;
    }

  private:
    std::string path_;
    fs::Fd fd_;
    bool committed_ = false;
};

} // namespace

ResourceSource ResourceSource::FromBytes(std::string name, std::string bytes) {
    return {std::move(name), std::move(bytes), {}};
}

ResourceSource ResourceSource::FromFile(std::string name, std::string file) {
    return {std::move(name), {}, std::move(file)};
}

void WriteExecutable(const std::string& executable, const std::vector<ResourceSource>& resources,
                     const std::string& output) {
    CheckNames(resources);
    const fs::Fd input = OpenForReading(executable);
    detail::Index index;
    index.executableSize = detail::ReadIndex(input, executable).executableSize;

    PendingFile out(output + ".partial");
    auto write = [&out](std::string_view chunk) { out.Write(chunk); };
    detail::CopyRange(input, 0, index.executableSize, executable, write);

    std::uint64_t offset = index.executableSize;
    for (const ResourceSource& resource : resources) {
        std::uint64_t size = resource.bytes.size();
        if (resource.file.empty()) {
            out.Write(resource.bytes);
        } else {
            const fs::Fd source = OpenForReading(resource.file);
            size = SizeOf(source, resource.file);
            detail::CopyRange(source, 0, size, resource.file, write);
        }
        index.entries.push_back({resource.name, offset, size});
        offset += size;
    }
    out.Write(detail::EncodeIndex(index));
    out.CommitAs(output);
}

} // namespace pr::resources
