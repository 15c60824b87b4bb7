#pragma once
#include <string>

namespace pr::db {

// A message the server sent besides a result (NOTICE, WARNING, INFO, ...).
struct Notice {
    std::string severity; // "NOTICE", "WARNING", ...
    std::string sqlState;
    std::string message; // the one-line message
    std::string text;    // as the library formats it: "NOTICE:  message" and detail lines
};

} // namespace pr::db
