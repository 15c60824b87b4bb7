#include "platform/text/Strings.h"

namespace pr::text {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

std::size_t FirstKept(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return i;
}

std::size_t EndKept(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return end;
}

} // namespace

std::string Trim(std::string_view text) {
    return TrimLeft(TrimRight(text));
}

std::string TrimLeft(std::string_view text) {
    return std::string(text.substr(FirstKept(text)));
}

std::string TrimRight(std::string_view text) {
    return std::string(text.substr(0, EndKept(text)));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = text.find(from, pos)) != std::string_view::npos;
         pos = hit + from.size()) {
        out.append(text.substr(pos, hit - pos));
        out.append(to);
    }
    out.append(text.substr(pos));
    return out;
}

} // namespace pr::text
