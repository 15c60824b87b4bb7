#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace pr::text {

// Whole text is well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Reads the code point at pos and moves pos past it. A malformed sequence consumes one byte,
// yields that byte's value and answers false.
bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& codePoint);

void AppendUtf8(std::string& out, char32_t codePoint);

// The first `count` characters (code points) of a UTF-8 text.
std::string LeftChars(std::string_view text, std::size_t count);

} // namespace pr::text
