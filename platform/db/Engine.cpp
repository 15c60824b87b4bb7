#include "platform/db/Engine.h"

#include "platform/core/InternalCheck.h"

#include <libpq-fe.h>

#include <string_view>

namespace pr::db {
namespace {

constexpr const char* kSavepoint = "SAVEPOINT pr_stmt";
constexpr const char* kRelease = "RELEASE SAVEPOINT pr_stmt";
constexpr const char* kRollbackTo = "ROLLBACK TO SAVEPOINT pr_stmt";
// Statements sent before the server is asked to flush its results.
constexpr std::size_t kFlushBatch = 32;

std::string Trimmed(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' '))
        s.pop_back();
    return s;
}

void Scrub(std::string& text, const std::string& secret) {
    if (secret.size() < 4)
        return;
    for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at))
        text.replace(at, secret.size(), "***");
}

Error ResultError(const PGresult* r, const std::string& statement) {
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const char* primary = PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY);
    std::string sqlState = state ? state : "";
    return Error(Trimmed(PQresultErrorMessage(r)), sqlState, KindOfSqlState(sqlState), statement,
                 primary ? primary : "");
}

Error NotConnected(const std::string& statement) {
    return Error("not connected to the database", "08003", ErrorKind::NotReachable, statement);
}

std::string UnsupportedMessage(const std::string& sql) {
    return FirstKeyword(sql) == "PREPARE"
               ? "PREPARE TRANSACTION is not supported: the session manages its transaction"
               : "COPY from or to the client is not supported: use INSERT or SELECT";
}

bool IsBarrier(StatementClass cls) {
    return cls != StatementClass::Plain && cls != StatementClass::SavepointCommand;
}

} // namespace

Engine::~Engine() {
    Close();
}

void Engine::Open(const std::vector<std::pair<std::string, std::string>>& params,
                  const std::string& secret) {
    Close();
    std::vector<const char*> keys, values;
    for (const auto& [key, value] : params) {
        keys.push_back(key.c_str());
        values.push_back(value.c_str());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    Connection conn(PQconnectdbParams(keys.data(), values.data(), 1));
    if (!conn)
        throw Error("out of memory", "08001", ErrorKind::NotReachable);
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        std::string text = Trimmed(PQerrorMessage(conn.get()));
        Scrub(text, secret);
        std::string sqlState;
        const ErrorKind kind =
            ClassifyConnectionFailure(text, PQconnectionNeedsPassword(conn.get()), sqlState);
        throw Error(text, sqlState, kind);
    }
    PQsetNoticeReceiver(conn.get(), &Engine::OnNotice, this);
    if (PQenterPipelineMode(conn.get()) != 1)
        throw Error(Trimmed(PQerrorMessage(conn.get())), "08006", ErrorKind::NotReachable);
    CancelHandle cancel(PQgetCancel(conn.get()));
    {
        std::lock_guard lock(cancelMutex_);
        cancel_ = std::move(cancel);
    }
    conn_ = std::move(conn);
    txOpen_ = aborted_ = blocked_ = resumeOnNextCall_ = outputPending_ = unsynced_ = false;
    sentSinceFlush_ = 0;
    lostWork_.reset();
}

void Engine::Close() noexcept {
    {
        std::lock_guard lock(cancelMutex_);
        cancel_.reset();
    }
    conn_.reset();
    expects_.clear();
    for (Item& item : items_)
        if (item.state != Item::State::Done) {
            item.out = Outcome{};
            item.out.error = NotConnected(item.st.sql);
            item.state = Item::State::Done;
        }
    txOpen_ = aborted_ = false;
}

void Engine::Cancel() {
    std::lock_guard lock(cancelMutex_);
    if (cancel_)
        cancel_.Cancel();
}

void Engine::OnNotice(void* self, const pg_result* notice) {
    auto field = [notice](int code) {
        const char* value = PQresultErrorField(notice, code);
        return std::string(value ? value : "");
    };
    static_cast<Engine*>(self)->inbox_.push_back({field(PG_DIAG_SEVERITY), field(PG_DIAG_SQLSTATE),
                                                  field(PG_DIAG_MESSAGE_PRIMARY),
                                                  Trimmed(PQresultErrorMessage(notice))});
}

