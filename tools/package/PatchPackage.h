#pragma once
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace patchpackage {

// The bytes of a package: every file of a package folder (version folders and the settings
// file) or every entry of an existing package zip, deflated and encrypted with traditional
// zip encryption under the archive password formed from packagePassword. A folder's files
// come first, then its subfolders, each in name order. Raises pr::Error for an empty
// password, unreadable input or a package without a settings file (an ".ini" entry).
std::string BuildPackage(const std::filesystem::path& folderOrZip,
                         const std::string& packagePassword);

// An unencrypted zip archive of (entry name, bytes), in that order.
std::string BuildPlainZip(const std::vector<std::pair<std::string, std::string>>& entries);

} // namespace patchpackage
