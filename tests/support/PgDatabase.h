#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct pg_conn;

namespace testsupport {

// A superuser connection for setting up and checking a test database. Runs plain SQL in
// autocommit mode; any failure throws std::runtime_error with the server's message.
class PgAdmin {
  public:
    // Connects to the database; the search path starts with the schema, when one is given.
    PgAdmin(const std::string& database, const std::string& schema = {});
    ~PgAdmin();
    PgAdmin(const PgAdmin&) = delete;
    PgAdmin& operator=(const PgAdmin&) = delete;

    // Runs one or more statements.
    void Exec(const std::string& sql);
    // The rows of a query, NULL as nullopt.
    std::vector<std::vector<std::optional<std::string>>> Rows(const std::string& sql);
    // The first column of the only row of a query.
    std::optional<std::string> Scalar(const std::string& sql);

  private:
    pg_conn* conn_ = nullptr;
};

// A fresh database for one test: a new database owned by a new login role with a random
// password, the role owning a schema of its own name that holds the application tables.
// While it lives PGHOST, PGPORT and PGDATABASE point at it, so a session with an empty
// database name reaches it (PGPASSWORD is never set). Everything is dropped with the object.
class PgDatabase {
  public:
    PgDatabase();
    ~PgDatabase();
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

    const std::string& User() const { return user_; } // also the database and schema name
    const std::string& Password() const { return password_; }
    const std::string& Name() const { return user_; }
    const std::string& SocketDir() const;
    int Port() const;

    // Superuser connection to this database, search path on the role's schema.
    PgAdmin& Admin();

    // Another login role with a password of its own (dropped with the database).
    std::string CreateRole(const std::string& password);

  private:
    std::string user_;
    std::string password_;
    std::vector<std::string> extraRoles_;
    std::unique_ptr<PgAdmin> admin_;
};

} // namespace testsupport
