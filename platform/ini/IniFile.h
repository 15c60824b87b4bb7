#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pr::ini {

// A profile file read by the rules of the profile reader it is written for: section and key
// names compared ignoring letter case; blanks around names and values dropped; the first
// section of a name and its first key of a name count; a line that is neither a section
// header nor holds "=" is ignored, as is a header without "]". Text is UTF-8 or code page 1251.
class IniFile {
  public:
    // Longest value read, in characters.
    static constexpr std::size_t kMaxValueChars = 2047;

    static IniFile Parse(std::string_view bytes);
    // Raises pr::Error naming the file when it cannot be read.
    static IniFile Load(const std::string& path);

    bool HasSection(std::string_view section) const;
    // The value as written, blanks around it dropped, nothing else changed.
    std::optional<std::string> ReadRaw(std::string_view section, std::string_view key) const;
    // The value with one wholly enclosing pair of matching quotes (' or ") removed, cut to
    // kMaxValueChars characters; the default when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // Decimal, or hexadecimal with "$" or "0x"; anything else gives the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    // True when the integer is not 0.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> sections_;
};

// Integer text of a profile value: optional sign, then decimal digits or "$"/"0x" and up to
// eight hexadecimal digits (taken as a 32-bit pattern); nothing when it is not one.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace pr::ini
