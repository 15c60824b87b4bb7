#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pr::db {

// How the session runs a statement, from its leading keywords.
enum class StatementClass {
    Plain,              // in the open transaction, in a savepoint of its own
    SavepointCommand,   // SAVEPOINT, RELEASE, ROLLBACK TO: the user's own savepoints
    Commit,             // COMMIT, END: the session's commit
    Rollback,           // ROLLBACK, ABORT: the session's rollback
    Begin,              // BEGIN, START TRANSACTION: opens the transaction when none is open
    OutsideTransaction, // refused inside a transaction block: runs after a commit, on its own
    Unsupported,        // COPY from/to the client, PREPARE TRANSACTION
};

StatementClass ClassifyStatement(std::string_view sql);

// The statement's first word in upper case ("SELECT", "CREATE"), comments skipped; empty
// when it starts with no word.
std::string FirstKeyword(std::string_view sql);

// A ":name" variable in a statement, outside quotes, quoted names, dollar quotes, comments,
// "::" casts and ":=".
struct Placeholder {
    std::size_t offset = 0; // of the colon
    std::size_t length = 0; // colon included
    std::string name;       // without the colon, as written
    bool operator==(const Placeholder&) const = default;
};

std::vector<Placeholder> FindPlaceholders(std::string_view sql);

} // namespace pr::db
