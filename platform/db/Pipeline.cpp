#include "platform/db/Pipeline.h"

#include "platform/core/InternalCheck.h"
#include "platform/db/Engine.h"
#include "platform/db/Session.h"

namespace pr::db {

Pipeline::Pipeline(Session& session, std::size_t window)
    : engine_(*session.engine_), window_(window == 0 ? 1 : window) {
    InternalCheck(engine_.InFlight() == 0, "the session is busy with another pipeline");
}

Pipeline::~Pipeline() {
    try {
        Abandon();
    } catch (...) {
    }
}

void Pipeline::Send(std::string sql) {
    engine_.Send(Statement{std::move(sql), {}});
}

void Pipeline::Send(Statement statement) {
    engine_.Send(std::move(statement));
}

Outcome Pipeline::Receive() {
    return engine_.Receive();
}

std::size_t Pipeline::InFlight() const {
    return engine_.InFlight();
}

void Pipeline::Abandon() {
    engine_.Abandon();
}

} // namespace pr::db
