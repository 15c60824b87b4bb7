#include "SharedCode6/Util/uUtilites.h"

#include "platform/core/Error.h"

#include <gtest/gtest.h>

namespace {

struct PasswordCase {
    const char* label;
    std::string packagePassword; // UTF-8
    std::string prefix;          // code page 1251 bytes
};

std::ostream& operator<<(std::ostream& out, const PasswordCase& c) {
    return out << c.label;
}

class ArchivePassword : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(ArchivePassword, PrefixFromTheCharactersAtOddPositions) {
    const PasswordCase& c = GetParam();
    EXPECT_EQ(MakeArchivePasswordPrefix(c.packagePassword), c.prefix);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArchivePassword,
    ::testing::Values(
        PasswordCase{"Empty", "", ""}, PasswordCase{"OneCharacter", "A", "F<"},
        PasswordCase{"Even", "AB", "F<"}, PasswordCase{"OddTakesTheLast", "ABC", "HF<>"},
        PasswordCase{"EvenSkipsTheLast", "ABCD", "HF<>"}, PasswordCase{"Digits", "1Z3", "86,."},
        PasswordCase{"PlusWrapsTo0", "ы", std::string("\0\xF6", 2)},
        PasswordCase{"PlusWraps", "я", "\x04\xFA"}, PasswordCase{"MinusWraps", "\x03", "\x08\xFE"},
        // П р л of "Пароль" in code page 1251: CF, F0, EB.
        PasswordCase{"Cyrillic", "Пароль", "\xF0\xF5\xD4\xCA\xEB\xE6"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ArchivePassword, IsThePrefixFollowedByTheSecretInCodePage1251) {
    EXPECT_EQ(MakeArchivePassword("A"), "F<A");
    EXPECT_EQ(MakeArchivePassword("ABC"), "HF<>ABC");
    EXPECT_EQ(MakeArchivePassword("Пароль"), "\xF0\xF5\xD4\xCA\xEB\xE6\xCF\xE0\xF0\xEE\xEB\xFC");
    const std::string shipped = "Q7W2E9R4T6Y1U8I3O5P0A2S7D4F9G1";
    EXPECT_EQ(MakeArchivePassword(shipped).size(), 60u);
    EXPECT_EQ(MakeArchivePassword(shipped).substr(30), shipped);
}

TEST(ArchivePassword, SecretOutsideCodePage1251IsAnError) {
    EXPECT_THROW(MakeArchivePasswordPrefix("AB\xF0\x9F\x98\x80"), pr::Error);
    EXPECT_THROW(MakeArchivePassword("ß"), pr::Error);
}

} // namespace
