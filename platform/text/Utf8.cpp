#include "platform/text/Utf8.h"

namespace pr::text {

namespace {

unsigned char Byte(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

// Length of a well-formed sequence starting at pos, 0 when malformed.
std::size_t SequenceLength(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const unsigned char lead = Byte(text, pos);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = Byte(text, pos + i);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    char32_t codePoint;
    while (pos < text.size())
        if (!NextCodePoint(text, pos, codePoint))
            return false;
    return true;
}

bool NextCodePoint(std::string_view text, std::size_t& pos, char32_t& codePoint) {
    const std::size_t length = SequenceLength(text, pos, codePoint);
    if (length == 0) {
        codePoint = Byte(text, pos);
        ++pos;
        return false;
    }
    pos += length;
    return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

std::string LeftChars(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    char32_t codePoint;
    for (std::size_t i = 0; i < count && pos < text.size(); ++i)
        NextCodePoint(text, pos, codePoint);
    return std::string(text.substr(0, pos));
}

} // namespace pr::text
