#include "tests/db/DbTest.h"

#include "platform/db/Error.h"
#include "tests/support/PgCluster.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

using pr::db::Error;
using pr::db::ErrorKind;
using pr::db::Session;

namespace {

enum class Password { Right, Wrong, Empty };
enum class Where { Default, Tcp, DeadPort, NoSocket };

struct LogonCase {
    const char* name;
    Password password;
    Where where;
    bool connects;
    ErrorKind kind;
    const char* sqlState;
    friend void PrintTo(const LogonCase& c, std::ostream* os) { *os << c.name; }
};

class LogonTest : public ::testing::TestWithParam<LogonCase> {};

TEST_P(LogonTest, ConnectsOrSaysWhyNot) {
    const LogonCase& c = GetParam();
    testsupport::PgDatabase db;
    const std::string password = c.password == Password::Right   ? db.Password()
                                 : c.password == Password::Wrong ? "Wrong-Secret-77"
                                                                 : "";
    std::string database;
    if (c.where == Where::Tcp)
        database = "host=127.0.0.1 port=" + std::to_string(db.Port()) + " dbname=" + db.Name();
    else if (c.where == Where::DeadPort)
        database =
            "host=127.0.0.1 port=" + std::to_string(testsupport::FreeLoopbackPort()) + " dbname=x";
    else if (c.where == Where::NoSocket)
        database = "host=/nonexistent/socket/dir dbname=x";
    Session session;
    session.SetLogon(db.User(), password, database);
    if (c.connects) {
        session.Connect();
        EXPECT_TRUE(session.Connected());
        EXPECT_EQ("1", session.Execute("select 1").Text(0, 0));
        return;
    }
    try {
        session.Connect();
        FAIL() << "connected";
    } catch (const Error& e) {
        EXPECT_EQ(c.kind, e.Kind()) << e.what();
        EXPECT_EQ(c.sqlState, e.SqlState()) << e.what();
        if (!password.empty()) {
            EXPECT_EQ(std::string(e.what()).find(password), std::string::npos);
        }
    }
    EXPECT_FALSE(session.Connected());
}

INSTANTIATE_TEST_SUITE_P(Cases, LogonTest,
                         ::testing::Values(LogonCase{"SocketRight", Password::Right, Where::Default,
                                                     true, ErrorKind::Other, ""},
                                           LogonCase{"TcpRight", Password::Right, Where::Tcp, true,
                                                     ErrorKind::Other, ""},
                                           LogonCase{"SocketWrong", Password::Wrong, Where::Default,
                                                     false, ErrorKind::LogonRejected, "28P01"},
                                           LogonCase{"TcpWrong", Password::Wrong, Where::Tcp, false,
                                                     ErrorKind::LogonRejected, "28P01"},
                                           LogonCase{"Empty", Password::Empty, Where::Default,
                                                     false, ErrorKind::LogonRejected, "28P01"},
                                           LogonCase{"DeadPort", Password::Right, Where::DeadPort,
                                                     false, ErrorKind::NotReachable, "08001"},
                                           LogonCase{"NoSocket", Password::Right, Where::NoSocket,
                                                     false, ErrorKind::NotReachable, "08001"}),
                         [](const auto& info) { return info.param.name; });

struct TextCase {
    const char* text;
    bool passwordNeeded;
    ErrorKind kind;
    const char* sqlState;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.text; }
};

