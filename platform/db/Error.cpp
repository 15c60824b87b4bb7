#include "platform/db/Error.h"

#include <utility>

namespace pr::db {

Error::Error(const std::string& message, std::string sqlState, ErrorKind kind,
             std::string statement, std::string primary)
    : pr::Error(message), sqlState_(std::move(sqlState)), kind_(kind),
      statement_(std::move(statement)), primary_(primary.empty() ? message : std::move(primary)) {}

ErrorKind KindOfSqlState(std::string_view sqlState) {
    if (sqlState == "28P01" || sqlState == "28000")
        return ErrorKind::LogonRejected;
    if (sqlState == "57P03")
        return ErrorKind::NotAvailable;
    // Connection exceptions, and the server ending the session (admin or crash shutdown).
    if (sqlState.substr(0, 2) == "08" || sqlState == "57P01" || sqlState == "57P02")
        return ErrorKind::NotReachable;
    return ErrorKind::Other;
}

namespace {

struct Rule {
    std::string_view text;
    std::string_view alsoText; // must be present too, when not empty
    const char* sqlState;
};

// Server texts of a refused connection, as sent with lc_messages C, and the one client text
// of a password that was asked for and not given.
constexpr Rule kRules[] = {
    {"the database system is starting up", {}, "57P03"},
    {"the database system is shutting down", {}, "57P03"},
    {"the database system is in recovery mode", {}, "57P03"},
    {"the database system is not yet accepting connections", {}, "57P03"},
    {"the database system is not accepting connections", {}, "57P03"},
    {"password authentication failed", {}, "28P01"},
    {"no password supplied", {}, "28P01"},
    {"no pg_hba.conf entry", {}, "28000"},
    {"pg_hba.conf rejects", {}, "28000"},
    {"authentication failed for user", {}, "28000"},
    {"is not permitted to log in", {}, "28000"},
    {"role \"", "\" does not exist", "28000"},
    {"database \"", "\" does not exist", "3D000"},
    {"too many clients already", {}, "53300"},
    {"remaining connection slots are reserved", {}, "53300"},
    {"permission denied for database", {}, "42501"},
};

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

ErrorKind ClassifyConnectionFailure(std::string_view text, bool passwordNeeded,
                                    std::string& sqlState) {
    for (const Rule& rule : kRules)
        if (Contains(text, rule.text) && (rule.alsoText.empty() || Contains(text, rule.alsoText))) {
            sqlState = rule.sqlState;
            return KindOfSqlState(sqlState);
        }
    if (passwordNeeded) {
        sqlState = "28P01";
        return ErrorKind::LogonRejected;
    }
    if (Contains(text, "FATAL:") || Contains(text, "ERROR:")) {
        sqlState = "08004"; // the server answered and refused for a reason not listed
        return ErrorKind::Other;
    }
    sqlState = "08001"; // no server answered
    return ErrorKind::NotReachable;
}

} // namespace pr::db
