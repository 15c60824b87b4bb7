#pragma once
// The session's connection and statement engine; used through Session, Pipeline and Query.
#include "platform/db/Connection.h"
#include "platform/db/Result.h"
#include "platform/db/SqlText.h"
#include "platform/db/Statement.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct pg_result;

namespace pr::db {

// Runs statements on one connection kept in pipeline mode. There is always an open
// transaction: BEGIN goes out before the first statement after connect, commit or rollback.
// Each statement runs as
//     SAVEPOINT pr_stmt; <statement>; RELEASE SAVEPOINT pr_stmt
// sent without waiting. When one fails the server skips everything after it until a sync:
// the engine then syncs, rolls back to that statement's savepoint and sends the skipped
// ones again, but only once the failure has been handed to the caller and the caller goes
// on (Send or Receive). So every statement runs exactly once, as if alone, and a caller that
// stops at a failure leaves nothing after it applied. Statements that cannot share the
// stream (commit, rollback, begin, statements refused inside a transaction block) wait
// until the caller receives their turn, and then run on their own.
class Engine {
  public:
    using NoticeSink = std::function<void(const Notice&)>;
    using DebugHook = std::function<void(const std::string&)>;

    Engine() = default;
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Connects with the given keyword/value pairs; secret is kept out of error messages.
    void Open(const std::vector<std::pair<std::string, std::string>>& params,
              const std::string& secret);
    // Drops the connection; the server rolls back what was not committed.
    void Close() noexcept;
    bool IsOpen() const { return static_cast<bool>(conn_); }

    void Send(Statement statement);
    Outcome Receive();
    // Forgets every statement not yet received; those not yet sent never run.
    void Abandon();
    std::size_t InFlight() const { return items_.size(); }

    void Cancel();
    // Notices that belong to no statement (or to one given up).
    void SetNoticeSink(NoticeSink sink) { orphanSink_ = std::move(sink); }
    void SetDebugHook(DebugHook hook) { debug_ = std::move(hook); }

  private:
    enum class Step : std::uint8_t {
        Begin,
        Savepoint,
        User,
        Release,
        RollbackTo,
        ReleaseAfterRollback,
        FullRollback,
        PreCommit,
        Control,
        Sync,
    };
    struct Item {
        std::uint64_t seq = 0;
        Statement st;
        StatementClass cls = StatementClass::Plain;
        enum class State : std::uint8_t { Queued, Sent, Done } state = State::Queued;
        Outcome out;
    };
    struct Expect {
        Step step;
        std::uint64_t seq;
    };

    static void OnNotice(void* self, const pg_result* notice);

    Item* Find(std::uint64_t seq);
    void Pump();
    void SendItem(Item& item);
    void ExecuteBarrier(Item& item);
    void QueueText(const char* sql, Step step, std::uint64_t seq);
    void QueueUser(const Item& item, Step step);
    void QueueSync(std::uint64_t seq);
    void Flush();
    void ProcessOne();
    void Succeeded(Step step, Item* item, Result result);
    void Failed(Step step, Item* item, const Error& error);
    void StartRecovery(std::uint64_t seq, bool toSavepoint);
    void Finish(Item& item);
    void ConnectionLost(const std::string& message, const std::string& sqlState = "08006");
    void Continue();
    void TakeNotices(Item* item);

    Connection conn_;
    CancelHandle cancel_;
    std::mutex cancelMutex_;

    std::deque<Item> items_; // not yet received, in order
    std::uint64_t nextSeq_ = 1;
    std::deque<Expect> expects_; // results still to come, in order
    std::vector<Notice> inbox_;

    bool txOpen_ = false;  // BEGIN has been sent
    bool aborted_ = false; // the server skips until the sync we sent
    bool blocked_ = false; // a failure waits for the caller to go on
    bool resumeOnNextCall_ = false;
    bool outputPending_ = false; // messages not yet flushed to the server
    bool unsynced_ = false;      // statements sent since the last sync
    std::size_t sentSinceFlush_ = 0;
    std::optional<Error> lostWork_;

    NoticeSink orphanSink_;
    DebugHook debug_;
};

} // namespace pr::db