void Engine::TakeNotices(Item* item) {
    for (Notice& notice : inbox_) {
        if (item)
            item->out.notices.push_back(std::move(notice));
        else if (orphanSink_)
            orphanSink_(notice);
    }
    inbox_.clear();
}

Engine::Item* Engine::Find(std::uint64_t seq) {
    if (items_.empty() || seq < items_.front().seq || seq - items_.front().seq >= items_.size())
        return nullptr;
    return &items_[seq - items_.front().seq];
}

void Engine::Continue() {
    if (lostWork_) {
        Error error = *lostWork_;
        lostWork_.reset();
        throw error;
    }
    if (resumeOnNextCall_) {
        resumeOnNextCall_ = false;
        blocked_ = false;
    }
}

void Engine::Send(Statement statement) {
    Continue();
    Item item;
    item.seq = nextSeq_++;
    item.cls = ClassifyStatement(statement.sql);
    item.st = std::move(statement);
    if (!conn_) {
        item.out.error = NotConnected(item.st.sql);
        item.state = Item::State::Done;
    }
    items_.push_back(std::move(item));
    Pump();
}

void Engine::Pump() {
    if (!conn_ || blocked_ || aborted_)
        return;
    for (Item& item : items_) {
        if (item.state != Item::State::Queued)
            continue;
        if (IsBarrier(item.cls))
            break;
        SendItem(item);
        if (!conn_)
            return;
    }
    if (sentSinceFlush_ >= kFlushBatch)
        Flush();
}

void Engine::SendItem(Item& item) {
    if (!txOpen_) {
        QueueText("BEGIN", Step::Begin, item.seq);
        txOpen_ = true;
    }
    QueueText(kSavepoint, Step::Savepoint, item.seq);
    QueueUser(item, Step::User);
    // A user's SAVEPOINT must outlive ours, and RELEASE / ROLLBACK TO of an earlier
    // savepoint removes ours: those are not followed by a release.
    if (item.cls == StatementClass::Plain)
        QueueText(kRelease, Step::Release, item.seq);
    if (conn_) {
        item.state = Item::State::Sent;
        ++sentSinceFlush_;
    }
}

void Engine::QueueText(const char* sql, Step step, std::uint64_t seq) {
    if (!conn_)
        return;
    if (PQsendQueryParams(conn_.get(), sql, 0, nullptr, nullptr, nullptr, nullptr, 0) != 1)
        return ConnectionLost(Trimmed(PQerrorMessage(conn_.get())));
    expects_.push_back({step, seq});
    outputPending_ = unsynced_ = true;
}

void Engine::QueueUser(const Item& item, Step step) {
    if (!conn_)
        return;
    if (debug_)
        debug_(item.st.sql);
    const auto& params = item.st.params;
    std::vector<Oid> types;
    std::vector<const char*> values;
    std::vector<int> lengths, formats;
    for (const Parameter& p : params) {
        types.push_back(p.typeOid);
        values.push_back(p.value ? p.value->data() : nullptr);
        lengths.push_back(p.value ? static_cast<int>(p.value->size()) : 0);
        formats.push_back(p.binary ? 1 : 0);
    }
    if (PQsendQueryParams(conn_.get(), item.st.sql.c_str(), static_cast<int>(params.size()),
                          types.data(), values.data(), lengths.data(), formats.data(), 0) != 1)
        return ConnectionLost(Trimmed(PQerrorMessage(conn_.get())));
    expects_.push_back({step, item.seq});
    outputPending_ = unsynced_ = true;
}

void Engine::QueueSync(std::uint64_t seq) {
    if (!conn_)
        return;
    if (PQpipelineSync(conn_.get()) != 1)
        return ConnectionLost(Trimmed(PQerrorMessage(conn_.get())));
    expects_.push_back({Step::Sync, seq});
    outputPending_ = true;
    unsynced_ = false;
}

