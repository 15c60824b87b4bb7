#include "platform/resources/ResourceIndex.h"

#include "platform/core/Error.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace pr::resources::detail {

namespace {

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

Error Damaged(const std::string& path) {
    return Error("The resources appended to " + path + " are damaged");
}

// Reads little-endian numbers and names from a byte block, failing on a short block.
class Reader {
  public:
    Reader(const std::string& bytes, const std::string& path) : bytes_(bytes), path_(path) {}
    std::uint64_t U(int width) {
        Need(static_cast<std::size_t>(width));
        std::uint64_t v = 0;
        for (int i = 0; i < width; ++i)
            v |= std::uint64_t{static_cast<unsigned char>(
                     bytes_[pos_ + static_cast<std::size_t>(i)])}
                 << (8 * i);
        pos_ += static_cast<std::size_t>(width);
        return v;
    }
    std::string Text(std::size_t length) {
        Need(length);
        std::string text = bytes_.substr(pos_, length);
        pos_ += length;
        return text;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

  private:
    void Need(std::size_t n) const {
        if (bytes_.size() - pos_ < n)
            throw Damaged(path_);
    }
    const std::string& bytes_;
    const std::string& path_;
    std::size_t pos_ = 0;
};

std::string ReadAt(const fs::Fd& file, std::uint64_t offset, std::size_t size,
                   const std::string& path) {
    std::string bytes;
    bytes.reserve(size);
    CopyRange(file, offset, size, path, [&bytes](std::string_view chunk) { bytes.append(chunk); });
    return bytes;
}

} // namespace

void CopyRange(const fs::Fd& file, std::uint64_t offset, std::uint64_t size,
               const std::string& path, const std::function<void(std::string_view)>& sink) {
    constexpr std::size_t kChunk = 1 << 20;
    std::string buffer(static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunk)), '\0');
    while (size > 0) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(size, kChunk));
        const ssize_t n = ::pread(file.Get(), buffer.data(), want, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(fs::FileError("Cannot read", path, errno));
        if (n == 0)
            throw Damaged(path);
        sink(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::uint64_t>(n);
    }
}

Index ReadIndex(const fs::Fd& file, const std::string& path) {
    struct stat st {};
    if (::fstat(file.Get(), &st) != 0)
        throw Error(fs::FileError("Cannot read", path, errno));
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    Index index;
    index.executableSize = fileSize;
    if (fileSize < kTrailerSize)
        return index;
    const std::string trailer = ReadAt(file, fileSize - kTrailerSize, kTrailerSize, path);
    if (std::memcmp(trailer.data(), kMagic, sizeof kMagic) != 0)
        return index;

    const std::string numbers = trailer.substr(sizeof kMagic);
    Reader t(numbers, path);
    const std::uint64_t executableSize = t.U(8);
    const std::uint64_t indexOffset = t.U(8);
    const std::uint64_t indexSize = t.U(8);
    const std::uint64_t indexEnd = fileSize - kTrailerSize;
    if (executableSize > indexOffset || indexOffset > indexEnd ||
        indexEnd - indexOffset != indexSize)
        throw Damaged(path);

    const std::string block = ReadAt(file, indexOffset, static_cast<std::size_t>(indexSize), path);
    Reader r(block, path);
    const std::uint64_t count = r.U(4);
    for (std::uint64_t i = 0; i < count; ++i) {
        IndexEntry entry;
        entry.name = r.Text(static_cast<std::size_t>(r.U(4)));
        entry.offset = r.U(8);
        entry.size = r.U(8);
        if (entry.offset < executableSize || entry.offset > indexOffset ||
            entry.size > indexOffset - entry.offset)
            throw Damaged(path);
        index.entries.push_back(std::move(entry));
    }
    if (!r.AtEnd())
        throw Damaged(path);
    index.executableSize = executableSize;
    return index;
}

std::string EncodeIndex(const Index& index) {
    std::string block;
    PutU32(block, static_cast<std::uint32_t>(index.entries.size()));
    std::uint64_t end = index.executableSize;
    for (const IndexEntry& entry : index.entries) {
        PutU32(block, static_cast<std::uint32_t>(entry.name.size()));
        block += entry.name;
        PutU64(block, entry.offset);
        PutU64(block, entry.size);
        end = std::max(end, entry.offset + entry.size);
    }
    const std::uint64_t blockSize = block.size();
    block.append(kMagic, sizeof kMagic);
    PutU64(block, index.executableSize);
    PutU64(block, end);
    PutU64(block, blockSize);
    return block;
}

} // namespace pr::resources::detail
