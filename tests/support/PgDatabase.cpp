#include "tests/support/PgDatabase.h"

#include "tests/support/PgCluster.h"
#include "tests/support/TempDir.h"

#include <libpq-fe.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace testsupport {
namespace {

std::string RandomToken(std::size_t length) {
    static const char alphabet[] = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::random_device device;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    std::string token;
    for (std::size_t i = 0; i < length; ++i)
        token += alphabet[pick(device)];
    return token;
}

std::string NewRoleName() {
    static std::atomic<int> counter{0};
    std::string suffix = RandomToken(4);
    for (auto& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "prt_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_" + suffix;
}

std::string Failure(pg_conn* conn, const std::string& what) {
    std::string message = PQerrorMessage(conn);
    while (!message.empty() && message.back() == '\n')
        message.pop_back();
    return what + ": " + message;
}

// Points libpq's defaults at the test database and keeps the caller's own settings out.
void ExportEnvironment(const std::string& database) {
    const auto& cluster = EnsurePgCluster();
    setenv("PGHOST", cluster.socketDir.c_str(), 1);
    setenv("PGPORT", std::to_string(cluster.port).c_str(), 1);
    setenv("PGDATABASE", database.c_str(), 1);
    for (const char* name : {"PGPASSWORD", "PGUSER", "PGSERVICE", "PGOPTIONS", "PGHOSTADDR",
                             "PGCONNECT_TIMEOUT", "PGSSLMODE"})
        unsetenv(name);
    setenv("PGPASSFILE", "/nonexistent/pgpass", 1);
}

} // namespace

PgAdmin::PgAdmin(const std::string& database, const std::string& schema) {
    const auto& cluster = EnsurePgCluster();
    const std::string port = std::to_string(cluster.port);
    const std::string options = schema.empty() ? "" : "-c search_path=" + schema + ",public";
    const char* keys[] = {"host", "port", "user", "dbname", "options", nullptr};
    const char* values[] = {cluster.socketDir.c_str(), port.c_str(),    cluster.adminUser.c_str(),
                            database.c_str(),          options.c_str(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 0);
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string message = Failure(conn_, "admin connection to " + database);
        PQfinish(conn_);
        throw std::runtime_error(message);
    }
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
}

PgAdmin::~PgAdmin() {
    PQfinish(conn_);
}

std::vector<std::vector<std::optional<std::string>>> PgAdmin::Rows(const std::string& sql) {
    PGresult* result = PQexec(conn_, sql.c_str());
    const auto status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        PQclear(result);
        throw std::runtime_error(Failure(conn_, sql));
    }
    std::vector<std::vector<std::optional<std::string>>> rows(PQntuples(result));
    for (int r = 0; r < PQntuples(result); ++r)
        for (int c = 0; c < PQnfields(result); ++c)
            rows[r].push_back(PQgetisnull(result, r, c)
                                  ? std::nullopt
                                  : std::optional<std::string>(PQgetvalue(result, r, c)));
    PQclear(result);
    return rows;
}

void PgAdmin::Exec(const std::string& sql) {
    Rows(sql);
}

std::optional<std::string> PgAdmin::Scalar(const std::string& sql) {
    const auto rows = Rows(sql);
    if (rows.size() != 1 || rows[0].empty())
        throw std::runtime_error("expected one row from: " + sql);
    return rows[0][0];
}

PgDatabase::PgDatabase() : user_(NewRoleName()), password_(RandomToken(20)) {
    {
        PgAdmin root("postgres");
        root.Exec("create role " + user_ + " login password '" + password_ + "'");
        root.Exec("create database " + user_ + " owner " + user_);
    }
    admin_ = std::make_unique<PgAdmin>(user_, user_);
    admin_->Exec("create schema " + user_ + " authorization " + user_ + "; set role " + user_ +
                 ";\n" +
                 ReadFile(std::string(PR_TEST_SOURCE_DIR) + "/tests/support/app_schema.sql") +
                 ";\nreset role");
    ExportEnvironment(user_);
}

PgDatabase::~PgDatabase() {
    try {
        admin_.reset();
        PgAdmin root("postgres");
        root.Exec("drop database if exists " + user_ + " with (force)");
        for (const auto& role : extraRoles_)
            root.Exec("drop role if exists " + role);
        root.Exec("drop role if exists " + user_);
    } catch (...) {
    }
    unsetenv("PGDATABASE");
}

const std::string& PgDatabase::SocketDir() const {
    return EnsurePgCluster().socketDir;
}

int PgDatabase::Port() const {
    return EnsurePgCluster().port;
}

PgAdmin& PgDatabase::Admin() {
    return *admin_;
}

std::string PgDatabase::CreateRole(const std::string& password) {
    const std::string role = NewRoleName();
    admin_->Exec("create role " + role + " login password '" + password +
                 "'; grant usage on schema " + user_ + " to " + role);
    extraRoles_.push_back(role);
    return role;
}

} // namespace testsupport
