#pragma once
#include "platform/db/Error.h"
#include "platform/db/Notice.h"
#include "platform/db/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pg_result;

namespace pr::db {

// Owns one result of the client library: rows with named, typed fields and the command tag.
// Values arrive as the server's text; integer, floating point, numeric, boolean (1/0) and
// bytea columns are typed, everything else (dates included) is text.
class Result {
  public:
    Result() = default;
    explicit Result(pg_result* result) : result_(result) {}
    // A result without rows that carries only a command tag.
    static Result Tag(std::string tag);
    ~Result();
    Result(Result&& other) noexcept;
    Result& operator=(Result&& other) noexcept;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;

    pg_result* get() const { return result_; }
    explicit operator bool() const { return result_ != nullptr || !tag_.empty(); }

    int Rows() const;
    int Columns() const;
    std::string ColumnName(int column) const;
    // Index of a column by name ignoring letter case, -1 when there is none.
    int ColumnIndex(std::string_view name) const;
    bool IsNull(int row, int column) const;
    std::string_view Text(int row, int column) const;
    Value Get(int row, int column) const;

    // "INSERT 0 3", "SELECT 2", "CREATE TABLE", ...
    std::string CommandTag() const;
    // Rows inserted, updated, deleted, selected, ...; -1 for commands that report none.
    std::int64_t RowsAffected() const;

  private:
    pg_result* result_ = nullptr;
    std::string tag_;
};

// What one statement gave: its result, or its failure; and the server's notices raised
// while it ran, in order.
struct Outcome {
    Result result;
    std::optional<Error> error;
    std::vector<Notice> notices;

    bool Failed() const { return error.has_value(); }
};

} // namespace pr::db
