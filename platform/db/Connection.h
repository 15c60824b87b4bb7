#pragma once
// Owners of the client library's connection and cancel objects (used by the session's engine).
struct pg_conn;
struct pg_cancel;

namespace pr::db {

class Connection {
  public:
    Connection() = default;
    explicit Connection(pg_conn* conn) : conn_(conn) {}
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    pg_conn* get() const { return conn_; }
    explicit operator bool() const { return conn_ != nullptr; }
    void reset() noexcept;

  private:
    pg_conn* conn_ = nullptr;
};

// Sends a cancel request for whatever the connection is running; usable from any thread.
class CancelHandle {
  public:
    CancelHandle() = default;
    explicit CancelHandle(pg_cancel* cancel) : cancel_(cancel) {}
    ~CancelHandle();
    CancelHandle(CancelHandle&& other) noexcept;
    CancelHandle& operator=(CancelHandle&& other) noexcept;
    CancelHandle(const CancelHandle&) = delete;
    CancelHandle& operator=(const CancelHandle&) = delete;

    explicit operator bool() const { return cancel_ != nullptr; }
    void reset() noexcept;
    // False when the request could not be sent.
    bool Cancel() const;

  private:
    pg_cancel* cancel_ = nullptr;
};

} // namespace pr::db
