#include "platform/text/Cp1251.h"

#include "platform/core/Error.h"
#include "platform/text/Utf8.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace pr::text {

namespace {

// One iconv conversion descriptor.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw Error(std::string("Cannot convert from ") + from + " to " + to + ": " +
                        std::strerror(errno));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts the whole input; onBadInput is called at an input it cannot convert and
    // answers how many input bytes to skip, having appended a replacement itself.
    template <class OnBadInput> std::string Convert(std::string_view input, OnBadInput onBadInput) {
        std::string out;
        char buffer[4096];
        std::size_t pos = 0;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (pos < input.size()) {
            char* in = const_cast<char*>(input.data() + pos);
            std::size_t inLeft = input.size() - pos;
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            pos = input.size() - inLeft;
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (error == E2BIG)
                continue;
            pos += onBadInput(out, input, pos); // EILSEQ or EINVAL (truncated input)
        }
        return out;
    }

  private:
    iconv_t cd_;
};

} // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
    Converter converter("UTF-8", "CP1251");
    return converter.Convert(bytes, [](std::string& out, std::string_view, std::size_t) {
        AppendUtf8(out, 0xFFFD);
        return std::size_t{1};
    });
}

std::string ToCp1251(std::string_view utf8) {
    Converter converter("CP1251", "UTF-8");
    return converter.Convert(utf8, [](std::string& out, std::string_view input, std::size_t pos) {
        out.push_back('?');
        std::size_t next = pos;
        char32_t codePoint;
        NextCodePoint(input, next, codePoint);
        return next - pos;
    });
}

std::string DecodeInput(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp1251ToUtf8(bytes);
}

} // namespace pr::text
