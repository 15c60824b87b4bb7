#include "platform/fs/FileSystem.h"

#include "platform/core/Error.h"
#include "platform/fs/Fd.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace pr::fs {

namespace {

constexpr std::size_t kChunk = 1 << 20;

Fd OpenOrThrow(const std::string& path, int flags, const char* action) {
    Fd fd(::open(path.c_str(), flags | O_CLOEXEC, 0644));
    if (!fd.IsOpen())
        throw Error(FileError(action, path, errno));
    return fd;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string FileError(const std::string& action, const std::string& path, int error) {
    return action + " " + path + ": " + std::strerror(error);
}

std::string TempBase() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "/tmp";
}

void CreateFolder(const std::string& path) {
    if (path.empty())
        throw Error("Cannot create folder: empty path");
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && !(errno == EEXIST && IsFolder(part)))
            throw Error(FileError("Cannot create folder", part, errno));
        if (end == std::string::npos)
            break;
    }
}

std::optional<std::uint64_t> FreeBytes(const std::string& path) {
    struct statvfs st {};
    if (path.empty() || ::statvfs(path.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void WriteAll(int fd, std::string_view bytes, const std::string& what) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(FileError("Cannot write", what, errno));
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void CopyFile(const std::string& from, const std::string& to) {
    Fd in = OpenOrThrow(from, O_RDONLY, "Cannot open");
    Fd out = OpenOrThrow(to, O_WRONLY | O_CREAT | O_TRUNC, "Cannot create file");
    std::string buffer(kChunk, '\0');
    for (;;) {
        const ssize_t n = ::read(in.Get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(FileError("Cannot read", from, errno));
        if (n == 0)
            break;
        WriteAll(out.Get(), std::string_view(buffer.data(), static_cast<std::size_t>(n)), to);
    }
    if (::close(out.Release()) != 0)
        throw Error(FileError("Cannot write", to, errno));
}

std::string ReadFile(const std::string& path) {
    Fd in = OpenOrThrow(path, O_RDONLY, "Cannot open");
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(FileError("Cannot read", path, errno));
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

void WriteFile(const std::string& path, std::string_view bytes) {
    Fd out = OpenOrThrow(path, O_WRONLY | O_CREAT | O_TRUNC, "Cannot create file");
    WriteAll(out.Get(), bytes, path);
    if (::close(out.Release()) != 0)
        throw Error(FileError("Cannot write", path, errno));
}

} // namespace pr::fs
