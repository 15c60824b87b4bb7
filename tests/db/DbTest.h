#pragma once
#include "platform/db/Session.h"
#include "tests/support/PgDatabase.h"

#include <gtest/gtest.h>

// A fresh database and a session logged on to it as the application role.
class DbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.SetLogon(db.User(), db.Password());
        session.Connect();
    }

    std::string Count(const std::string& table) {
        return *db.Admin().Scalar("select count(*) from " + table);
    }

    testsupport::PgDatabase db;
    pr::db::Session session;
};
