#include "SharedCode6/Lib/libProgressCaption.h"

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Drops the last UTF-8 character.
void PopCharacter(std::string& text) {
    size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.erase(end);
}

} // namespace

std::string FitCaption(const std::string& prefix, const std::string& text, int barWidth,
                       const TTextWidth& width) {
    std::string full = prefix.empty() ? text : prefix + ": " + text;
    const size_t length = full.size();
    while (!full.empty() && width(full + "...") > barWidth)
        PopCharacter(full);
    size_t first = 0;
    while (first < full.size() && IsBlank(full[first]))
        ++first;
    size_t last = full.size();
    while (last > first && IsBlank(full[last - 1]))
        --last;
    full = full.substr(first, last - first);
    if (full.size() != length)
        full += "...";
    return full;
}

std::string PercentCaption(int32_t position) {
    return std::to_string(position) + "%";
}

bool IsProgressStopped() {
    return false;
}
