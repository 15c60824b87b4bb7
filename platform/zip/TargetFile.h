#pragma once
// Where and how the reader writes extracted entries; not part of the public headers.
#include <cstddef>
#include <filesystem>
#include <string>

namespace pr::zip::detail {

// The path of an entry below folder. Names that could leave the folder (absolute, with a
// drive, with "..") are refused, and so is a symbolic link met on the way; missing folders
// are created. A folder entry's own folder is created too.
std::filesystem::path PrepareTarget(const std::filesystem::path& folder,
                                    const std::string& entryName, bool isFolder);

// A file written under a temporary name beside its target and moved over the target only
// by Commit(), so a failed extraction leaves the old file as it was.
class ReplacingFile {
  public:
    explicit ReplacingFile(std::filesystem::path target);
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    ~ReplacingFile();

    void Write(const char* data, std::size_t size);
    void Commit();

  private:
    std::filesystem::path target_;
    std::string temp_;
    int fd_ = -1;
};

} // namespace pr::zip::detail
