#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace pr::db {

using Bytes = std::vector<std::uint8_t>;

// One field or variable value: null, integer, floating point, text (UTF-8) or bytes.
class Value {
  public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(std::int64_t{v}) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(Bytes v) : v_(std::move(v)) {}

    bool IsNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsInt() const { return std::holds_alternative<std::int64_t>(v_); }
    bool IsDouble() const { return std::holds_alternative<double>(v_); }
    bool IsText() const { return std::holds_alternative<std::string>(v_); }
    bool IsBytes() const { return std::holds_alternative<Bytes>(v_); }

    // Conversions: null gives 0 / empty; text is parsed as a number where one is asked for
    // (a text that is not a number throws pr::Error); numbers are written in C notation.
    std::int64_t AsInt() const;
    double AsDouble() const;
    std::string AsText() const;
    Bytes AsBytes() const;

    bool operator==(const Value&) const = default;

  private:
    std::variant<std::monostate, std::int64_t, double, std::string, Bytes> v_;
};

} // namespace pr::db
