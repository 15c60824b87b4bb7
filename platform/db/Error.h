#pragma once
#include "platform/core/Error.h"

#include <string>
#include <string_view>

namespace pr::db {

enum class ErrorKind {
    Other,
    LogonRejected, // wrong user name or password, or no access (28P01, 28000)
    NotAvailable,  // the instance is starting up or shutting down (57P03)
    NotReachable,  // no server answers, or the connection was lost
};

// A failure reported by the server or by the client library. The message is the library's
// text ("ERROR:  ..." with its detail lines); it never contains the logon password.
class Error : public pr::Error {
  public:
    Error(const std::string& message, std::string sqlState, ErrorKind kind,
          std::string statement = {}, std::string primary = {});

    ErrorKind Kind() const { return kind_; }
    // Five-character SQLSTATE; for a failed logon one of the classes below, see
    // ClassifyConnectionFailure.
    const std::string& SqlState() const { return sqlState_; }
    // The statement that failed (empty for a logon).
    const std::string& Statement() const { return statement_; }
    // The server's one-line message without severity and detail lines.
    const std::string& Primary() const { return primary_; }

  private:
    std::string sqlState_;
    ErrorKind kind_;
    std::string statement_;
    std::string primary_;
};

// Kind of an SQLSTATE reported with a statement's failure.
ErrorKind KindOfSqlState(std::string_view sqlState);

// The library reports a failed connection as text only. It is classified from that text:
// the server's messages (English: our clusters run with lc_messages C) for a refused logon
// ("password authentication failed", "no pg_hba.conf entry", "role ... does not exist", ...)
// and for an instance that is starting up, shutting down or in recovery; a text that carries
// no message from the server ("FATAL:" / "ERROR:") means no server answered. passwordNeeded is
// the library's own flag for a server that asked for a password none was given for.
// Answers the kind and sets sqlState (28P01, 28000, 57P03, 3D000, 53300, 42501, 08001 when no
// server answered, 08004 for any other refusal).
ErrorKind ClassifyConnectionFailure(std::string_view text, bool passwordNeeded,
                                    std::string& sqlState);

} // namespace pr::db
