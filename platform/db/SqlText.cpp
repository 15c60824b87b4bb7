#include "platform/db/SqlText.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace pr::db {
namespace {

bool IdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IdentChar(char c) {
    return IdentStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$';
}

struct Token {
    enum Kind { Word, QuotedName, Placeholder, Open, Close, Other } kind = Other;
    std::size_t begin = 0, end = 0;
};

// Splits SQL text into the tokens that matter here; literals, comments and dollar-quoted
// bodies come out as Other so that nothing inside them is taken for a keyword or variable.
class Scanner {
  public:
    explicit Scanner(std::string_view sql) : s_(sql) {}

    bool Next(Token& t) {
        SkipBlanksAndComments();
        if (i_ >= s_.size())
            return false;
        t.begin = i_;
        const char c = s_[i_];
        if (IdentStart(c)) {
            while (i_ < s_.size() && IdentChar(s_[i_]))
                ++i_;
            if (i_ - t.begin == 1 && (c == 'E' || c == 'e') && At(i_) == '\'') {
                SkipQuoted('\'', true);
                t.kind = Token::Other;
            } else {
                t.kind = Token::Word;
            }
        } else if (c == '\'') {
            SkipQuoted('\'', false);
            t.kind = Token::Other;
        } else if (c == '"') {
            SkipQuoted('"', false);
            t.kind = Token::QuotedName;
        } else if (c == '$') {
            SkipDollar();
            t.kind = Token::Other;
        } else if (c == ':' && At(i_ + 1) == ':') {
            i_ += 2;
            t.kind = Token::Other;
        } else if (c == ':' && IdentStart(At(i_ + 1))) {
            ++i_;
            while (i_ < s_.size() && IdentChar(s_[i_]))
                ++i_;
            t.kind = Token::Placeholder;
        } else {
            ++i_;
            t.kind = c == '(' ? Token::Open : c == ')' ? Token::Close : Token::Other;
        }
        t.end = i_;
        return true;
    }

  private:
    char At(std::size_t k) const { return k < s_.size() ? s_[k] : '\0'; }

    void SkipBlanksAndComments() {
        for (;;) {
            while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
                ++i_;
            if (At(i_) == '-' && At(i_ + 1) == '-') {
                while (i_ < s_.size() && s_[i_] != '\n')
                    ++i_;
            } else if (At(i_) == '/' && At(i_ + 1) == '*') {
                int depth = 0;
                while (i_ < s_.size()) {
                    if (At(i_) == '/' && At(i_ + 1) == '*') {
                        ++depth;
                        i_ += 2;
                    } else if (At(i_) == '*' && At(i_ + 1) == '/') {
                        i_ += 2;
                        if (--depth == 0)
                            break;
                    } else {
                        ++i_;
                    }
                }
            } else {
                return;
            }
        }
    }

    // From the opening quote at i_ to past the closing one; a doubled quote is one character.
    void SkipQuoted(char quote, bool backslashEscapes) {
        ++i_;
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (backslashEscapes && c == '\\')
                ++i_;
            else if (c == quote) {
                if (At(i_) != quote)
                    return;
                ++i_;
            }
        }
    }

