#pragma once
#include "platform/zip/Error.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace pr::zip {

// One entry of an archive. Names are in the reader's form: folders joined with "\"
// (archives store "/"), text in UTF-8.
struct Entry {
    std::uint64_t index = 0;
    std::string name;     // folder + fileName, for example "Upd1.0.0.4\040_views.sql"
    std::string folder;   // up to and including the last "\"; empty at the archive root
    std::string fileName; // after the last "\"; empty for a folder entry
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
    bool encrypted = false;
    std::time_t modified = 0;

    bool IsFolder() const { return fileName.empty(); }
};

// An entry that failed the archive test.
struct EntryFailure {
    std::uint64_t index = 0;
    std::string message;
};

// Reads an archive from a file or from bytes in memory. Every entry that is read is checked
// in full against its checksum, so damaged data or a wrong password never passes as content.
class Reader {
  public:
    static Reader OpenFile(const std::filesystem::path& path);
    static Reader OpenMemory(std::string bytes);

    Reader(Reader&&) noexcept;
    Reader& operator=(Reader&&) noexcept;
    ~Reader();

    // Password for encrypted entries (bytes); empty reads only unencrypted ones.
    void SetPassword(std::string password);

    // In archive order; an entry's index is its position here.
    const std::vector<Entry>& Entries() const;

    std::string Read(std::uint64_t index) const;

    // Reads every entry in full; answers the entries that failed (empty: the archive is sound).
    std::vector<EntryFailure> Test(const Progress& progress = {},
                                   const CancelRequest& cancel = {}) const;

    // Writes the entry below folder under its own path and answers that path. Entries that
    // would land outside folder are refused; an existing file is replaced only when the
    // entry was read in full.
    std::filesystem::path ExtractTo(std::uint64_t index, const std::filesystem::path& folder,
                                    const Progress& progress = {},
                                    const CancelRequest& cancel = {}) const;
    // Writes the entry's content to exactly that file, on the same terms.
    void ExtractToFile(std::uint64_t index, const std::filesystem::path& file,
                       const Progress& progress = {}, const CancelRequest& cancel = {}) const;

  private:
    struct Impl;
    explicit Reader(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace pr::zip
