#pragma once
#include <string>
#include <string_view>

namespace pr::text {

// Code page 1251 bytes as UTF-8. The one byte 1251 leaves undefined (0x98) becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 as code page 1251 bytes, for byte-level work. Characters 1251 cannot hold, and
// malformed bytes, become "?".
std::string ToCp1251(std::string_view utf8);

// An input text of unknown encoding: kept when it is valid UTF-8, read as 1251 otherwise.
std::string DecodeInput(std::string_view bytes);

} // namespace pr::text
