#pragma once
#include <stdexcept>
#include <string>

namespace pr {

// Base of every failure the program reports: the message is meant for the user as it stands.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace pr
