#include "platform/ini/IniFile.h"

#include "platform/fs/FileSystem.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace pr::ini {

namespace {

// The profile reader's blanks: white space and the end-of-file mark Ctrl-Z.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::uint32_t> ParseDigits(std::string_view digits, unsigned base) {
    if (digits.empty() || (base == 16 && digits.size() > 8))
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.starts_with('$') || text.starts_with("0x") || text.starts_with("0X")) {
        const auto bits = ParseDigits(text.substr(text.front() == '$' ? 1 : 2), 16);
        if (!bits)
            return std::nullopt;
        const auto value = static_cast<std::int32_t>(*bits);
        return negative ? static_cast<std::int32_t>(0u - *bits) : value;
    }
    const auto magnitude = ParseDigits(text, 10);
    if (!magnitude)
        return std::nullopt;
    const std::int64_t value = negative ? -std::int64_t{*magnitude} : std::int64_t{*magnitude};
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

IniFile IniFile::Parse(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::string text = text::DecodeInput(bytes);
    IniFile ini;
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = TrimBlanks(std::string_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.starts_with('[')) {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                ini.sections_.push_back({std::string(TrimBlanks(line.substr(1, close - 1))), {}});
                inSection = true;
                continue;
            }
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos)
            continue;
        const std::string_view key = TrimBlanks(line.substr(0, eq));
        if (!key.empty())
            ini.sections_.back().entries.push_back(
                {std::string(key), std::string(TrimBlanks(line.substr(eq + 1)))});
    }
    return ini;
}

IniFile IniFile::Load(const std::string& path) {
    return Parse(fs::ReadFile(path));
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
    name = TrimBlanks(name);
    for (const Section& section : sections_)
        if (text::SameText(section.name, name))
            return &section;
    return nullptr;
}

bool IniFile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::optional<std::string> IniFile::ReadRaw(std::string_view section, std::string_view key) const {
    const Section* found = FindSection(section);
    if (found == nullptr)
        return std::nullopt;
    key = TrimBlanks(key);
    for (const Entry& entry : found->entries)
        if (text::SameText(entry.key, key))
            return entry.value;
    return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& defaultValue) const {
    const auto raw = ReadRaw(section, key);
    if (!raw)
        return defaultValue;
    std::string_view value = *raw;
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return text::LeftChars(value, kMaxValueChars);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, {})).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

} // namespace pr::ini
