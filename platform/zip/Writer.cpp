#include "platform/zip/Writer.h"

#include "platform/core/InternalCheck.h"
#include "platform/zip/Handles.h"

#include <algorithm>
#include <exception>
#include <list>
#include <unistd.h>

namespace pr::zip {
namespace {

// The end record of an archive without entries.
const std::string kEmptyArchive = std::string("PK\x05\x06", 4) + std::string(18, '\0');

std::string StoredName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

} // namespace

struct Writer::Impl {
    std::string label;
    detail::Archive archive;
    detail::Source memory; // our own reference to the buffer of an archive written in memory
    std::list<std::string> contents; // bytes of AddBytes, kept until Close
    std::string bytes;

    Progress progress;
    CancelRequest cancel;
    std::exception_ptr failure; // raised by a callback while libzip was writing

    static void OnProgress(zip_t*, double done, void* self) {
        auto* impl = static_cast<Impl*>(self);
        if (!impl->progress || impl->failure)
            return;
        try {
            impl->progress(done);
        } catch (...) {
            impl->failure = std::current_exception();
        }
    }

    static int OnCancel(zip_t*, void* self) {
        auto* impl = static_cast<Impl*>(self);
        if (!impl->failure && impl->cancel) {
            try {
                if (impl->cancel())
                    impl->failure = std::make_exception_ptr(Cancelled());
            } catch (...) {
                impl->failure = std::current_exception();
            }
        }
        return impl->failure ? 1 : 0;
    }

    void Attach(zip_t* za) {
        archive = detail::Archive(za);
        zip_register_progress_callback_with_state(za, 0.001, &OnProgress, nullptr, this);
        zip_register_cancel_callback_with_state(za, &OnCancel, nullptr, this);
    }

    zip_t* Open() const {
        InternalCheck(archive.get() != nullptr, "The archive writer is already closed");
        return archive.get();
    }

    [[noreturn]] void RaiseArchiveError(const std::string& what) const {
        throw Error(what + ": " + detail::ErrorText(zip_get_error(archive.get())));
    }

    void Add(const std::string& name, detail::Source source, const EntryOptions& options) {
        zip_t* za = Open();
        InternalCheck(options.level >= 0 && options.level <= 9, "Compression level out of range");
        if (name.empty())
            throw Error("An archive entry needs a name");
        if (options.password.find('\0') != std::string::npos)
            throw Error("An archive password with a zero byte cannot be used");
        const zip_int64_t index =
            zip_file_add(za, StoredName(name).c_str(), source.get(), ZIP_FL_ENC_GUESS);
        if (index < 0) {
            if (zip_error_code_zip(zip_get_error(za)) == ZIP_ER_EXISTS)
                throw Error("The archive " + label + " already holds an entry " +
                            detail::Quoted(name));
            RaiseArchiveError("Cannot add " + detail::Quoted(name) + " to the archive " + label);
        }
        source.Release(); // the archive holds it now
        const auto at = static_cast<zip_uint64_t>(index);
        const bool stored = options.level == 0;
        if (zip_set_file_compression(za, at, stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                     static_cast<zip_uint32_t>(options.level)) != 0 ||
            (!options.password.empty() &&
             zip_file_set_encryption(za, at, ZIP_EM_TRAD_PKWARE, options.password.c_str()) != 0))
            RaiseArchiveError("Cannot add " + detail::Quoted(name) + " to the archive " + label);
    }

    void ReadMemory() {
        zip_source_t* src = memory.get();
        zip_stat_t st;
        if (zip_source_stat(src, &st) != 0 || zip_source_open(src) != 0)
            throw Error("Cannot read the archive written in memory: " +
                        detail::ErrorText(zip_source_error(src)));
        bytes.resize(static_cast<std::size_t>(st.size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const zip_int64_t n = zip_source_read(src, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        zip_source_close(src);
        if (done != bytes.size())
            throw Error("Cannot read the archive written in memory: " +
                        detail::ErrorText(zip_source_error(src)));
    }
};

Writer::Writer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Writer::Writer(Writer&&) noexcept = default;
Writer& Writer::operator=(Writer&&) noexcept = default;
Writer::~Writer() = default;

Writer Writer::OpenFile(const std::filesystem::path& path, Mode mode) {
    auto impl = std::make_unique<Impl>();
    impl->label = detail::Quoted(path.string());
    int code = 0;
    const int flags = mode == Mode::Create ? ZIP_CREATE | ZIP_TRUNCATE : ZIP_CREATE | ZIP_CHECKCONS;
    zip_t* za = zip_open(path.c_str(), flags, &code);
    if (!za)
        throw Error("Cannot open the archive " + impl->label +
                    " for writing: " + detail::ErrorText(code));
    impl->Attach(za);
    return Writer(std::move(impl));
}

Writer Writer::OpenMemory() {
    auto impl = std::make_unique<Impl>();
    impl->label = "in memory";
    const std::string failure = "Cannot create an archive in memory";
    impl->memory = detail::BufferSource(nullptr, 0, failure);
    zip_source_keep(impl->memory.get()); // one reference for the archive, one for us
    zip_error_t error;
    zip_error_init(&error);
    zip_t* za = zip_open_from_source(impl->memory.get(), ZIP_TRUNCATE, &error);
    if (!za) {
        zip_source_free(impl->memory.get());
        const std::string reason = detail::ErrorText(&error);
        zip_error_fini(&error);
        throw Error(failure + ": " + reason);
    }
    impl->Attach(za);
    return Writer(std::move(impl));
}

void Writer::AddBytes(const std::string& name, std::string bytes, const EntryOptions& options) {
    impl_->Open();
    const std::string& content = impl_->contents.emplace_back(std::move(bytes));
    impl_->Add(name,
               detail::BufferSource(content.data(), content.size(),
                                    "Cannot add " + detail::Quoted(name) + " to the archive " +
                                        impl_->label),
               options);
}

void Writer::AddFile(const std::string& name, const std::filesystem::path& file,
                     const EntryOptions& options) {
    impl_->Open();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) || access(file.c_str(), R_OK) != 0)
        throw Error("Cannot read the file " + detail::Quoted(file.string()));
    impl_->Add(
        name,
        detail::FileSource(file.c_str(), "Cannot read the file " + detail::Quoted(file.string())),
        options);
}

void Writer::Close(const Progress& progress, const CancelRequest& cancel) {
    // libzip writes nothing at all for an archive without entries
    const bool empty = zip_get_num_entries(impl_->Open(), 0) == 0;
    impl_->progress = progress;
    impl_->cancel = cancel;
    impl_->failure = nullptr;
    if (!impl_->archive.Close()) {
        const std::string reason = detail::ErrorText(zip_get_error(impl_->archive.get()));
        impl_->archive = detail::Archive(); // nothing half-written stays behind
        impl_->contents.clear();
        if (impl_->failure)
            std::rethrow_exception(impl_->failure);
        throw Error("Cannot write the archive " + impl_->label + ": " + reason);
    }
    impl_->contents.clear();
    if (impl_->memory.get()) {
        if (empty)
            impl_->bytes = kEmptyArchive;
        else
            impl_->ReadMemory();
    }
}

std::string Writer::TakeBytes() {
    InternalCheck(!impl_->archive.get() && impl_->memory.get(),
                  "Only a closed archive written in memory has bytes");
    return std::move(impl_->bytes);
}

} // namespace pr::zip
