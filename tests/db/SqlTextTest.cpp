#include "platform/db/SqlText.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using pr::db::StatementClass;
using C = StatementClass;

struct ClassCase {
    const char* sql;
    StatementClass expected;
    friend void PrintTo(const ClassCase& c, std::ostream* os) { *os << c.sql; }
};

class Classify : public ::testing::TestWithParam<ClassCase> {};

TEST_P(Classify, ByLeadingKeywords) {
    EXPECT_EQ(GetParam().expected, pr::db::ClassifyStatement(GetParam().sql));
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Classify,
    ::testing::Values(
        ClassCase{"select 1", C::Plain}, ClassCase{"select 'vacuum'", C::Plain},
        ClassCase{"do $$ begin commit; end $$", C::Plain},
        ClassCase{"  -- note\n /* vacuum */ VACUUM analyze t", C::OutsideTransaction},
        ClassCase{"create index concurrently i on t (x)", C::OutsideTransaction},
        ClassCase{"CREATE UNIQUE INDEX CONCURRENTLY i on t (x)", C::OutsideTransaction},
        ClassCase{"create index i on t (x)", C::Plain},
        ClassCase{"drop index concurrently i", C::OutsideTransaction},
        ClassCase{"reindex table concurrently t", C::OutsideTransaction},
        ClassCase{"reindex (verbose) database d", C::OutsideTransaction},
        ClassCase{"reindex table t", C::Plain}, ClassCase{"cluster", C::OutsideTransaction},
        ClassCase{"cluster (verbose);", C::OutsideTransaction},
        ClassCase{"cluster t using i", C::Plain}, ClassCase{"cluster \"T\"", C::Plain},
        ClassCase{"create database d", C::OutsideTransaction},
        ClassCase{"drop tablespace ts", C::OutsideTransaction},
        ClassCase{"alter system set work_mem = '8MB'", C::OutsideTransaction},
        ClassCase{"alter database d set tablespace ts", C::OutsideTransaction},
        ClassCase{"alter database d set work_mem = '8MB'", C::Plain},
        ClassCase{"discard all", C::OutsideTransaction},
        ClassCase{"commit prepared 'x'", C::OutsideTransaction}, ClassCase{"COMMIT;", C::Commit},
        ClassCase{"end work", C::Commit}, ClassCase{"rollback", C::Rollback},
        ClassCase{"abort transaction", C::Rollback},
        ClassCase{"rollback to savepoint s", C::SavepointCommand},
        ClassCase{"rollback work to s", C::SavepointCommand},
        ClassCase{"savepoint s", C::SavepointCommand}, ClassCase{"release s", C::SavepointCommand},
        ClassCase{"begin", C::Begin}, ClassCase{"start transaction read only", C::Begin},
        ClassCase{"copy t from stdin", C::Unsupported},
        ClassCase{"copy (select 1) to stdout with csv", C::Unsupported},
        ClassCase{"copy t from '/tmp/stdin'", C::Plain},
        ClassCase{"prepare transaction 'x'", C::Unsupported}));

struct PlaceholderCase {
    const char* sql;
    std::vector<std::string> names;
    friend void PrintTo(const PlaceholderCase& c, std::ostream* os) { *os << c.sql; }
};

class Placeholders : public ::testing::TestWithParam<PlaceholderCase> {};

TEST_P(Placeholders, AreFoundOutsideLiteralsAndComments) {
    std::vector<std::string> names;
    for (const auto& p : pr::db::FindPlaceholders(GetParam().sql))
        names.push_back(p.name);
    EXPECT_EQ(GetParam().names, names);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Placeholders,
    ::testing::Values(PlaceholderCase{"select :a, :B from t where x = :a", {"a", "B", "a"}},
                      PlaceholderCase{"select ':a', \":b\", x::int, y := :c", {"c"}},
                      PlaceholderCase{"select 'it''s :a', :b", {"b"}},
                      PlaceholderCase{"select E'\\' :a', :b", {"b"}},
                      PlaceholderCase{"select $$ :a $$, $t$ :b $q$ $t$, $1, :c", {"c"}},
                      PlaceholderCase{"select 1 -- :a\n, /* :b /* :c */ :d */ :e", {"e"}},
                      PlaceholderCase{"select a[1:2], :x1_y$", {"x1_y$"}},
                      PlaceholderCase{"select ':unterminated", {}}));

} // namespace
