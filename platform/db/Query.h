#pragma once
#include "platform/db/Result.h"
#include "platform/db/Value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pr::db {

class Session;

enum class VariableType {
    Integer,
    Float,
    String,
    Date, // text in the session's DateStyle (day-month-year after logon)
    TextLob,
    BinaryLob,    // bytea, sent as raw bytes
    Substitution, // the value's text replaces the variable before the statement is parsed
};

// A statement with ":name" variables on a session. Names ignore letter case and may appear
// more than once; declared names become $1, $2, ... in order of first appearance (not inside
// quotes, dollar quotes or comments), undeclared ":name" text is left as it stands. Integer,
// string and date values are sent as text whose type the server infers from the statement
// (so they fit any integer, text or date parameter); floats are double precision, text LOBs
// text, binary LOBs bytea. Execution takes one round trip and runs in a savepoint of its own.
class Query {
  public:
    explicit Query(Session& session) : session_(session) {}

    void SetSQL(std::string sql) { sql_ = std::move(sql); }
    const std::string& SQL() const { return sql_; }
    // Names with or without the leading colon. Declaring a name again changes its type.
    void DeclareVariable(std::string_view name, VariableType type);
    // Throws pr::Error for a name never declared.
    void SetVariable(std::string_view name, Value value);
    Value GetVariable(std::string_view name) const;
    void DeleteVariables() { variables_.clear(); }
    bool Debug() const { return debug_; }
    void SetDebug(bool debug) { debug_ = debug; }

    // The statement as sent: variables replaced by $n or by their substitution text.
    std::string TranslatedSQL() const;
    // Throws db::Error when the statement fails.
    void Execute();

    // Rows, read with a cursor that starts on the first row.
    bool Eof() const { return row_ >= result_.Rows(); }
    void Next() { ++row_; }
    void First() { row_ = 0; }
    int RowCount() const { return result_.Rows(); }
    int FieldCount() const { return result_.Columns(); }
    std::string FieldName(int index) const { return result_.ColumnName(index); }
    // -1 when there is no such field (letter case ignored).
    int FieldIndex(std::string_view name) const { return result_.ColumnIndex(name); }
    // Fields of the current row; an unknown name throws db::Error.
    Value Field(std::string_view name) const;
    Value Field(int index) const { return result_.Get(row_, index); }

    std::int64_t RowsAffected() const { return result_.RowsAffected(); }
    std::string CommandTag() const { return result_.CommandTag(); }
    const Result& GetResult() const { return result_; }

  private:
    struct Variable {
        std::string key; // lower case, no colon
        VariableType type;
        Value value;
    };
    std::size_t IndexOf(std::string_view name) const;
    const Variable* FindVariable(std::string_view name) const;
    Variable& Declared(std::string_view name);
    std::string Translate(std::vector<const Variable*>* bound) const;

    Session& session_;
    std::string sql_;
    std::vector<Variable> variables_;
    bool debug_ = false;
    Result result_;
    int row_ = 0;
};

} // namespace pr::db
