#include "platform/fs/Guid.h"

#include "platform/core/Error.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/random.h>

namespace pr::fs {

std::string NewGuid() {
    std::uint8_t b[16];
    std::size_t got = 0;
    while (got < sizeof b) {
        const ssize_t n = ::getrandom(b + got, sizeof b - got, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw Error(std::string("Cannot create a GUID: ") + std::strerror(errno));
        got += static_cast<std::size_t>(n);
    }
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40); // version 4
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80); // RFC 4122 variant
    static const char kHex[] = "0123456789ABCDEF";
    std::string text = "{";
    for (std::size_t i = 0; i < sizeof b; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(kHex[b[i] >> 4]);
        text.push_back(kHex[b[i] & 0x0F]);
    }
    text.push_back('}');
    return text;
}

} // namespace pr::fs
