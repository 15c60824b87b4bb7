#include "tests/db/DbTest.h"

#include "platform/db/Pipeline.h"

#include <string>
#include <vector>

using pr::db::Outcome;
using pr::db::Pipeline;

namespace {

// Each statement draws from a sequence, which no rollback gives back: its last value counts
// how often statements were executed, including failed ones.
class PipelineTest : public DbTest {
  protected:
    void SetUp() override {
        DbTest::SetUp();
        session.Execute("create sequence runs");
        session.Execute("create table log (i int primary key check (i >= 0), run bigint)");
        session.Commit();
    }

    static std::string Insert(int i) {
        return "insert into log values (" + std::to_string(i) + ", nextval('runs'))";
    }
    // Draws from the sequence, then breaks the check constraint.
    static std::string Failing() { return "insert into log values (-1, nextval('runs'))"; }

    std::string Runs() { return *db.Admin().Scalar("select last_value from runs"); }
};

class PipelineWindow : public PipelineTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(PipelineWindow, EveryStatementRunsOnceInOrderAndFailuresAreRolledBack) {
    const int total = 600;
    std::vector<std::string> sql;
    for (int i = 0; i < total; ++i)
        sql.push_back(i % 7 == 3 || i % 50 == 49 ? Failing() : Insert(i));
    sql[0] = Failing(); // fails first, in the same batch as the transaction's BEGIN

    Pipeline pipeline(session, GetParam());
    std::vector<Outcome> outcomes;
    for (const auto& s : sql) {
        while (pipeline.Full())
            outcomes.push_back(pipeline.Receive());
        pipeline.Send(s);
    }
    while (pipeline.InFlight() > 0)
        outcomes.push_back(pipeline.Receive());

    ASSERT_EQ(sql.size(), outcomes.size());
    int good = 0;
    for (int i = 0; i < total; ++i) {
        const bool fails = sql[i] == Failing();
        ASSERT_EQ(fails, outcomes[i].Failed()) << i;
        if (fails) {
            EXPECT_EQ("23514", outcomes[i].error->SqlState());
            EXPECT_EQ(Failing(), outcomes[i].error->Statement());
        } else {
            EXPECT_EQ("INSERT 0 1", outcomes[i].result.CommandTag());
            ++good;
        }
    }
    session.Commit();
    EXPECT_EQ(std::to_string(good), Count("log"));
    EXPECT_EQ(std::to_string(total), Runs());
    // Statements ran in the order they were sent.
    EXPECT_EQ("0", *db.Admin().Scalar("select count(*) from (select run < lag(run) over "
                                      "(order by i) as back from log) x where back"));
}

INSTANTIATE_TEST_SUITE_P(Windows, PipelineWindow, ::testing::Values(1, 5, 256));

TEST_F(PipelineTest, NothingAfterAReceivedFailureRunsWhenTheCallerStops) {
    {
        Pipeline pipeline(session, 64);
        for (int i = 0; i < 10; ++i)
            pipeline.Send(Insert(i));
        pipeline.Send(Failing());
        for (int i = 10; i < 20; ++i)
            pipeline.Send(Insert(i));
        pipeline.Send("commit");
        for (int i = 20; i < 30; ++i)
            pipeline.Send(Insert(i));
        for (int i = 0; i < 10; ++i)
            EXPECT_FALSE(pipeline.Receive().Failed());
        EXPECT_TRUE(pipeline.Receive().Failed());
        EXPECT_EQ(21u, pipeline.InFlight());
    }                             // the caller stops here
    EXPECT_EQ("0", Count("log")); // the commit after the failure did not run
    EXPECT_EQ("11", Runs());
    session.Commit();
    EXPECT_EQ("10", Count("log"));
}

TEST_F(PipelineTest, TransactionStatementsAndStatementsRunOnTheirOwnKeepTheirPlace) {
    const std::vector<std::string> sql = {Insert(1),  Failing(), "vacuum log",
                                          Insert(2),  "commit",  Insert(3),
                                          "rollback", Insert(4), "select i from log order by i",
                                          Failing(),  Insert(5)};
    Pipeline pipeline(session);
    for (const auto& s : sql)
        pipeline.Send(s);
    std::vector<std::string> tags;
    std::vector<Outcome> outcomes;
    while (pipeline.InFlight() > 0) {
        outcomes.push_back(pipeline.Receive());
        tags.push_back(outcomes.back().Failed() ? "error" : outcomes.back().result.CommandTag());
    }
    EXPECT_EQ((std::vector<std::string>{"INSERT 0 1", "error", "VACUUM", "INSERT 0 1", "COMMIT",
                                        "INSERT 0 1", "ROLLBACK", "INSERT 0 1", "SELECT 3", "error",
                                        "INSERT 0 1"}),
              tags);
    const auto& rows = outcomes[8].result;
    EXPECT_EQ("1", rows.Text(0, 0));
    EXPECT_EQ("4", rows.Text(2, 0));
    session.Rollback();
    EXPECT_EQ("1,2", *db.Admin().Scalar("select string_agg(i::text, ',' order by i) from log"));
    EXPECT_EQ("7", Runs());
}

TEST_F(PipelineTest, EachOutcomeCarriesTheNoticesOfItsStatement) {
    Pipeline pipeline(session);
    pipeline.Send("do $$ begin raise notice 'a1'; raise notice 'a2'; end $$");
    pipeline.Send("select 1");
    pipeline.Send("do $$ begin raise notice 'c1'; raise exception 'c fails'; end $$");
    pipeline.Send("do $$ begin raise warning 'd1'; end $$");
    std::vector<std::string> seen;
    while (pipeline.InFlight() > 0) {
        std::string line;
        for (const auto& n : pipeline.Receive().notices)
            line += n.message + ";";
        seen.push_back(line);
    }
    EXPECT_EQ((std::vector<std::string>{"a1;a2;", "", "c1;", "d1;"}), seen);
}

} // namespace
