#include "platform/zip/Reader.h"

#include "platform/zip/Handles.h"
#include "platform/zip/TargetFile.h"

#include <algorithm>
#include <array>
#include <functional>
#include <system_error>

namespace pr::zip {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

const char* const kNotAZip = "not a zip archive, or the archive is incomplete";

std::string OpenFailure(zip_error_t* error) {
    switch (zip_error_code_zip(error)) {
    case ZIP_ER_NOZIP:
        return kNotAZip;
    case ZIP_ER_INCONS:
    case ZIP_ER_EOF:
        return "the archive is damaged";
    case ZIP_ER_MULTIDISK:
        return "multi-part archives are not supported";
    default:
        return detail::ErrorText(error);
    }
}

// Reports progress over a known number of bytes and polls the cancel request.
class Meter {
  public:
    Meter(const Progress& progress, const CancelRequest& cancel, std::uint64_t total)
        : progress_(progress), cancel_(cancel), total_(total) {}

    void Advance(std::uint64_t bytes) {
        if (cancel_ && cancel_())
            throw Cancelled();
        done_ += bytes;
        if (!progress_ || total_ == 0)
            return;
        const double share =
            std::min(1.0, static_cast<double>(done_) / static_cast<double>(total_));
        if (share - reported_ >= 0.001 || (share == 1.0 && reported_ < 1.0)) {
            reported_ = share;
            progress_(share);
        }
    }

    void Finish() {
        if (progress_ && reported_ < 1.0)
            progress_(1.0);
    }

  private:
    const Progress& progress_;
    const CancelRequest& cancel_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    double reported_ = 0.0;
};

using Sink = std::function<void(const char*, std::size_t)>;

} // namespace

struct Reader::Impl {
    std::string bytes; // the archive itself when it was opened from memory
    std::string label; // how messages name the archive
    detail::Archive archive;
    std::vector<Entry> entries;
    std::string password;

    void Open(detail::Source source) {
        zip_error_t error;
        zip_error_init(&error);
        zip_t* za = zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
        if (!za) {
            const std::string reason = OpenFailure(&error);
            zip_error_fini(&error);
            throw Error("Cannot open the archive " + label + ": " + reason);
        }
        source.Release(); // the archive holds it now
        archive = detail::Archive(za);
        ListEntries();
    }

    void ListEntries() {
        const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
        entries.reserve(static_cast<std::size_t>(count));
        for (zip_int64_t i = 0; i < count; ++i) {
            zip_stat_t st;
            zip_stat_init(&st);
            if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0)
                throw Error("Cannot open the archive " + label + ": " +
                            detail::ErrorText(zip_get_error(archive.get())));
            Entry entry;
            entry.index = static_cast<std::uint64_t>(i);
            entry.name = st.name ? st.name : "";
            std::replace(entry.name.begin(), entry.name.end(), '/', '\\');
            const auto slash = entry.name.find_last_of('\\');
            entry.folder = slash == std::string::npos ? "" : entry.name.substr(0, slash + 1);
            entry.fileName = entry.name.substr(entry.folder.size());
            entry.size = st.size;
            entry.compressedSize = st.comp_size;
            entry.encrypted = st.encryption_method != ZIP_EM_NONE;
            entry.modified = st.mtime;
            entries.push_back(std::move(entry));
        }
    }

    const Entry& At(std::uint64_t index) const {
        if (index >= entries.size())
            throw Error("The archive " + label + " has no entry number " + std::to_string(index));
        return entries[index];
    }

    // With traditional encryption a wrong password mostly shows as damaged data.
    [[noreturn]] static void RaiseDamaged(const Entry& entry, const std::string& detail) {
        const std::string name = detail::Quoted(entry.name);
        if (entry.encrypted)
            throw Error("Archive entry " + name +
                        " cannot be read: wrong password or damaged data");
        throw Error("Archive entry " + name + " is damaged (" + detail + ")");
    }

    [[noreturn]] static void RaiseReadError(const Entry& entry, zip_error_t* error) {
        const std::string name = detail::Quoted(entry.name);
        switch (zip_error_code_zip(error)) {
        case ZIP_ER_NOPASSWD:
            throw Error("Archive entry " + name + " is encrypted and no password was given");
        case ZIP_ER_WRONGPASSWD:
            throw Error("Wrong password for archive entry " + name);
        case ZIP_ER_CRC:
        case ZIP_ER_COMPRESSED_DATA:
        case ZIP_ER_ZLIB:
        case ZIP_ER_INCONS:
        case ZIP_ER_EOF:
            if (entry.encrypted)
                throw Error("Archive entry " + name +
                            " cannot be read: wrong password or damaged data");
            throw Error("Archive entry " + name + " is damaged (" + detail::ErrorText(error) + ")");
        case ZIP_ER_COMPNOTSUPP:
        case ZIP_ER_ENCRNOTSUPP:
            throw Error("Archive entry " + name + " is packed in a way that is not supported (" +
                        detail::ErrorText(error) + ")");
        default:
            throw Error("Cannot read archive entry " + name + ": " + detail::ErrorText(error));
        }
    }

    // Reads the entry to its very end, where libzip checks the size and the checksum.
    void Stream(const Entry& entry, const Sink& sink, Meter* meter) const {
        zip_t* za = archive.get();
        detail::File file(password.empty()
                              ? zip_fopen_index(za, entry.index, 0)
                              : zip_fopen_index_encrypted(za, entry.index, 0, password.c_str()));
        if (!file.get())
            RaiseReadError(entry, zip_get_error(za));
        std::array<char, kChunk> buffer;
        std::uint64_t total = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
            if (n < 0)
                RaiseReadError(entry, zip_file_get_error(file.get()));
            if (n == 0)
                break;
            total += static_cast<std::uint64_t>(n);
            if (total > entry.size)
                RaiseDamaged(entry, "more data than its recorded size");
            sink(buffer.data(), static_cast<std::size_t>(n));
            if (meter)
                meter->Advance(static_cast<std::uint64_t>(n));
        }
    }

    void ExtractInto(const Entry& entry, const std::filesystem::path& file,
                     const Progress& progress, const CancelRequest& cancel) const {
        detail::ReplacingFile out(file);
        Meter meter(progress, cancel, entry.size);
        Stream(
            entry, [&](const char* data, std::size_t size) { out.Write(data, size); }, &meter);
        out.Commit();
        meter.Finish();
    }
};

