#include "platform/core/InternalCheck.h"

#include <algorithm>
#include <cstring>

namespace pr {

std::string SourceUnit(const std::source_location& where) {
    std::string file = where.file_name();
    const std::string root = PR_SOURCE_ROOT;
    if (file.compare(0, root.size(), root) == 0)
        file.erase(0, root.size());
    const auto dot = file.find_last_of('.');
    const auto slash = file.find_last_of('/');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        file.erase(dot);
    std::replace(file.begin(), file.end(), '/', '\\');
    return file;
}

void RaiseInternalCheck(const std::string& message, const std::source_location& where) {
    throw EInternalCheck(message + " (" + SourceUnit(where) + ", line " +
                         std::to_string(where.line()) + ")");
}

} // namespace pr
