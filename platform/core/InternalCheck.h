#pragma once
#include "platform/core/Error.h"

#include <source_location>
#include <string>

namespace pr {

// A developer precondition that did not hold. The message carries the source unit and line
// in the form "message (unit, line N)".
class EInternalCheck : public Error {
public:
    using Error::Error;
};

// Source file of a location relative to the project root, without its extension, with
// backslashes: "SharedCode6\Class\cCMDCommands".
std::string SourceUnit(const std::source_location& where);

[[noreturn]] void RaiseInternalCheck(const std::string& message,
                                     const std::source_location& where = std::source_location::current());

inline void InternalCheck(bool condition, const std::string& message = "Assertion failure",
                          const std::source_location& where = std::source_location::current()) {
    if (!condition)
        RaiseInternalCheck(message, where);
}

} // namespace pr
