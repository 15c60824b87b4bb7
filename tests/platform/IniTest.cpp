#include "platform/core/Error.h"
#include "platform/ini/IniFile.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

namespace {

using pr::ini::IniFile;

const std::string kLongValue(3000, 'x');

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

// One file exercising every reading rule; each case names a key in it.
std::string FileText() {
    return "orphan=before any section\r\n"
           "[Form]\r\n"
           "Plain=text\r\n"
           "  Spaced  =   two words  \r\n"
           "Single='quoted text'\r\n"
           "Double=\"double quoted\"\r\n"
           "Mixed='text\"\r\n"
           "Open='text\r\n"
           "Inner=a 'b' c\r\n"
           "Lone='\r\n"
           "EmptyQuotes=''\r\n"
           "Equals=a=b=c\r\n"
           "Empty=\r\n"
           "Twice=first\r\n"
           "twice=second\r\n"
           "Long=" +
           kLongValue +
           "\r\n"
           "QuotedLong='" +
           kLongValue +
           "'\r\n"
           "Cyrillic=" +
           Repeat("ї", 2100) +
           "\r\n"
           "no equals sign here\r\n"
           "=no key\r\n"
           "[Broken header\r\n"
           "AfterBroken=still Form\r\n"
           "; Comment=not a value\r\n"
           "[ Other ] trailing\r\n"
           "Plain=other section\r\n"
           "[FORM]\r\n"
           "Plain=second Form section\r\n"
           "OnlyHere=unseen\r\n";
}

struct ReadCase {
    std::string section;
    std::string key;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << '[' << c.section << "] " << c.key;
}

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsValueByTheProfileRules) {
    const IniFile ini = IniFile::Parse(FileText());
    EXPECT_EQ(ini.ReadString(GetParam().section, GetParam().key, "<default>"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    testing::Values(
        ReadCase{"Form", "Plain", "text"}, ReadCase{"fORM", "pLAIN", "text"},
        ReadCase{" Form ", " Plain ", "text"}, ReadCase{"Form", "Spaced", "two words"},
        ReadCase{"Form", "Single", "quoted text"}, ReadCase{"Form", "Double", "double quoted"},
        ReadCase{"Form", "Mixed", "'text\""}, ReadCase{"Form", "Open", "'text"},
        ReadCase{"Form", "Inner", "a 'b' c"}, ReadCase{"Form", "Lone", "'"},
        ReadCase{"Form", "EmptyQuotes", ""}, ReadCase{"Form", "Equals", "a=b=c"},
        ReadCase{"Form", "Empty", ""}, ReadCase{"Form", "Twice", "first"},
        ReadCase{"Form", "Long", std::string(2047, 'x')},
        ReadCase{"Form", "QuotedLong", std::string(2047, 'x')},
        ReadCase{"Form", "Cyrillic", Repeat("ї", 2047)},
        ReadCase{"Form", "AfterBroken", "still Form"}, ReadCase{"Form", "Comment", "<default>"},
        ReadCase{"Form", "no equals sign here", "<default>"}, ReadCase{"Form", "", "<default>"},
        ReadCase{"Form", "orphan", "<default>"}, ReadCase{"Form", "OnlyHere", "<default>"},
        ReadCase{"Form", "Missing", "<default>"}, ReadCase{"Other", "Plain", "other section"},
        ReadCase{"Missing", "Plain", "<default>"}));

TEST(IniFile, ReadRawKeepsQuotesAndLength) {
    const IniFile ini = IniFile::Parse(FileText());
    EXPECT_EQ(ini.ReadRaw("Form", "Single"), "'quoted text'");
    EXPECT_EQ(ini.ReadRaw("Form", "Long"), kLongValue);
    EXPECT_EQ(ini.ReadRaw("Form", "Missing"), std::nullopt);
    EXPECT_TRUE(ini.HasSection("other"));
    EXPECT_FALSE(ini.HasSection("Broken header"));
}

TEST(IniFile, ReadsCodePage1251AndUtf8WithBom) {
    const std::string utf8 = "[Form]\nFormCaption='Оновлення бази «ВЕРНАТ» — Ґ'\n";
    const std::string expected = "Оновлення бази «ВЕРНАТ» — Ґ";
    EXPECT_EQ(IniFile::Parse(pr::text::ToCp1251(utf8)).ReadString("Form", "FormCaption", {}),
              expected);
    EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF" + utf8).ReadString("Form", "FormCaption", {}),
              expected);
    EXPECT_EQ(IniFile::Parse(utf8).ReadString("form", "formcaption", {}), expected);
}

TEST(IniFile, LoadOfAMissingFileNamesIt) {
    try {
        IniFile::Load("/nonexistent/params.ini");
        FAIL();
    } catch (const pr::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open /nonexistent/params.ini: No such file or directory");
    }
}

struct IntegerCase {
    std::string value;
    std::int32_t expected;
};

void PrintTo(const IntegerCase& c, std::ostream* os) {
    *os << '"' << c.value << '"';
}

class IniIntegerTest : public testing::TestWithParam<IntegerCase> {};

constexpr std::int32_t kDefault = 99999;

TEST_P(IniIntegerTest, ReadsDecimalAndHexadecimal) {
    const IniFile ini = IniFile::Parse("[S]\nK=" + GetParam().value + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "K", kDefault), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    testing::Values(
        IntegerCase{"0", 0}, IntegerCase{"12", 12}, IntegerCase{"-5", -5}, IntegerCase{"+3", 3},
        IntegerCase{"  7  ", 7}, IntegerCase{"'7'", 7}, IntegerCase{"$1F", 31},
        IntegerCase{"0x1f", 31}, IntegerCase{"0X10", 16}, IntegerCase{"-$10", -16},
        IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"2147483647", 2147483647},
        IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"2147483648", kDefault},
        IntegerCase{"$100000000", kDefault}, IntegerCase{"12abc", kDefault},
        IntegerCase{"abc", kDefault}, IntegerCase{"1.5", kDefault}, IntegerCase{"$", kDefault},
        IntegerCase{"0x", kDefault}, IntegerCase{"", kDefault}, IntegerCase{"1 2", kDefault}));

TEST(IniFile, BooleanIsAnIntegerOtherThanZero) {
    const IniFile ini = IniFile::Parse("[Form]\nZero=0\nOne=1\nTwo=2\nHex=$0\nWord=True\n");
    const std::tuple<std::string, bool, bool> cases[] = {
        {"Zero", true, false},     {"One", false, true},   {"Two", false, true},
        {"Hex", true, false},      {"Word", false, false}, {"Word", true, true},
        {"Missing", false, false}, {"Missing", true, true}};
    for (const auto& [key, defaultValue, expected] : cases)
        EXPECT_EQ(ini.ReadBool("Form", key, defaultValue), expected) << key << defaultValue;
}

} // namespace