Reader::Reader(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Reader::Reader(Reader&&) noexcept = default;
Reader& Reader::operator=(Reader&&) noexcept = default;
Reader::~Reader() = default;

Reader Reader::OpenFile(const std::filesystem::path& path) {
    auto impl = std::make_unique<Impl>();
    impl->label = detail::Quoted(path.string());
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw Error("Cannot open the archive " + impl->label + ": " + ec.message());
    // libzip takes an empty file for a new archive; to a reader it is not an archive at all.
    if (size == 0)
        throw Error("Cannot open the archive " + impl->label + ": " + kNotAZip);
    impl->Open(detail::FileSource(path.c_str(), "Cannot open the archive " + impl->label));
    return Reader(std::move(impl));
}

Reader Reader::OpenMemory(std::string bytes) {
    auto impl = std::make_unique<Impl>();
    impl->label = "in memory";
    impl->bytes = std::move(bytes);
    if (impl->bytes.empty())
        throw Error("Cannot open the archive " + impl->label + ": " + kNotAZip);
    impl->Open(detail::BufferSource(impl->bytes.data(), impl->bytes.size(),
                                    "Cannot open the archive " + impl->label));
    return Reader(std::move(impl));
}

void Reader::SetPassword(std::string password) {
    if (password.find('\0') != std::string::npos)
        throw Error("An archive password with a zero byte cannot be used");
    impl_->password = std::move(password);
}

const std::vector<Entry>& Reader::Entries() const {
    return impl_->entries;
}

std::string Reader::Read(std::uint64_t index) const {
    const Entry& entry = impl_->At(index);
    std::string content;
    content.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(entry.size, 64u << 20)));
    impl_->Stream(
        entry, [&](const char* data, std::size_t size) { content.append(data, size); }, nullptr);
    return content;
}

std::vector<EntryFailure> Reader::Test(const Progress& progress,
                                       const CancelRequest& cancel) const {
    std::uint64_t total = 0;
    for (const Entry& entry : impl_->entries)
        total += entry.size;
    Meter meter(progress, cancel, total);
    std::vector<EntryFailure> failures;
    for (const Entry& entry : impl_->entries) {
        meter.Advance(0);
        try {
            impl_->Stream(
                entry, [](const char*, std::size_t) {}, &meter);
        } catch (const Cancelled&) {
            throw;
        } catch (const Error& e) {
            failures.push_back({entry.index, e.what()});
        }
    }
    meter.Finish();
    return failures;
}

std::filesystem::path Reader::ExtractTo(std::uint64_t index, const std::filesystem::path& folder,
                                        const Progress& progress,
                                        const CancelRequest& cancel) const {
    const Entry& entry = impl_->At(index);
    std::filesystem::path target = detail::PrepareTarget(folder, entry.name, entry.IsFolder());
    if (!entry.IsFolder())
        impl_->ExtractInto(entry, target, progress, cancel);
    return target;
}

void Reader::ExtractToFile(std::uint64_t index, const std::filesystem::path& file,
                           const Progress& progress, const CancelRequest& cancel) const {
    impl_->ExtractInto(impl_->At(index), file, progress, cancel);
}

} // namespace pr::zip
