#include "tools/package/PatchPackage.h"

#include "SharedCode6/Util/uUtilites.h"
#include "platform/core/Error.h"
#include "platform/zip/Reader.h"
#include "platform/zip/Writer.h"

#include <algorithm>
#include <cctype>

namespace fs = std::filesystem;

namespace patchpackage {
namespace {

constexpr int kLevel = 9;

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

bool IsSettingsName(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string extension = name.substr(name.size() - 4);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".ini";
}

std::vector<fs::directory_entry> Sorted(const fs::path& dir) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec)
        throw pr::Error("Cannot read the package folder " + Quoted(dir.string()) + ": " +
                        ec.message());
    std::vector<fs::directory_entry> entries(it, fs::directory_iterator());
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    return entries;
}

// Adds the files of dir, then those of its subfolders; answers whether a settings file was met.
bool AddFolder(pr::zip::Writer& writer, const fs::path& root, const fs::path& dir,
               const pr::zip::EntryOptions& options) {
    bool settings = false;
    std::vector<fs::path> subfolders;
    for (const fs::directory_entry& entry : Sorted(dir)) {
        std::error_code ec;
        if (entry.is_directory(ec)) {
            subfolders.push_back(entry.path());
        } else if (entry.is_regular_file(ec)) {
            const std::string name = fs::relative(entry.path(), root).generic_string();
            writer.AddFile(name, entry.path(), options);
            settings = settings || IsSettingsName(name);
        }
    }
    for (const fs::path& subfolder : subfolders)
        settings = AddFolder(writer, root, subfolder, options) || settings;
    return settings;
}

bool AddZip(pr::zip::Writer& writer, const fs::path& zip, const pr::zip::EntryOptions& options) {
    pr::zip::Reader reader = pr::zip::Reader::OpenFile(zip);
    reader.SetPassword(options.password); // an already encrypted package reads with the same one
    bool settings = false;
    for (const pr::zip::Entry& entry : reader.Entries()) {
        if (entry.IsFolder())
            continue;
        writer.AddBytes(entry.name, reader.Read(entry.index), options);
        settings = settings || IsSettingsName(entry.name);
    }
    return settings;
}

} // namespace

std::string BuildPackage(const fs::path& folderOrZip, const std::string& packagePassword) {
    if (packagePassword.empty())
        throw pr::Error("PackagePassword is empty");
    std::error_code ec;
    const fs::file_status status = fs::status(folderOrZip, ec);
    if (!fs::is_directory(status) && !fs::is_regular_file(status))
        throw pr::Error("Cannot read the package " + Quoted(folderOrZip.string()) + ": " +
                        (ec ? ec.message() : "neither a folder nor a file"));

    const pr::zip::EntryOptions options{kLevel, MakeArchivePassword(packagePassword)};
    pr::zip::Writer writer = pr::zip::Writer::OpenMemory();
    const bool settings = fs::is_directory(status)
                              ? AddFolder(writer, folderOrZip, folderOrZip, options)
                              : AddZip(writer, folderOrZip, options);
    if (!settings)
        throw pr::Error("The package " + Quoted(folderOrZip.string()) +
                        " has no settings file (an \".ini\" entry)");
    writer.Close();
    return writer.TakeBytes();
}

std::string BuildPlainZip(const std::vector<std::pair<std::string, std::string>>& entries) {
    pr::zip::Writer writer = pr::zip::Writer::OpenMemory();
    for (const auto& [name, bytes] : entries)
        writer.AddBytes(name, bytes, {kLevel, ""});
    writer.Close();
    return writer.TakeBytes();
}

} // namespace patchpackage
