#pragma once
// libzip handles owned by the reader and the writer; not part of the public headers.
#include <zip.h>

#include <cstdint>
#include <string>

namespace pr::zip::detail {

// One reference to a zip_source_t. Handing it to libzip (which takes the reference on
// success) is done through Release().
class Source {
  public:
    explicit Source(zip_source_t* source = nullptr) noexcept : source_(source) {}
    Source(Source&& other) noexcept : source_(other.Release()) {}
    Source& operator=(Source&& other) noexcept;
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source() { zip_source_free(source_); }

    zip_source_t* get() const noexcept { return source_; }
    zip_source_t* Release() noexcept;

  private:
    zip_source_t* source_;
};

// An open archive; discarded (never written) unless Close() succeeded.
class Archive {
  public:
    explicit Archive(zip_t* archive = nullptr) noexcept : archive_(archive) {}
    Archive(Archive&& other) noexcept;
    Archive& operator=(Archive&& other) noexcept;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive();

    zip_t* get() const noexcept { return archive_; }
    // Writes pending changes; on failure the archive stays open and the error is libzip's.
    bool Close() noexcept;

  private:
    zip_t* archive_;
};

// An entry opened for reading.
class File {
  public:
    explicit File(zip_file_t* file = nullptr) noexcept : file_(file) {}
    File(File&& other) noexcept;
    File& operator=(File&&) = delete;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    zip_file_t* get() const noexcept { return file_; }

  private:
    zip_file_t* file_;
};

// Sources over bytes (not copied: they must outlive the source) and over a file. A failure
// raises Error with the text what, a colon and libzip's reason.
Source BufferSource(const void* data, std::uint64_t size, const std::string& what);
Source FileSource(const char* path, const std::string& what);

// text in double quotes, as messages name files and entries
std::string Quoted(const std::string& text);

// libzip's text for an error code.
std::string ErrorText(int code);
std::string ErrorText(zip_error_t* error);

} // namespace pr::zip::detail
