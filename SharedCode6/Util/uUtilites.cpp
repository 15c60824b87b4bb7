#include "SharedCode6/Util/uUtilites.h"

#include "platform/core/Error.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {

struct IconvClose {
    void operator()(void* cd) const noexcept { iconv_close(static_cast<iconv_t>(cd)); }
};

// The secret in code page 1251; the password was always formed from those codes.
std::string SecretBytes(const std::string& text) {
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return text;
    const iconv_t opened = iconv_open("CP1251", "UTF-8");
    if (opened == reinterpret_cast<iconv_t>(-1))
        throw pr::Error("Перетворення тексту в кодову сторінку 1251 недоступне");
    const std::unique_ptr<void, IconvClose> cd(opened);
    std::string in = text;
    std::string out(text.size(), '\0'); // never longer than its UTF-8 form
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    if (iconv(opened, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        throw pr::Error("Пароль пакета містить символи поза кодовою сторінкою 1251");
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::string MakeArchivePasswordPrefix(const std::string& PackagePassword) {
    const std::string codes = SecretBytes(PackagePassword);
    std::string prefix;
    for (std::size_t i = 0; i < codes.size(); i += 2) {
        const auto c = static_cast<unsigned char>(codes[i]);
        prefix.insert(prefix.begin(), static_cast<char>((c + 5) % 256));
        prefix.push_back(static_cast<char>((c + 256 - 5) % 256));
    }
    return prefix;
}

std::string MakeArchivePassword(const std::string& PackagePassword) {
    return MakeArchivePasswordPrefix(PackagePassword) + SecretBytes(PackagePassword);
}
