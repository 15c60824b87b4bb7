#pragma once
#include "platform/db/Result.h"
#include "platform/db/Statement.h"

#include <cstddef>
#include <string>

namespace pr::db {

class Engine;
class Session;

// Runs many statements on a session without waiting for each: Send queues a statement,
// Receive answers the next outcome in order, one per statement sent, as if each had run
// alone in its own savepoint (a failure rolls back that statement only). Keep InFlight()
// under the window: receive while Full(). After Receive answers a failure nothing further
// runs until the next Send or Receive, so a caller may stop there (Abandon, or let the
// pipeline go) and nothing after the failure takes effect. One pipeline per session at a
// time; the session's own Execute waits until it is gone.
class Pipeline {
  public:
    explicit Pipeline(Session& session, std::size_t window = 256);
    ~Pipeline(); // abandons what was not received
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    void Send(std::string sql);
    void Send(Statement statement);
    Outcome Receive();
    std::size_t InFlight() const;
    bool Full() const { return InFlight() >= window_; }
    // Drops every statement not yet received. Statements not yet sent never run; after a
    // received failure that is all of them.
    void Abandon();

  private:
    Engine& engine_;
    std::size_t window_;
};

} // namespace pr::db
