#include "platform/mask/Mask.h"

#include <cstddef>

namespace pr::mask {
namespace {

// Code points of UTF-8 text; a byte that does not begin a valid sequence stands for itself,
// moved out of the range of letters.
std::u32string Decode(std::string_view text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80           ? 1
                                   : (byte >> 5) == 0x6  ? 2
                                   : (byte >> 4) == 0xE  ? 3
                                   : (byte >> 3) == 0x1E ? 4
                                                         : 0;
        char32_t c = length == 1   ? byte
                     : length == 2 ? byte & 0x1F
                     : length == 3 ? byte & 0x0F
                                   : byte & 0x07;
        bool valid = length > 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid) {
            out.push_back(0xDC00 + byte);
            ++i;
            continue;
        }
        out.push_back(c);
        i += length;
    }
    return out;
}

// Lower case of Latin (ASCII and Latin-1) and Cyrillic capitals.
char32_t Fold(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) &&
        c % 2 == 0)
        return c + 1;
    return c;
}

} // namespace

Mask::Mask(std::string_view pattern) {
    const std::u32string p = Decode(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
        Token token;
        if (p[i] == U'*') {
            token.kind = Token::AnyRun;
        } else if (p[i] == U'?') {
            token.kind = Token::AnyOne;
        } else if (p[i] == U'[') {
            token.kind = Token::Set;
            std::size_t k = i + 1;
            if (k < p.size() && p[k] == U'!') {
                token.negated = true;
                ++k;
            }
            while (k < p.size() && p[k] != U']') {
                if (k + 2 < p.size() && p[k + 1] == U'-' && p[k + 2] != U']') {
                    token.ranges.push_back({Fold(p[k]), Fold(p[k + 2])});
                    k += 3;
                } else {
                    token.ranges.push_back({Fold(p[k]), Fold(p[k])});
                    ++k;
                }
            }
            if (k >= p.size())
                throw Error("The mask \"" + std::string(pattern) +
                            "\" has a \"[\" without its \"]\"");
            i = k;
        } else {
            token.literal = Fold(p[i]);
        }
        tokens_.push_back(std::move(token));
    }
}

bool Mask::MatchesOne(const Token& token, char32_t c) {
    switch (token.kind) {
    case Token::Literal:
        return token.literal == Fold(c);
    case Token::AnyOne:
        return true;
    case Token::Set: {
        const char32_t folded = Fold(c);
        bool inSet = false;
        for (const Range& range : token.ranges)
            inSet = inSet || (folded >= range.from && folded <= range.to);
        return inSet != token.negated;
    }
    case Token::AnyRun:
        break;
    }
    return false;
}

bool Mask::Matches(std::string_view text) const {
    const std::u32string t = Decode(text);
    const std::size_t n = tokens_.size();
    std::size_t at = 0, token = 0;
    // Where the last "*" was met, to let it take one more character when the rest fails.
    std::size_t starToken = n, starAt = 0;
    while (at < t.size()) {
        if (token < n && tokens_[token].kind == Token::AnyRun) {
            starToken = token++;
            starAt = at;
        } else if (token < n && MatchesOne(tokens_[token], t[at])) {
            ++token;
            ++at;
        } else if (starToken < n) {
            token = starToken + 1;
            at = ++starAt;
        } else {
            return false;
        }
    }
    while (token < n && tokens_[token].kind == Token::AnyRun)
        ++token;
    return token == n;
}

} // namespace pr::mask
