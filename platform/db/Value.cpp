#include "platform/db/Value.h"

#include "platform/core/Error.h"

#include <charconv>
#include <cmath>

namespace pr::db {
namespace {

template <typename T> T Parse(const std::string& text) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end)
        throw pr::Error("\"" + text + "\" is not a number");
    return value;
}

} // namespace

std::int64_t Value::AsInt() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_))
        return *i;
    if (const auto* d = std::get_if<double>(&v_))
        return static_cast<std::int64_t>(std::llround(*d));
    if (const auto* s = std::get_if<std::string>(&v_))
        return Parse<std::int64_t>(*s);
    return 0;
}

double Value::AsDouble() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&v_))
        return *d;
    if (const auto* s = std::get_if<std::string>(&v_))
        return Parse<double>(*s);
    return 0;
}

std::string Value::AsText() const {
    if (const auto* i = std::get_if<std::int64_t>(&v_))
        return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v_)) {
        char buffer[32];
        const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, *d);
        return std::string(buffer, ptr);
    }
    if (const auto* s = std::get_if<std::string>(&v_))
        return *s;
    if (const auto* b = std::get_if<Bytes>(&v_))
        return std::string(b->begin(), b->end());
    return {};
}

Bytes Value::AsBytes() const {
    if (const auto* b = std::get_if<Bytes>(&v_))
        return *b;
    const std::string text = AsText();
    return Bytes(text.begin(), text.end());
}

} // namespace pr::db