    // $tag$ ... $tag$ (tag possibly empty); a "$" that starts no tag is a single character.
    void SkipDollar() {
        std::size_t k = i_ + 1;
        if (IdentStart(At(k)))
            while (k < s_.size() && IdentChar(s_[k]) && s_[k] != '$')
                ++k;
        if (At(k) != '$') {
            ++i_;
            return;
        }
        const std::string_view tag = s_.substr(i_, k + 1 - i_);
        const std::size_t close = s_.find(tag, k + 1);
        i_ = close == std::string_view::npos ? s_.size() : close + tag.size();
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

struct TopToken {
    Token::Kind kind;
    std::string upper; // words only
};

std::string Upper(std::string_view text) {
    std::string out(text);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool In(const std::string& word, std::initializer_list<const char*> set) {
    return std::any_of(set.begin(), set.end(), [&](const char* w) { return word == w; });
}

} // namespace

StatementClass ClassifyStatement(std::string_view sql) {
    std::vector<TopToken> top; // tokens outside parentheses
    std::vector<std::string> allWords;
    int depth = 0;
    Scanner scanner(sql);
    for (Token t; scanner.Next(t);) {
        if (t.kind == Token::Open) {
            ++depth;
            continue;
        }
        if (t.kind == Token::Close) {
            depth = std::max(0, depth - 1);
            continue;
        }
        std::string upper =
            t.kind == Token::Word ? Upper(sql.substr(t.begin, t.end - t.begin)) : "";
        if (t.kind == Token::Word)
            allWords.push_back(upper);
        if (depth == 0 && !(t.kind == Token::Other && sql[t.begin] == ';'))
            top.push_back({t.kind, std::move(upper)});
    }
    const auto w = [&](std::size_t i) { return i < top.size() ? top[i].upper : std::string(); };
    const std::string first = w(0);
    using C = StatementClass;

    if (first == "VACUUM")
        return C::OutsideTransaction;
    if (first == "CREATE" || first == "DROP") {
        const std::size_t i = first == "CREATE" && w(1) == "UNIQUE" ? 2 : 1;
        if ((w(i) == "INDEX" && w(i + 1) == "CONCURRENTLY") ||
            In(w(1), {"DATABASE", "TABLESPACE", "SUBSCRIPTION"}))
            return C::OutsideTransaction;
        return C::Plain;
    }
    if (first == "REINDEX") {
        const bool concurrently = std::any_of(
            top.begin(), top.end(), [](const TopToken& t) { return t.upper == "CONCURRENTLY"; });
        return concurrently || In(w(1), {"SCHEMA", "DATABASE", "SYSTEM"}) ? C::OutsideTransaction
                                                                          : C::Plain;
    }
    if (first == "CLUSTER") {
        // Without a table it reclusters every table, which is refused inside a block.
        const bool namesTable = std::any_of(top.begin() + 1, top.end(), [](const TopToken& t) {
            return t.kind == Token::QuotedName || (t.kind == Token::Word && t.upper != "VERBOSE");
        });
        return namesTable ? C::Plain : C::OutsideTransaction;
    }
    if (first == "ALTER") {
        if (w(1) == "SYSTEM" || (w(1) == "DATABASE" && w(3) == "SET" && w(4) == "TABLESPACE"))
            return C::OutsideTransaction;
        return C::Plain;
    }
    if (first == "DISCARD" && w(1) == "ALL")
        return C::OutsideTransaction;
    if (first == "COMMIT" || first == "END")
        return w(1) == "PREPARED" ? C::OutsideTransaction : C::Commit;
    if (first == "ROLLBACK" || first == "ABORT") {
        if (w(1) == "PREPARED")
            return C::OutsideTransaction;
        const bool to = w(1) == "TO" || (In(w(1), {"WORK", "TRANSACTION"}) && w(2) == "TO");
        return to ? C::SavepointCommand : C::Rollback;
    }
    if (first == "BEGIN" || (first == "START" && w(1) == "TRANSACTION"))
        return C::Begin;
    if (first == "SAVEPOINT" || first == "RELEASE")
        return C::SavepointCommand;
    if (first == "PREPARE" && w(1) == "TRANSACTION")
        return C::Unsupported;
    if (first == "COPY" && std::any_of(allWords.begin(), allWords.end(), [](const std::string& s) {
            return s == "STDIN" || s == "STDOUT";
        }))
        return C::Unsupported;
    return C::Plain;
}

std::string FirstKeyword(std::string_view sql) {
    Scanner scanner(sql);
    Token t;
    if (!scanner.Next(t) || t.kind != Token::Word)
        return {};
    return Upper(sql.substr(t.begin, t.end - t.begin));
}

std::vector<Placeholder> FindPlaceholders(std::string_view sql) {
    std::vector<Placeholder> found;
    Scanner scanner(sql);
    for (Token t; scanner.Next(t);)
        if (t.kind == Token::Placeholder)
            found.push_back({t.begin, t.end - t.begin,
                             std::string(sql.substr(t.begin + 1, t.end - t.begin - 1))});
    return found;
}

} // namespace pr::db
