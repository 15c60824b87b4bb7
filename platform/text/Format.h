#pragma once
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace pr::text {

// One argument of Format: a text or an integer.
class FormatArg {
  public:
    FormatArg(const char* text) : text_(text), isInteger_(false) {}
    FormatArg(std::string_view text) : text_(text), isInteger_(false) {}
    FormatArg(const std::string& text) : text_(text), isInteger_(false) {}
    template <std::integral T>
    FormatArg(T value) : text_(std::to_string(value)), isInteger_(true) {}

    const std::string& Text() const { return text_; }
    bool IsInteger() const { return isInteger_; }

  private:
    std::string text_;
    bool isInteger_;
};

// Fills a message pattern: "%s" takes the next argument as text, "%d" the next integer
// argument, "%%" is a percent sign. A missing argument, "%d" given a text or any other
// directive raises pr::Error naming the pattern. Unused arguments are ignored.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);

} // namespace pr::text
