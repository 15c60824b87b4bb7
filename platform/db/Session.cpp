#include "platform/db/Session.h"

#include "platform/core/InternalCheck.h"
#include "platform/db/Engine.h"

#include <iostream>
#include <utility>

namespace pr::db {

Session::Session() : engine_(std::make_unique<Engine>()) {
    engine_->SetNoticeSink([this](const Notice& notice) {
        std::vector<Notice> one{notice};
        Deliver(one);
    });
}

Session::~Session() = default;

void Session::SetLogon(std::string userName, std::string password, std::string database) {
    userName_ = std::move(userName);
    password_ = std::move(password);
    database_ = std::move(database);
}

void Session::Connect() {
    if (engine_->IsOpen())
        return;
    // Later keywords override what a connection string in the database field says.
    std::vector<std::pair<std::string, std::string>> params = {
        {"fallback_application_name", "patchrunner"},
        {"client_encoding", "UTF8"},
        {"connect_timeout", "30"},
    };
    if (!database_.empty())
        params.emplace_back("dbname", database_);
    if (!userName_.empty())
        params.emplace_back("user", userName_);
    if (!password_.empty())
        params.emplace_back("password", password_);
    engine_->Open(params, password_);
    if (afterLogon_)
        afterLogon_(*this);
}

void Session::Disconnect() {
    engine_->Close();
}

bool Session::Connected() const {
    return engine_->IsOpen();
}

void Session::SetConnected(bool connected) {
    if (connected)
        Connect();
    else
        Disconnect();
}

void Session::Commit() {
    Execute("COMMIT");
}

void Session::Rollback() {
    Execute("ROLLBACK");
}

void Session::BreakExecution() {
    engine_->Cancel();
}

Result Session::Execute(std::string_view sql) {
    return Execute(Statement{std::string(sql), {}});
}

Result Session::Execute(Statement statement) {
    InternalCheck(engine_->InFlight() == 0, "the session is busy with a pipeline");
    engine_->Send(std::move(statement));
    Outcome out = engine_->Receive();
    Deliver(out.notices);
    if (out.error)
        throw *out.error;
    return std::move(out.result);
}

void Session::SetNoticeSink(NoticeSink sink) {
    noticeSink_ = std::move(sink);
}

std::vector<Notice> Session::TakeNotices() {
    return std::exchange(notices_, {});
}

void Session::Deliver(std::vector<Notice>& notices) {
    for (Notice& notice : notices) {
        if (noticeSink_)
            noticeSink_(notice);
        else
            notices_.push_back(std::move(notice));
    }
    notices.clear();
}

void Session::SetDebug(bool debug) {
    debug_ = debug;
    UpdateDebugHook();
}

void Session::SetDebugSink(DebugSink sink) {
    debugSink_ = std::move(sink);
    UpdateDebugHook();
}

void Session::UpdateDebugHook() {
    if (!debug_)
        return engine_->SetDebugHook({});
    engine_->SetDebugHook([this](const std::string& sql) {
        if (debugSink_)
            debugSink_(sql);
        else
            std::clog << sql << "\n";
    });
}

} // namespace pr::db
