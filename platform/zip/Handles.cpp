#include "platform/zip/Handles.h"

#include "platform/zip/Error.h"

#include <utility>

namespace pr::zip::detail {

Source& Source::operator=(Source&& other) noexcept {
    if (this != &other) {
        zip_source_free(source_);
        source_ = other.Release();
    }
    return *this;
}

zip_source_t* Source::Release() noexcept {
    return std::exchange(source_, nullptr);
}

Archive::Archive(Archive&& other) noexcept : archive_(std::exchange(other.archive_, nullptr)) {}

Archive& Archive::operator=(Archive&& other) noexcept {
    if (this != &other) {
        if (archive_)
            zip_discard(archive_);
        archive_ = std::exchange(other.archive_, nullptr);
    }
    return *this;
}

Archive::~Archive() {
    if (archive_)
        zip_discard(archive_);
}

bool Archive::Close() noexcept {
    if (zip_close(archive_) != 0)
        return false;
    archive_ = nullptr;
    return true;
}

File::File(File&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

File::~File() {
    if (file_)
        zip_fclose(file_);
}

namespace {

Source Checked(zip_source_t* source, zip_error_t& error, const std::string& what) {
    if (!source) {
        const std::string reason = ErrorText(&error);
        zip_error_fini(&error);
        throw Error(what + ": " + reason);
    }
    return Source(source);
}

} // namespace

Source BufferSource(const void* data, std::uint64_t size, const std::string& what) {
    zip_error_t error;
    zip_error_init(&error);
    return Checked(zip_source_buffer_create(data, size, 0, &error), error, what);
}

Source FileSource(const char* path, const std::string& what) {
    zip_error_t error;
    zip_error_init(&error);
    return Checked(zip_source_file_create(path, 0, -1, &error), error, what);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string ErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string ErrorText(zip_error_t* error) {
    return zip_error_strerror(error);
}

} // namespace pr::zip::detail