void Engine::Flush() {
    if (!conn_ || !outputPending_)
        return;
    if (PQsendFlushRequest(conn_.get()) != 1 || PQflush(conn_.get()) != 0)
        return ConnectionLost(Trimmed(PQerrorMessage(conn_.get())));
    outputPending_ = false;
    sentSinceFlush_ = 0;
}

Outcome Engine::Receive() {
    Continue();
    InternalCheck(!items_.empty(), "nothing was sent to receive");
    for (;;) {
        Item& front = items_.front();
        if (front.state == Item::State::Done)
            break;
        if (front.state == Item::State::Queued && !aborted_) {
            if (IsBarrier(front.cls)) {
                ExecuteBarrier(front);
            } else {
                Pump();
                InternalCheck(front.state != Item::State::Queued, "statement held back");
            }
            continue;
        }
        Flush();
        ProcessOne();
    }
    Outcome out = std::move(items_.front().out);
    items_.pop_front();
    if (out.error)
        resumeOnNextCall_ = true;
    Pump(); // statements held behind a barrier that has now run
    if (items_.empty() && unsynced_ && !aborted_) {
        // Caught up: let the server report the session idle in its transaction. The
        // acknowledgement is read with the next reply.
        QueueSync(0);
        Flush();
    }
    return out;
}

void Engine::Abandon() {
    items_.clear();
    blocked_ = resumeOnNextCall_ = false;
    Flush();
    while (conn_ && !expects_.empty())
        ProcessOne();
}

void Engine::ExecuteBarrier(Item& item) {
    Flush();
    while (conn_ && !expects_.empty())
        ProcessOne();
    if (item.state == Item::State::Done)
        return;
    const auto tagOnly = [&](const char* tag) {
        item.out.result = Result::Tag(tag);
        Finish(item);
    };
    switch (item.cls) {
    case StatementClass::Unsupported:
        item.out.error =
            Error(UnsupportedMessage(item.st.sql), "0A000", ErrorKind::Other, item.st.sql);
        Finish(item);
        return;
    case StatementClass::Commit:
    case StatementClass::Rollback: {
        const char* sql = item.cls == StatementClass::Commit ? "COMMIT" : "ROLLBACK";
        if (!txOpen_)
            return tagOnly(sql);
        if (debug_)
            debug_(sql);
        QueueText(sql, Step::Control, item.seq);
        txOpen_ = false;
        break;
    }
    case StatementClass::Begin:
        if (txOpen_)
            return tagOnly("BEGIN");
        QueueUser(item, Step::Control); // the user's own BEGIN, with its options
        txOpen_ = true;
        break;
    default: // refused inside a transaction block
        if (txOpen_) {
            QueueText("COMMIT", Step::PreCommit, item.seq);
            txOpen_ = false;
        }
        QueueUser(item, Step::Control);
        break;
    }
    QueueSync(item.seq);
    Flush();
    while (conn_ && !expects_.empty())
        ProcessOne();
    if (item.cls == StatementClass::Begin && item.out.error)
        txOpen_ = false;
    if (item.state != Item::State::Done) // skipped after a failed commit
        Finish(item);
}

