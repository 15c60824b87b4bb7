#include "tests/db/DbTest.h"

#include "platform/db/Query.h"

#include <ostream>

using pr::db::Bytes;
using pr::db::Query;
using pr::db::Value;
using pr::db::VariableType;

namespace pr::db {
void PrintTo(const Value& v, std::ostream* os) {
    *os << (v.IsNull()     ? "null"
            : v.IsInt()    ? "int "
            : v.IsDouble() ? "double "
            : v.IsText()   ? "text "
                           : "bytes ")
        << (v.IsBytes() ? std::to_string(v.AsBytes().size()) : v.AsText());
}
} // namespace pr::db

namespace {

struct TranslateCase {
    const char* sql;
    const char* expected;
    friend void PrintTo(const TranslateCase& c, std::ostream* os) { *os << c.sql; }
};

class Translate : public ::testing::TestWithParam<TranslateCase> {};

TEST_P(Translate, DeclaredVariablesBecomeNumberedParameters) {
    pr::db::Session session;
    Query q(session);
    q.DeclareVariable(":a", VariableType::String);
    q.DeclareVariable("B", VariableType::Integer);
    q.DeclareVariable("sub", VariableType::Substitution);
    q.SetVariable("SUB", Value("count(*)"));
    q.SetSQL(GetParam().sql);
    EXPECT_EQ(GetParam().expected, q.TranslatedSQL());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Translate,
    ::testing::Values(
        TranslateCase{"select :a, :b", "select $1, $2"},
        TranslateCase{"select :b, :A, :B, :a", "select $1, $2, $1, $2"},
        TranslateCase{"select ':a', \":a\", x::int, :a", "select ':a', \":a\", x::int, $1"},
        TranslateCase{"select $$:a$$, $t$ :a $t$ -- :a\n, :a",
                      "select $$:a$$, $t$ :a $t$ -- :a\n, $1"},
        TranslateCase{"select :sub from t where x = :b", "select count(*) from t where x = $1"},
        TranslateCase{"select :undeclared, :a", "select :undeclared, $1"},
        TranslateCase{"do $$ begin x := :a; end $$", "do $$ begin x := :a; end $$"}));

class QueryTest : public DbTest {};

TEST_F(QueryTest, BindsValuesAndAnswersTypedFieldsByName) {
    Query q(session);
    q.SetSQL("select :i + 1 as n, :f * 2 as d, upper(:s) as s, to_char(:dt::date, 'yyyy-mm-dd') "
             "as dt, :missing::text as z, 2.5::numeric as num, 7::numeric as whole, true as yes");
    q.DeclareVariable("i", VariableType::Integer);
    q.DeclareVariable("f", VariableType::Float);
    q.DeclareVariable("s", VariableType::String);
    q.DeclareVariable("dt", VariableType::Date);
    q.DeclareVariable("missing", VariableType::String);
    q.SetVariable("i", Value(41));
    q.SetVariable("f", Value(1.25));
    q.SetVariable("s", Value("ключ"));
    q.SetVariable("dt", Value("2024-01-31"));
    q.Execute();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(Value(42), q.Field("N"));
    EXPECT_EQ(Value(2.5), q.Field("d"));
    EXPECT_EQ(Value("КЛЮЧ"), q.Field("S"));
    EXPECT_EQ(Value("2024-01-31"), q.Field("dt"));
    EXPECT_TRUE(q.Field("z").IsNull());
    EXPECT_EQ(Value(2.5), q.Field("num"));
    EXPECT_EQ(Value(7), q.Field("whole"));
    EXPECT_EQ(Value(1), q.Field("yes"));
    EXPECT_THROW(q.Field("nope"), pr::db::Error);
    q.Next();
    EXPECT_TRUE(q.Eof());
}

TEST_F(QueryTest, RowsAffectedAndCommandTag) {
    session.Execute("insert into dict_setting values ('A', '1'), ('b', '2'), ('c', '3')");
    Query q(session);
    q.SetSQL("update dict_setting set setting_value = :v where upper(setting_id) <> upper(:id)");
    q.DeclareVariable("v", VariableType::String);
    q.DeclareVariable("id", VariableType::String);
    q.SetVariable("v", Value("x"));
    q.SetVariable("id", Value("a"));
    q.Execute();
    EXPECT_EQ(2, q.RowsAffected());
    EXPECT_EQ("UPDATE 2", q.CommandTag());

    q.SetSQL("select setting_id from dict_setting where setting_value = :v order by 1");
    q.Execute();
    std::vector<std::string> ids;
    for (; !q.Eof(); q.Next())
        ids.push_back(q.Field(0).AsText());
    EXPECT_EQ((std::vector<std::string>{"b", "c"}), ids);
}

TEST_F(QueryTest, BinaryLobRoundTripsByteForByte) {
    session.Execute("create table blobs (id int, data bytea)");
    Bytes bytes;
    for (int round = 0; round < 300; ++round)
        for (int b = 0; b < 256; ++b)
            bytes.push_back(static_cast<std::uint8_t>(b ^ round));
    Query insert(session);
    insert.SetSQL("insert into blobs values (1, :data)");
    insert.DeclareVariable("data", VariableType::BinaryLob);
    insert.SetVariable("data", Value(bytes));
    insert.Execute();

    Query select(session);
    select.SetSQL("select data, length(data) as len from blobs where id = 1");
    select.Execute();
    EXPECT_EQ(Value(static_cast<std::int64_t>(bytes.size())), select.Field("len"));
    EXPECT_EQ(bytes, select.Field("data").AsBytes());
    session.Commit();
    EXPECT_EQ(std::to_string(bytes.size()), *db.Admin().Scalar("select length(data) from blobs"));
}

} // namespace
