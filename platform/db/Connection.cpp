#include "platform/db/Connection.h"

#include <libpq-fe.h>

#include <utility>

namespace pr::db {

Connection::~Connection() {
    reset();
}

Connection::Connection(Connection&& other) noexcept : conn_(std::exchange(other.conn_, nullptr)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        reset();
        conn_ = std::exchange(other.conn_, nullptr);
    }
    return *this;
}

void Connection::reset() noexcept {
    if (conn_)
        PQfinish(std::exchange(conn_, nullptr));
}

CancelHandle::~CancelHandle() {
    reset();
}

CancelHandle::CancelHandle(CancelHandle&& other) noexcept
    : cancel_(std::exchange(other.cancel_, nullptr)) {}

CancelHandle& CancelHandle::operator=(CancelHandle&& other) noexcept {
    if (this != &other) {
        reset();
        cancel_ = std::exchange(other.cancel_, nullptr);
    }
    return *this;
}

void CancelHandle::reset() noexcept {
    if (cancel_)
        PQfreeCancel(std::exchange(cancel_, nullptr));
}

bool CancelHandle::Cancel() const {
    char error[256];
    return cancel_ && PQcancel(cancel_, error, sizeof error) == 1;
}

} // namespace pr::db
