#include "platform/text/Case.h"

#include "platform/text/Utf8.h"

namespace pr::text {

namespace {

// Ranges where upper and lower letters alternate: even (or odd) code point upper.
struct PairedRange {
    char32_t first;
    char32_t last;
};

constexpr PairedRange kPairedRanges[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177},
    {0x0179, 0x017E}, {0x0460, 0x0481}, {0x048A, 0x04BF},
};

// In a paired range the upper letter is the one with the range's first parity.
bool InPairedRange(char32_t c, char32_t& upper) {
    for (const auto& range : kPairedRanges) {
        if (c >= range.first && c <= range.last) {
            upper = ((c - range.first) % 2 == 0) ? c : c - 1;
            return true;
        }
    }
    return false;
}

char32_t ToUpper(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    char32_t upper;
    if (InPairedRange(c, upper))
        return upper;
    return c;
}

char32_t ToLower(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    char32_t upper;
    if (InPairedRange(c, upper) && upper == c)
        return c + 1;
    return c;
}

template <class Map> std::string MapLetters(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        char32_t c;
        if (NextCodePoint(text, pos, c))
            AppendUtf8(out, map(c));
        else
            out.push_back(text[start]);
    }
    return out;
}

} // namespace

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 0x20);
    return out;
}

std::string Upper(std::string_view text) {
    return MapLetters(text, ToUpper);
}

std::string Lower(std::string_view text) {
    return MapLetters(text, ToLower);
}

bool SameText(std::string_view a, std::string_view b) {
    return Upper(a) == Upper(b);
}

} // namespace pr::text
