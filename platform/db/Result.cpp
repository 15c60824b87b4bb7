#include "platform/db/Result.h"

#include <libpq-fe.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <utility>

namespace pr::db {
namespace {

// Type identities of the built-in types whose values are typed.
constexpr Oid kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

Value Number(std::string_view text, bool integral) {
    if (integral) {
        std::int64_t value = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && ptr == text.data() + text.size())
            return Value(value);
    }
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end); // accepts NaN and Infinity too
    if (end && *end == '\0')
        return Value(value);
    return Value(copy);
}

} // namespace

Result Result::Tag(std::string tag) {
    Result result;
    result.tag_ = std::move(tag);
    return result;
}

Result::~Result() {
    if (result_)
        PQclear(result_);
}

Result::Result(Result&& other) noexcept
    : result_(std::exchange(other.result_, nullptr)), tag_(std::move(other.tag_)) {}

Result& Result::operator=(Result&& other) noexcept {
    if (this != &other) {
        if (result_)
            PQclear(result_);
        result_ = std::exchange(other.result_, nullptr);
        tag_ = std::move(other.tag_);
    }
    return *this;
}

int Result::Rows() const {
    return result_ ? PQntuples(result_) : 0;
}

int Result::Columns() const {
    return result_ ? PQnfields(result_) : 0;
}

std::string Result::ColumnName(int column) const {
    const char* name = result_ ? PQfname(result_, column) : nullptr;
    return name ? name : "";
}

int Result::ColumnIndex(std::string_view name) const {
    for (int c = 0; c < Columns(); ++c)
        if (EqualNoCase(PQfname(result_, c), name))
            return c;
    return -1;
}

bool Result::IsNull(int row, int column) const {
    return PQgetisnull(result_, row, column) != 0;
}

std::string_view Result::Text(int row, int column) const {
    return {PQgetvalue(result_, row, column),
            static_cast<std::size_t>(PQgetlength(result_, row, column))};
}

Value Result::Get(int row, int column) const {
    if (IsNull(row, column))
        return {};
    const std::string_view text = Text(row, column);
    switch (PQftype(result_, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid:
        return Number(text, true);
    case kNumeric:
        return Number(text, text.find_first_of(".eE") == std::string_view::npos);
    case kFloat4:
    case kFloat8:
        return Number(text, false);
    case kBool:
        return Value(text == "t" ? 1 : 0);
    case kBytea: {
        std::size_t length = 0;
        unsigned char* raw =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(text.data()), &length);
        if (!raw)
            return Value(std::string(text));
        Bytes bytes(raw, raw + length);
        PQfreemem(raw);
        return Value(std::move(bytes));
    }
    default:
        return Value(std::string(text));
    }
}

std::string Result::CommandTag() const {
    return result_ ? std::string(PQcmdStatus(result_)) : tag_;
}

std::int64_t Result::RowsAffected() const {
    const char* count = result_ ? PQcmdTuples(result_) : "";
    if (!*count)
        return -1;
    return std::strtoll(count, nullptr, 10);
}

} // namespace pr::db
