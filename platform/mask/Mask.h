#pragma once
#include "platform/core/Error.h"

#include <string>
#include <string_view>
#include <vector>

namespace pr::mask {

// A pattern that cannot be read.
class Error : public pr::Error {
  public:
    using pr::Error::Error;
};

// A wildcard pattern matched against a whole text: "*" any run of characters, "?" any one
// character, "[...]" one character of a set with ranges such as "0-9" and a leading "!" for
// "none of these". Letters (Latin and Cyrillic) match ignoring case; texts are UTF-8.
// "[0-99]" is the set {0..9, 9}, one character.
class Mask {
  public:
    explicit Mask(std::string_view pattern);

    bool Matches(std::string_view text) const;

  private:
    struct Range {
        char32_t from, to;
    };
    struct Token {
        enum Kind { Literal, AnyOne, AnyRun, Set } kind = Literal;
        char32_t literal = 0;
        bool negated = false;
        std::vector<Range> ranges;
    };

    static bool MatchesOne(const Token& token, char32_t c);

    std::vector<Token> tokens_;
};

} // namespace pr::mask
