#pragma once
#include "platform/db/Notice.h"
#include "platform/db/Result.h"
#include "platform/db/Statement.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pr::db {

class Engine;

// One database session. There is always an open transaction: it begins by itself before
// the first statement after connect, commit or rollback, and a failing statement undoes only
// itself (each runs in a savepoint of its own). COMMIT, ROLLBACK, BEGIN written as statements
// act as Commit, Rollback and nothing (a transaction is always open); statements refused
// inside a transaction block (VACUUM, ... CONCURRENTLY, CREATE DATABASE, ...) run after a
// commit, on their own. SAVEPOINT, RELEASE and ROLLBACK TO written by the user work as
// written; their savepoints last until the next commit or rollback. COPY from or to the client
// and PREPARE TRANSACTION are refused. One statement per call. Only BreakExecution may be
// called from another thread.
class Session {
  public:
    using AfterLogon = std::function<void(Session&)>;
    using NoticeSink = std::function<void(const Notice&)>;
    using DebugSink = std::function<void(const std::string&)>;

    Session();
    ~Session(); // disconnects, rolling back
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Database: empty for the local default database (the PG* environment and the unix
    // socket), else a database name or a connection string.
    void SetLogon(std::string userName, std::string password, std::string database = {});
    const std::string& UserName() const { return userName_; }
    void SetUserName(std::string userName) { userName_ = std::move(userName); }
    const std::string& Password() const { return password_; }
    void SetPassword(std::string password) { password_ = std::move(password); }
    const std::string& Database() const { return database_; }
    void SetDatabase(std::string database) { database_ = std::move(database); }

    // Logs on (nothing when connected) and runs the after-logon hook; a refused logon
    // throws db::Error (ErrorKind tells why). An exception of the hook reaches the caller
    // with the session left connected.
    void Connect();
    // Logs off; what was not committed is rolled back. Nothing when not connected.
    void Disconnect();
    bool Connected() const;
    void SetConnected(bool connected);
    void SetAfterLogon(AfterLogon hook) { afterLogon_ = std::move(hook); }

    void Commit();
    void Rollback();
    // Interrupts the statement in progress (the server's cancel request); harmless when idle.
    void BreakExecution();

    // Runs one statement; its failure (rolled back to before it) throws db::Error. Notices
    // go to the notice sink.
    Result Execute(std::string_view sql);
    Result Execute(Statement statement);

    // Where notices go as they arrive; by default they are kept for TakeNotices.
    void SetNoticeSink(NoticeSink sink);
    std::vector<Notice> TakeNotices();

    // With Debug on, the text of each statement goes to the debug sink (default std::clog).
    bool Debug() const { return debug_; }
    void SetDebug(bool debug);
    void SetDebugSink(DebugSink sink);

  private:
    friend class Pipeline;
    void Deliver(std::vector<Notice>& notices);
    void UpdateDebugHook();

    std::string userName_, password_, database_;
    AfterLogon afterLogon_;
    NoticeSink noticeSink_;
    std::vector<Notice> notices_;
    bool debug_ = false;
    DebugSink debugSink_;
    std::unique_ptr<Engine> engine_;
};

} // namespace pr::db
