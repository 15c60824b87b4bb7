#pragma once
#include <string>
#include <string_view>

namespace pr::text {

// Upper case of the ASCII letters only; every other byte is kept.
std::string UpperAscii(std::string_view text);

// Upper and lower case of Latin (ASCII, Latin-1, Latin Extended-A) and Cyrillic letters,
// Ukrainian ones included; other characters and malformed bytes are kept.
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);

// Equal ignoring letter case as Upper sees it.
bool SameText(std::string_view a, std::string_view b);

} // namespace pr::text
