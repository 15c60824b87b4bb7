#include "platform/zip/TargetFile.h"

#include "platform/zip/Error.h"
#include "platform/zip/Handles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pr::zip::detail {
namespace {

[[noreturn]] void RefuseOutside(const std::string& entryName) {
    throw Error("Archive entry " + Quoted(entryName) + " points outside the target folder");
}

std::string SystemText(int error) {
    return std::strerror(error);
}

std::vector<std::string> SafeParts(const std::string& entryName) {
    if (entryName.empty() || entryName.front() == '/' || entryName.front() == '\\')
        RefuseOutside(entryName);
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&] {
        if (part == "..")
            RefuseOutside(entryName);
        if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
    };
    for (char c : entryName) {
        if (c == '/' || c == '\\')
            flush();
        else
            part += c;
    }
    flush();
    const bool drive = !parts.empty() && parts.front().size() == 2 && parts.front()[1] == ':';
    if (parts.empty() || drive)
        RefuseOutside(entryName);
    return parts;
}

// Creates dir unless it exists; a symbolic link in its place is refused.
void EnsureFolder(const std::filesystem::path& dir, const std::string& entryName) {
    struct stat st {};
    if (lstat(dir.c_str(), &st) == 0) {
        if (S_ISLNK(st.st_mode))
            throw Error("Archive entry " + Quoted(entryName) +
                        " would be written through the symbolic link " + Quoted(dir.string()));
        if (!S_ISDIR(st.st_mode))
            throw Error("Cannot create folder " + Quoted(dir.string()) +
                        ": a file of that name exists");
        return;
    }
    if (mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST)
        throw Error("Cannot create folder " + Quoted(dir.string()) + ": " + SystemText(errno));
}

} // namespace

std::filesystem::path PrepareTarget(const std::filesystem::path& folder,
                                    const std::string& entryName, bool isFolder) {
    const std::vector<std::string> parts = SafeParts(entryName);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        throw Error("Cannot create folder " + Quoted(folder.string()) + ": " + ec.message());
    std::filesystem::path path = folder;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path /= parts[i];
        if (i + 1 < parts.size() || isFolder)
            EnsureFolder(path, entryName);
    }
    return path;
}

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    std::string hidden = target_.filename().string();
    hidden.insert(hidden.begin(), '.');
    hidden += ".XXXXXX";
    temp_ = (target_.parent_path() / hidden).string();
    fd_ = mkstemp(temp_.data());
    if (fd_ < 0)
        throw Error("Cannot create file " + Quoted(target_.string()) + ": " + SystemText(errno));
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) {
        close(fd_);
        unlink(temp_.c_str());
    }
}

void ReplacingFile::Write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd_, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw Error("Cannot write file " + Quoted(target_.string()) + ": " + SystemText(errno));
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void ReplacingFile::Commit() {
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 || rename(temp_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        unlink(temp_.c_str());
        throw Error("Cannot write file " + Quoted(target_.string()) + ": " + SystemText(error));
    }
}

} // namespace pr::zip::detail