class ConnectionFailureText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ConnectionFailureText, IsClassified) {
    std::string sqlState;
    EXPECT_EQ(GetParam().kind, pr::db::ClassifyConnectionFailure(
                                   GetParam().text, GetParam().passwordNeeded, sqlState));
    EXPECT_EQ(GetParam().sqlState, sqlState);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConnectionFailureText,
    ::testing::Values(
        TextCase{"connection to server on socket \"/s/.s.PGSQL.5432\" failed: FATAL:  the "
                 "database system is starting up",
                 false, ErrorKind::NotAvailable, "57P03"},
        TextCase{"connection to server at \"127.0.0.1\", port 5432 failed: FATAL:  the database "
                 "system is shutting down",
                 false, ErrorKind::NotAvailable, "57P03"},
        TextCase{"FATAL:  no pg_hba.conf entry for host \"10.0.0.1\", user \"u\", database \"d\"",
                 false, ErrorKind::LogonRejected, "28000"},
        TextCase{"FATAL:  role \"nobody\" does not exist", false, ErrorKind::LogonRejected,
                 "28000"},
        TextCase{"FATAL:  database \"nowhere\" does not exist", false, ErrorKind::Other, "3D000"},
        TextCase{"FATAL:  sorry, too many clients already", false, ErrorKind::Other, "53300"},
        TextCase{"FATAL:  terminating connection due to unexpected postmaster exit", false,
                 ErrorKind::Other, "08004"},
        TextCase{"connection to server on socket \"/s/.s.PGSQL.5432\" failed: fe_sendauth: no "
                 "password supplied",
                 true, ErrorKind::LogonRejected, "28P01"},
        TextCase{"could not translate host name \"nohost\" to address: Name or service not known",
                 false, ErrorKind::NotReachable, "08001"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(ShuttingDown, ALogonIsRefusedAsNotAvailable) {
    const auto folder =
        testsupport::PgClusterFolder().string() + "-shutdown-" + std::to_string(getpid());
    struct Guard {
        std::string folder;
        ~Guard() {
            testsupport::StopPgCluster(folder);
            std::filesystem::remove_all(folder);
            std::filesystem::remove(folder + ".lock");
        }
    } guard{folder};
    const auto cluster = testsupport::StartPgCluster(folder);
    const std::string where =
        "host=" + cluster.socketDir + " port=" + std::to_string(cluster.port) + " dbname=postgres";
    Session holder; // keeps the server from finishing its shutdown
    holder.SetLogon(cluster.adminUser, "", where);
    holder.Connect();
    testsupport::RequestSmartShutdown(folder);
    Session late;
    late.SetLogon("nobody", "Some-Password-1", where);
    ErrorKind kind = ErrorKind::LogonRejected;
    std::string sqlState;
    // Until the server has taken the request it still checks passwords.
    for (int attempt = 0; kind == ErrorKind::LogonRejected && attempt < 10000; ++attempt) {
        try {
            late.Connect();
            FAIL() << "connected";
        } catch (const Error& e) {
            kind = e.Kind();
            sqlState = e.SqlState();
        }
    }
    EXPECT_EQ(ErrorKind::NotAvailable, kind);
    EXPECT_EQ("57P03", sqlState);
    holder.Disconnect();
}

TEST_F(DbTest, AfterLogonHookRunsOnEveryLogonAndItsErrorReachesTheCaller) {
    int calls = 0;
    session.Disconnect();
    session.SetAfterLogon([&](Session& s) {
        ++calls;
        s.Execute("set DateStyle = 'German, DMY'");
    });
    session.Connect();
    EXPECT_EQ("31.01.2024", session.Execute("select date '2024-01-31'").Text(0, 0));
    session.Disconnect();
    session.Connect();
    EXPECT_EQ(2, calls);

    session.Disconnect();
    session.SetAfterLogon([](Session& s) { s.Execute("set no_such_setting_at_all = 1"); });
    EXPECT_THROW(session.Connect(), Error);
}

TEST_F(DbTest, DebugHandsEachStatementToTheDebugSink) {
    std::vector<std::string> traced;
    session.SetDebugSink([&](const std::string& sql) { traced.push_back(sql); });
    session.Execute("select 1");
    session.SetDebug(true);
    session.Execute("select 2");
    session.Commit();
    session.SetDebug(false);
    session.Execute("select 3");
    EXPECT_EQ((std::vector<std::string>{"select 2", "COMMIT"}), traced);
}

TEST_F(DbTest, FailingStatementUndoesOnlyItselfAndRollbackUndoesAllSinceCommit) {
    session.Execute("insert into dict_setting values ('a', '1')");
    try {
        session.Execute("insert into dict_setting values ('a', 'duplicate')");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ("23505", e.SqlState());
        EXPECT_EQ("insert into dict_setting values ('a', 'duplicate')", e.Statement());
        EXPECT_NE(std::string(e.what()).find("duplicate key value"), std::string::npos);
    }
    session.Execute("insert into dict_setting values ('b', '2')");
    EXPECT_EQ("0", Count("dict_setting")); // nothing committed yet
    session.Commit();
    EXPECT_EQ("2", Count("dict_setting"));

    session.Execute("insert into dict_setting values ('c', '3')");
    session.Execute("update dict_setting set setting_value = 'x'");
    session.Rollback();
    EXPECT_EQ(
        "2",
        session.Execute("select count(*) from dict_setting where setting_value <> 'x'").Text(0, 0));
}

TEST_F(DbTest, StatementRefusedInsideATransactionRunsAfterACommit) {
    session.Execute("insert into dict_setting values ('a', '1')");
    const auto result = session.Execute("vacuum dict_setting");
    EXPECT_EQ("VACUUM", result.CommandTag());
    EXPECT_EQ("1", Count("dict_setting")); // committed before the vacuum
    session.Execute("insert into dict_setting values ('b', '2')");
    session.Execute("create index concurrently dict_value on dict_setting (setting_value)");
    session.Execute("insert into dict_setting values ('c', '3')");
    session.Rollback();
    EXPECT_EQ("2", Count("dict_setting"));
    EXPECT_EQ("1",
              *db.Admin().Scalar("select count(*) from pg_indexes where indexname = 'dict_value'"));
}

TEST_F(DbTest, TransactionStatementsActOnTheSessionsTransaction) {
    session.Execute("insert into dict_setting values ('a', '1')");
    EXPECT_EQ("COMMIT", session.Execute("commit").CommandTag());
    EXPECT_EQ("1", Count("dict_setting"));
    EXPECT_EQ("BEGIN", session.Execute("begin").CommandTag());
    session.Execute("insert into dict_setting values ('b', '2')");
    EXPECT_EQ("ROLLBACK", session.Execute("rollback work").CommandTag());
    session.Execute("insert into dict_setting values ('c', '3')");
    session.Execute("end");
    EXPECT_EQ("2", Count("dict_setting"));
    // An explicit BEGIN while none is open starts the transaction with its options.
    session.Execute("start transaction isolation level serializable");
    EXPECT_EQ("serializable", session.Execute("show transaction_isolation").Text(0, 0));
    session.Commit();
}

TEST_F(DbTest, UserSavepointsWork) {
    session.Execute("insert into dict_setting values ('a', '1')");
    session.Execute("savepoint mine");
    session.Execute("insert into dict_setting values ('b', '2')");
    EXPECT_THROW(session.Execute("insert into dict_setting values ('b', '2')"), Error);
    session.Execute("rollback to savepoint mine");
    EXPECT_THROW(session.Execute("rollback to savepoint nonexistent"), Error);
    session.Execute("insert into dict_setting values ('c', '3')");
    session.Execute("release savepoint mine");
    EXPECT_THROW(session.Execute("release savepoint mine"), Error);
    session.Commit();
    EXPECT_EQ("a,c",
              *db.Admin().Scalar(
                  "select string_agg(setting_id, ',' order by setting_id) from dict_setting"));
}

TEST_F(DbTest, CopyFromTheClientIsRefused) {
    session.Execute("insert into dict_setting values ('a', '1')");
    try {
        session.Execute("copy dict_setting from stdin");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ("COPY from or to the client is not supported: use INSERT or SELECT",
                  std::string(e.what()));
    }
    session.Commit();
    EXPECT_EQ("1", Count("dict_setting"));
}

TEST_F(DbTest, NoticesArriveInOrder) {
    session.Execute("do $$ begin raise notice 'one'; raise warning 'two'; "
                    "raise notice 'three'; end $$");
    EXPECT_THROW(session.Execute("do $$ begin raise notice 'four'; raise exception 'boom'; end $$"),
                 Error);
    std::vector<std::string> texts;
    for (const auto& n : session.TakeNotices())
        texts.push_back(n.severity + " " + n.message);
    EXPECT_EQ(
        (std::vector<std::string>{"NOTICE one", "WARNING two", "NOTICE three", "NOTICE four"}),
        texts);
    EXPECT_TRUE(session.TakeNotices().empty());

    std::vector<std::string> sunk;
    session.SetNoticeSink([&](const pr::db::Notice& n) { sunk.push_back(n.text); });
    session.Execute("do $$ begin raise notice 'five'; end $$");
    EXPECT_EQ((std::vector<std::string>{"NOTICE:  five"}), sunk);
}

TEST_F(DbTest, BreakExecutionInterruptsALongStatement) {
    session.Execute("insert into dict_setting values ('a', '1')");
    const std::string pid = session.Execute("select pg_backend_pid()").Text(0, 0).data();
    std::thread breaker([&] {
        // Wait until the statement runs, then cancel it.
        while (db.Admin().Scalar("select count(*) from pg_stat_activity where pid = " + pid +
                                 " and query like '%pg_sleep%' and state = 'active'") != "1")
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        session.BreakExecution();
    });
    try {
        session.Execute("select pg_sleep(600)");
        ADD_FAILURE() << "not interrupted";
    } catch (const Error& e) {
        EXPECT_EQ("57014", e.SqlState());
    }
    breaker.join();
    session.BreakExecution(); // idle: nothing happens
    session.Commit();
    EXPECT_EQ("1", Count("dict_setting"));
}

TEST_F(DbTest, DisconnectRollsBackAndALostConnectionIsReported) {
    session.Execute("insert into dict_setting values ('a', '1')");
    session.Disconnect();
    EXPECT_FALSE(session.Connected());
    EXPECT_EQ("0", Count("dict_setting"));
    try {
        session.Execute("select 1");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(ErrorKind::NotReachable, e.Kind());
    }

    session.Connect();
    const std::string pid = session.Execute("select pg_backend_pid()").Text(0, 0).data();
    db.Admin().Exec("select pg_terminate_backend(" + pid + ")");
    try {
        session.Execute("select 1");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(ErrorKind::NotReachable, e.Kind()) << e.what();
    }
    EXPECT_FALSE(session.Connected());
    session.Connect();
    EXPECT_EQ("1", session.Execute("select 1").Text(0, 0));
}

} // namespace
