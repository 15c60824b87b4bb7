#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pr::fs {

// Base folder for temporary files: $TEMP, else $TMPDIR, else /tmp (empty values are unset).
std::string TempBase();

// Creates the folder and every missing parent with mode 0700; an existing folder is fine.
// Raises pr::Error naming the folder when it cannot.
void CreateFolder(const std::string& path);

// Bytes free for the calling user on the volume of the path; nothing when it cannot be asked.
std::optional<std::uint64_t> FreeBytes(const std::string& path);

// A regular file (or a link to one) exists at the path.
bool FileExists(const std::string& path);

// Copies a file, replacing the target. Raises pr::Error naming the file that failed.
void CopyFile(const std::string& from, const std::string& to);

// Whole file as bytes / file created or truncated with the bytes. Raise pr::Error.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);

// Writes all bytes to a descriptor or raises pr::Error mentioning `what`.
void WriteAll(int fd, std::string_view bytes, const std::string& what);

// "<action> <path>: <reason of errno>", the form every file error here takes.
std::string FileError(const std::string& action, const std::string& path, int error);

} // namespace pr::fs
