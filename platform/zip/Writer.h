#pragma once
#include "platform/zip/Error.h"

#include <filesystem>
#include <memory>
#include <string>

namespace pr::zip {

struct EntryOptions {
    int level = 6;        // 0 stores the data as it is, 1 to 9 deflate it
    std::string password; // not empty: traditional zip encryption under these bytes
};

// Writes an archive to a file or into memory. Entries are collected by the Add calls and
// written by Close (ZIP64 where sizes need it); a writer destroyed without a successful
// Close leaves the file as it was.
class Writer {
  public:
    enum class Mode {
        Create, // a new archive; an existing file is replaced on Close
        Append  // add entries to an existing archive, or create it when missing
    };

    static Writer OpenFile(const std::filesystem::path& path, Mode mode = Mode::Create);
    static Writer OpenMemory();

    Writer(Writer&&) noexcept;
    Writer& operator=(Writer&&) noexcept;
    ~Writer();

    // name uses "\" or "/" between folders; it is stored with "/".
    void AddBytes(const std::string& name, std::string bytes, const EntryOptions& options = {});
    // The file is read when the archive is written.
    void AddFile(const std::string& name, const std::filesystem::path& file,
                 const EntryOptions& options = {});

    // Writes the archive. An archive without entries is not written to a file.
    void Close(const Progress& progress = {}, const CancelRequest& cancel = {});

    // The archive written in memory, after Close.
    std::string TakeBytes();

  private:
    struct Impl;
    explicit Writer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace pr::zip
