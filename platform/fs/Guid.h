#pragma once
#include <string>

namespace pr::fs {

// A new random (version 4) GUID in braced upper-case form:
// "{3F2504E0-4F89-41D3-9A0C-0305E82C3301}", 38 characters.
std::string NewGuid();

} // namespace pr::fs
