#pragma once
// Layout of resources appended to an executable (internal to platform/resources):
//
//   [executable][payload 1]...[payload n][index][trailer]
//   index:   u32 count, then per resource: u32 name length, name (UTF-8), u64 offset, u64 size
//   trailer: 8-byte magic, u64 executable size, u64 index offset, u64 index size
//
// Numbers are little-endian; offsets count from the start of the file.
#include "platform/fs/Fd.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pr::resources::detail {

inline constexpr char kMagic[8] = {'P', 'R', 'R', 'S', 'R', 'C', '0', '1'};
inline constexpr std::size_t kTrailerSize = 32;

struct IndexEntry {
    std::string name;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

struct Index {
    std::uint64_t executableSize = 0; // the whole file when nothing is appended
    std::vector<IndexEntry> entries;
};

// Reads the index of an open file; a file without the magic has no resources.
// Raises pr::Error when the appended data are damaged.
Index ReadIndex(const fs::Fd& file, const std::string& path);

// Hands `size` bytes of the file from `offset` to the sink, in chunks. Raises pr::Error when
// the file cannot be read or ends early.
void CopyRange(const fs::Fd& file, std::uint64_t offset, std::uint64_t size,
               const std::string& path, const std::function<void(std::string_view)>& sink);

// Index and trailer bytes for resources laid out after an executable of the given size.
std::string EncodeIndex(const Index& index);

} // namespace pr::resources::detail
