#include "platform/core/Error.h"
#include "platform/text/Case.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Format.h"
#include "platform/text/Strings.h"
#include "platform/text/Utf8.h"

#include <gtest/gtest.h>

namespace {

using namespace pr::text;

struct CodePageCase {
    std::string utf8;
    std::string cp1251;
};

void PrintTo(const CodePageCase& c, std::ostream* os) {
    *os << '"' << c.utf8 << '"';
}

class CodePageTest : public testing::TestWithParam<CodePageCase> {};

TEST_P(CodePageTest, ConvertsBothWays) {
    EXPECT_EQ(ToCp1251(GetParam().utf8), GetParam().cp1251);
    EXPECT_EQ(Cp1251ToUtf8(GetParam().cp1251), GetParam().utf8);
    EXPECT_EQ(DecodeInput(GetParam().cp1251), GetParam().utf8);
    EXPECT_EQ(DecodeInput(GetParam().utf8), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodePageTest,
    testing::Values(CodePageCase{"plain ASCII 123", "plain ASCII 123"},
                    CodePageCase{"Привіт", "\xCF\xF0\xE8\xE2\xB3\xF2"},
                    CodePageCase{"ЄІЇҐ єіїґ", "\xAA\xB2\xAF\xA5 \xBA\xB3\xBF\xB4"},
                    CodePageCase{"Ёё №", "\xA8\xB8 \xB9"}, CodePageCase{"", ""}));

TEST(CodePage, CharactersOutside1251BecomeQuestionMarks) {
    EXPECT_EQ(ToCp1251("a日本b"), "a??b");
    EXPECT_EQ(ToCp1251("a\xFF"
                       "b\xD0"),
              "a?b?");
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD");
}

TEST(Utf8, RecognisesWellFormedText) {
    const std::pair<std::string, bool> cases[] = {{"ascii", true},
                                                  {"Ґанок", true},
                                                  {"\xF0\x9F\x98\x80", true},
                                                  {"\xD0", false},
                                                  {"\xC0\xAF", false},
                                                  {"\xED\xA0\x80", false},
                                                  {"\xF4\x90\x80\x80", false},
                                                  {"\xCF\xF0\xE8", false},
                                                  {"a\x80", false}};
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

TEST(Utf8, LeftCharsCountsCharactersNotBytes) {
    EXPECT_EQ(LeftChars("Їжак", 2), "Їж");
    EXPECT_EQ(LeftChars("ab", 5), "ab");
    EXPECT_EQ(LeftChars("abc", 0), "");
}

struct CaseCase {
    std::string lower;
    std::string upper;
};

void PrintTo(const CaseCase& c, std::ostream* os) {
    *os << '"' << c.lower << '"';
}

class LetterCaseTest : public testing::TestWithParam<CaseCase> {};

TEST_P(LetterCaseTest, MapsLettersBothWays) {
    EXPECT_EQ(Upper(GetParam().lower), GetParam().upper);
    EXPECT_EQ(Lower(GetParam().upper), GetParam().lower);
    EXPECT_TRUE(SameText(GetParam().lower, GetParam().upper));
}

INSTANTIATE_TEST_SUITE_P(Letters, LetterCaseTest,
                         testing::Values(CaseCase{"form 1-2", "FORM 1-2"}, CaseCase{"єіїґ", "ЄІЇҐ"},
                                         CaseCase{"привіт, світе", "ПРИВІТ, СВІТЕ"},
                                         CaseCase{"ёђў", "ЁЂЎ"}, CaseCase{"àéþÿ", "ÀÉÞŸ"},
                                         CaseCase{"ąęłż", "ĄĘŁŻ"},
                                         CaseCase{"\xFF"
                                                  "a",
                                                  "\xFF"
                                                  "A"}));

TEST(LetterCase, UpperAsciiKeepsOtherLetters) {
    EXPECT_EQ(UpperAscii("tez.exe -command і"), "TEZ.EXE -COMMAND і");
    EXPECT_FALSE(SameText("Form", "Forms"));
}

TEST(Strings, TrimDropsBlanksAndControlCharacters) {
    const std::string text = " \t\x01 a b\r\n";
    EXPECT_EQ(Trim(text), "a b");
    EXPECT_EQ(TrimLeft(text), "a b\r\n");
    EXPECT_EQ(TrimRight(text), " \t\x01 a b");
    EXPECT_EQ(Trim(" \n "), "");
    EXPECT_EQ(Trim("Ї "), "Ї");
}

TEST(Strings, ReplaceAllReplacesEveryOccurrenceOnce) {
    EXPECT_EQ(ReplaceAll("a#13#10b#13#10", "#13#10", "\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("%X%%X%", "%X%", "%X%%X%"), "%X%%X%%X%%X%");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(Format, FillsTextAndIntegerArguments) {
    EXPECT_EQ(Format("%s -%s [-Params]", {"tez.exe", std::string("COMMAND")}),
              "tez.exe -COMMAND [-Params]");
    EXPECT_EQ(Format("%s (%s, line %d)", {"Single using only", "unit", 42}),
              "Single using only (unit, line 42)");
    EXPECT_EQ(Format("100%% of %d", {-7}), "100% of -7");
    EXPECT_EQ(Format("%s>> %s", {"12:00:00", ""}), "12:00:00>> ");
    EXPECT_EQ(Format("no directives", {"unused"}), "no directives");
}

void ExpectRejected(const std::string& pattern, std::initializer_list<FormatArg> args) {
    try {
        Format(pattern, args);
        ADD_FAILURE() << pattern;
    } catch (const pr::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Format '" + pattern + "' invalid or incompatible with argument");
    }
}

TEST(Format, RejectsBadPatternsAndArguments) {
    ExpectRejected("%s and %s", {"one"});
    ExpectRejected("%d", {"text"});
    ExpectRejected("%x", {1});
    ExpectRejected("trailing %", {});
}

} // namespace
