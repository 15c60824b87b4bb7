#pragma once
#include <optional>
#include <string>
#include <vector>

namespace pr::db {

// A value bound to a $n placeholder: the server's text form (or raw bytes when binary),
// null when empty; typeOid 0 lets the server infer the type from the statement.
struct Parameter {
    std::optional<std::string> value;
    unsigned typeOid = 0;
    bool binary = false;
};

// One SQL statement as sent to the server.
struct Statement {
    std::string sql;
    std::vector<Parameter> params;
};

} // namespace pr::db