void Engine::ProcessOne() {
    InternalCheck(!expects_.empty(), "no reply is due");
    const Expect e = expects_.front();
    expects_.pop_front();
    PGresult* raw = PQgetResult(conn_.get());
    Item* item = Find(e.seq);
    if (!raw)
        return ConnectionLost(Trimmed(PQerrorMessage(conn_.get())));
    Result result(raw);
    TakeNotices(item);
    const ExecStatusType status = PQresultStatus(raw);
    const char* severity = PQresultErrorField(raw, PG_DIAG_SEVERITY_NONLOCALIZED);
    const bool fatal = severity && (std::string_view(severity) == "FATAL" ||
                                    std::string_view(severity) == "PANIC");
    if (PQstatus(conn_.get()) == CONNECTION_BAD || fatal) {
        // The server ends the session (terminated, shut down, crashed).
        const char* state = PQresultErrorField(raw, PG_DIAG_SQLSTATE);
        return ConnectionLost(Trimmed(PQresultErrorMessage(raw)), state ? state : "08006");
    }
    if (e.step == Step::Sync) {
        if (status != PGRES_PIPELINE_SYNC)
            return ConnectionLost("unexpected reply from the server");
        aborted_ = false;
        return;
    }
    if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH)
        return ConnectionLost("COPY from or to the client is not supported");
    // Each statement's results end with a null.
    if (PGresult* extra = PQgetResult(conn_.get())) {
        PQclear(extra);
        return ConnectionLost("unexpected reply from the server");
    }
    switch (status) {
    case PGRES_PIPELINE_ABORTED:
        // Skipped after an earlier failure: sent again when the caller goes on.
        if (item && item->state == Item::State::Sent) {
            item->state = Item::State::Queued;
            item->out = Outcome{};
        }
        if (e.step == Step::Begin)
            txOpen_ = false;
        return;
    case PGRES_COMMAND_OK:
    case PGRES_TUPLES_OK:
    case PGRES_EMPTY_QUERY:
        return Succeeded(e.step, item, std::move(result));
    default:
        return Failed(e.step, item, ResultError(raw, item ? item->st.sql : ""));
    }
}

void Engine::Succeeded(Step step, Item* item, Result result) {
    if (!item || item->state == Item::State::Done)
        return;
    if (step == Step::User || step == Step::Control) {
        item->out.result = std::move(result);
        if (step == Step::Control || item->cls != StatementClass::Plain)
            Finish(*item);
    } else if (step == Step::Release) {
        Finish(*item);
    }
}

void Engine::Failed(Step step, Item* item, const Error& error) {
    const bool pending = item && item->state != Item::State::Done;
    switch (step) {
    case Step::User:
    case Step::Release:
    case Step::Begin:
        if (pending) {
            item->out.error = error;
            Finish(*item);
        }
        return StartRecovery(item ? item->seq : 0, step != Step::Begin);
    case Step::Savepoint:
    case Step::RollbackTo:
    case Step::ReleaseAfterRollback: {
        // No savepoint to return to: the whole transaction is rolled back, and said so.
        Error lost(error.what() + std::string("\nthe open transaction was rolled back"),
                   error.SqlState(), error.Kind(), item ? item->st.sql : "", error.Primary());
        if (item) {
            item->out.error = std::move(lost);
            Finish(*item);
        } else {
            lostWork_ = std::move(lost);
        }
        return StartRecovery(item ? item->seq : 0, false);
    }
    case Step::FullRollback:
        return ConnectionLost(error.what());
    default: // commit, rollback, begin and statements run on their own sync by themselves
        if (pending) {
            item->out.error = error;
            Finish(*item);
        }
        return;
    }
}

void Engine::StartRecovery(std::uint64_t seq, bool toSavepoint) {
    if (!aborted_) {
        QueueSync(seq);
        aborted_ = true;
    }
    if (toSavepoint) {
        QueueText(kRollbackTo, Step::RollbackTo, seq);
        QueueText(kRelease, Step::ReleaseAfterRollback, seq);
    } else {
        QueueText("ROLLBACK", Step::FullRollback, seq);
        txOpen_ = false;
    }
    QueueSync(seq);
    Flush();
}

void Engine::Finish(Item& item) {
    item.state = Item::State::Done;
    if (item.out.error)
        blocked_ = true;
}

void Engine::ConnectionLost(const std::string& message, const std::string& sqlState) {
    const Error lost(message.empty() ? "the connection to the server was lost" : message, sqlState,
                     ErrorKind::NotReachable);
    TakeNotices(nullptr);
    for (Item& item : items_)
        if (item.state != Item::State::Done) {
            item.out = Outcome{};
            item.out.error = Error(lost.what(), lost.SqlState(), lost.Kind(), item.st.sql);
            item.state = Item::State::Done;
        }
    Close();
}

} // namespace pr::db
