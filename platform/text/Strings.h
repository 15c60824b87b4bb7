#pragma once
#include <string>
#include <string_view>

namespace pr::text {

// Trimming drops blanks and control characters (every byte up to 0x20) at the ends.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Every occurrence of `from` replaced by `to`, scanning left to right without rescanning
// the replacement. An empty `from` leaves the text as it is.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace pr::text
