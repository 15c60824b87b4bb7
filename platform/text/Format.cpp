#include "platform/text/Format.h"

#include "platform/core/Error.h"

namespace pr::text {

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
    auto fail = [&pattern]() {
        throw Error("Format '" + std::string(pattern) + "' invalid or incompatible with argument");
    };
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out.push_back(pattern[i]);
            continue;
        }
        if (++i == pattern.size())
            fail();
        const char directive = pattern[i];
        if (directive == '%') {
            out.push_back('%');
            continue;
        }
        if ((directive != 's' && directive != 'd') || next == args.end())
            fail();
        if (directive == 'd' && !next->IsInteger())
            fail();
        out.append(next->Text());
        ++next;
    }
    return out;
}

} // namespace pr::text
