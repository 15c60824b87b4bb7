#include "platform/mask/Mask.h"

#include <gtest/gtest.h>

namespace {

struct MaskCase {
    const char* pattern;
    const char* text;
    bool matches;
};

std::ostream& operator<<(std::ostream& out, const MaskCase& c) {
    return out << "\"" << c.pattern << "\" ~ \"" << c.text << "\"";
}

class MaskMatch : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskMatch, MatchesTheWholeText) {
    EXPECT_EQ(pr::mask::Mask(GetParam().pattern).Matches(GetParam().text), GetParam().matches);
}

constexpr const char* kVersion = "[0-99].[0-99].[0-99].[0-99]";

INSTANTIATE_TEST_SUITE_P(
    Versions, MaskMatch,
    ::testing::Values(MaskCase{kVersion, "1.0.0.5", true}, MaskCase{kVersion, "9.9.9.0", true},
                      MaskCase{kVersion, "1.0.0.10", false}, MaskCase{kVersion, "1.0.5", false},
                      MaskCase{kVersion, "1.a.0.5", false}, MaskCase{kVersion, "", false},
                      MaskCase{"[0-99]", "99", false}, MaskCase{"[0-99]", "9", true}));

INSTANTIATE_TEST_SUITE_P(
    Wildcards, MaskMatch,
    ::testing::Values(MaskCase{"Upd*", "UPD1.0.0.3", true}, MaskCase{"Upd*", "xUpd1", false},
                      MaskCase{"upd1.0.0.?", "Upd1.0.0.7", true},
                      MaskCase{"upd1.0.0.?", "Upd1.0.0.17", false},
                      MaskCase{"*.sql", "040_views.SQL", true},
                      MaskCase{"*.sql", "a.sql.bak", false}, MaskCase{"a*b*c", "aXbYbZc", true},
                      MaskCase{"a*b*c", "abcb", false}, MaskCase{"*", "", true},
                      MaskCase{"**", "x", true}, MaskCase{"?", "", false}, MaskCase{"", "", true},
                      MaskCase{"", "a", false}));

INSTANTIATE_TEST_SUITE_P(
    Sets, MaskMatch,
    ::testing::Values(MaskCase{"[abc]", "B", true}, MaskCase{"[abc]", "d", false},
                      MaskCase{"[A-Z]x", "qX", true}, MaskCase{"[!0-9]*", "x1", true},
                      MaskCase{"[!0-9]*", "1x", false}, MaskCase{"[[]*", "[x", true},
                      MaskCase{"[a-]", "-", true}, MaskCase{"[a-]", "b", false}));

INSTANTIATE_TEST_SUITE_P(Cyrillic, MaskMatch,
                         ::testing::Values(MaskCase{"звіт*", "ЗВІТ_2024", true},
                                           MaskCase{"?", "Ж", true}, MaskCase{"??", "Ж", false},
                                           MaskCase{"[а-я]", "Ж", true},
                                           MaskCase{"[!а-я]", "Я", false},
                                           MaskCase{"Ґ?", "ґІ", true}, MaskCase{"Єї", "єЇ", true},
                                           MaskCase{"Ё", "е", false}));

TEST(Mask, UnclosedSetIsAnError) {
    for (const char* pattern : {"[0-9", "Upd[", "[!", "*[a-"}) {
        try {
            pr::mask::Mask mask(pattern);
            ADD_FAILURE() << pattern;
        } catch (const pr::mask::Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("The mask \"") + pattern + "\" has a \"[\" without its \"]\"");
        }
    }
}

} // namespace
