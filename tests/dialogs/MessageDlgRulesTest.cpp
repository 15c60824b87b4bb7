#include "SharedCode6/Lib/libMessageDlg.h"

#include <gtest/gtest.h>

namespace {

using B = TMsgDlgBtn;

TEST(MessageDlgRules, StandardButtonTable) {
    const std::vector<TMsgButtonInfo> expected{
        {0, "Т&ак", 70, 6},           {1, "Н&і", 83, 7},          {2, "О&К", 82, 1},
        {3, "Від&міна", 86, 2},       {4, "П&рипинити", 72, 3},   {5, "П&овторити", 74, 4},
        {6, "Про&пустити", 71, 5},    {7, "В&сі", 67, 8},         {8, "Ні &для всіх", 76, 9},
        {9, "Так для &всіх", 68, 10}, {10, "Де&тальніше", 78, 1}, {11, "За&крити", 82, 7},
        {12, "Допомо&га", 85, 0}};
    const auto& table = StandardMsgButtons();
    EXPECT_EQ(std::vector<TMsgButtonInfo>(table.begin(), table.end()), expected);
    EXPECT_EQ(kLeaveSaveButton.Caption, "&Зберегти");
    EXPECT_EQ(kLeaveSaveButton.HotKey, 80);
    EXPECT_EQ(kLeaveSaveButton.Result, 91);
    EXPECT_EQ(kLeaveExitButton.Caption, "&Вихід");
    EXPECT_EQ(kLeaveExitButton.HotKey, 68);
    EXPECT_EQ(kLeaveExitButton.Result, 92);
}

TEST(MessageDlgRules, ButtonSetIsShownInBitOrder) {
    const auto buttons = MsgButtonsOf({B::Cancel, B::Yes, B::No});
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].Caption, "Т&ак");
    EXPECT_EQ(buttons[1].Caption, "Н&і");
    EXPECT_EQ(buttons[2].Caption, "Від&міна");
    EXPECT_TRUE(MsgButtonsOf({}).empty());
}

TEST(MessageDlgRules, Titles) {
    SetApplicationTitle("Оновлення 1.0.0.5");
    EXPECT_EQ(MsgDlgTitle(TMsgDlgType::Warning, ""), "Увага");
    EXPECT_EQ(MsgDlgTitle(TMsgDlgType::Error, ""), "Помилка");
    EXPECT_EQ(MsgDlgTitle(TMsgDlgType::Information, ""), "Інформація");
    EXPECT_EQ(MsgDlgTitle(TMsgDlgType::Confirmation, ""), "Підтвердження");
    EXPECT_EQ(MsgDlgTitle(TMsgDlgType::Custom, ""), "Оновлення 1.0.0.5");
    EXPECT_EQ(MsgDlgTitle(TMsgDlgType::Error, "Власний"), "Власний");
    SetApplicationTitle("");
}

struct TextCase {
    std::string given;
    std::string shown;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.given);
}

class MessageText : public testing::TestWithParam<TextCase> {};

TEST_P(MessageText, EndsInOneMark) {
    EXPECT_EQ(MsgDlgText(GetParam().given), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, MessageText,
    testing::Values(TextCase{"Модифікація успішно виконана", "Модифікація успішно виконана."},
                    TextCase{"Помилка збереження!", "Помилка збереження."},
                    TextCase{"Залишити версію?!", "Залишити версію?"},
                    TextCase{"Готово . .  ", "Готово."}, TextCase{"Так? . !", "Так?"},
                    TextCase{"Рядок\r\nдругий", "Рядок\r\nдругий."},
                    TextCase{"Пробіл \r\n", "Пробіл \r\n."}, TextCase{"", "."},
                    TextCase{"?", "?"}));

struct EscapeCase {
    const char* name;
    std::vector<TMsgButtonInfo> buttons;
    int target;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class EscapeTarget : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeTarget, Chosen) {
    EXPECT_EQ(MsgDlgEscapeTarget(GetParam().buttons), GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, EscapeTarget,
    testing::Values(EscapeCase{"OnlyOk", MsgButtonsOf({B::OK}), 0},
                    EscapeCase{"YesNo", MsgButtonsOf({B::Yes, B::No}), 1},
                    EscapeCase{"CancelBeforeNo", MsgButtonsOf({B::Yes, B::No, B::Cancel}), 2},
                    EscapeCase{"LastAnsweringSeven", MsgButtonsOf({B::No, B::Close}), 1},
                    EscapeCase{"OkWithAnother", MsgButtonsOf({B::OK, B::Details}), -1},
                    EscapeCase{"OnlyYes", MsgButtonsOf({B::Yes}), -1},
                    EscapeCase{"LeaveReminder", {kLeaveSaveButton, kLeaveExitButton}, -1},
                    EscapeCase{"None", {}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct KeyCase {
    const char* name;
    TMsgDlgType type;
    std::vector<TMsgButtonInfo> buttons;
    uint16_t key;
    TMsgShiftState shift;
    TMsgKeyAction action;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class KeyAction : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyAction, Decided) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(MsgDlgKeyAction(c.type, c.buttons, c.key, c.shift), c.action);
}

const TMsgShiftState kNone{};
const TMsgShiftState kCtrl{false, true, false};
const TMsgShiftState kAlt{false, false, true};
const TMsgShiftState kCtrlShift{true, true, false};
const auto kYesNo = MsgButtonsOf({B::Yes, B::No});
const std::vector<TMsgButtonInfo> kLeave{kLeaveSaveButton, kLeaveExitButton};
constexpr auto kConfirm = TMsgDlgType::Confirmation;
constexpr auto kCustom = TMsgDlgType::Custom;

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyAction,
    testing::Values(
        KeyCase{"EscapePressesNo", kConfirm, kYesNo, 27, kNone, {TMsgKeyAction::Press, 1}},
        KeyCase{"EscapeClosesCustom", kCustom, kLeave, 27, kNone, {TMsgKeyAction::Close}},
        KeyCase{"EscapeClosesSingleButton",
                kConfirm,
                MsgButtonsOf({B::Yes}),
                27,
                kNone,
                {TMsgKeyAction::Close}},
        KeyCase{"EscapeIgnoredWithoutTarget", kConfirm, kLeave, 27, kNone, {}},
        KeyCase{"HotKeyPresses", kConfirm, kYesNo, 70, kNone, {TMsgKeyAction::Press, 0}},
        KeyCase{"HotKeyWithAlt", kConfirm, kYesNo, 83, kAlt, {TMsgKeyAction::Press, 1}},
        KeyCase{"HotKeyIgnoredWithCtrl", kConfirm, kYesNo, 70, kCtrl, {}},
        KeyCase{"OwnRecordHotKey", kConfirm, kLeave, 68, kNone, {TMsgKeyAction::Press, 1}},
        KeyCase{"FirstOfSharedHotKey",
                kConfirm,
                MsgButtonsOf({B::OK, B::Close}),
                82,
                kNone,
                {TMsgKeyAction::Press, 0}},
        KeyCase{"CtrlCCopies", kConfirm, MsgButtonsOf({B::All}), 67, kCtrl, {TMsgKeyAction::Copy}},
        KeyCase{"PlainCIsHotKey",
                kConfirm,
                MsgButtonsOf({B::All}),
                67,
                kNone,
                {TMsgKeyAction::Press, 0}},
        KeyCase{"CtrlInsertCopies", kConfirm, kYesNo, 45, kCtrl, {TMsgKeyAction::Copy}},
        KeyCase{"CtrlShiftCIgnored", kConfirm, kYesNo, 67, kCtrlShift, {}},
        KeyCase{"OtherKeyIgnored", kConfirm, kYesNo, 81, kNone, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageDlgRules, LayoutWideTextCentresButtons) {
    const TMsgDlgLayout l = MsgDlgLayout(TMsgDlgType::Error, 100, 13, 1);
    EXPECT_EQ(l.ClientWidth, 100 + 38 + 32);
    EXPECT_EQ(l.ClientHeight, 13 + 78);
    EXPECT_EQ(l.ButtonTop, l.ClientHeight - 36);
    EXPECT_TRUE(l.HasPicture);
    EXPECT_EQ(l.ButtonLefts, std::vector<int>{(170 - 75) / 2});
}

TEST(MessageDlgRules, LayoutNarrowTextTakesButtonRow) {
    const TMsgDlgLayout l = MsgDlgLayout(TMsgDlgType::Confirmation, 20, 26, 2);
    EXPECT_EQ(l.ClientWidth, 83 * 2 + 16);
    EXPECT_EQ(l.ClientHeight, 26 + 78);
    EXPECT_EQ(l.ButtonLefts, (std::vector<int>{12, 95}));
}

TEST(MessageDlgRules, LayoutCustomHasNoPicture) {
    const TMsgDlgLayout custom = MsgDlgLayout(TMsgDlgType::Custom, 200, 13, 1);
    const TMsgDlgLayout warning = MsgDlgLayout(TMsgDlgType::Warning, 200, 13, 1);
    EXPECT_FALSE(custom.HasPicture);
    EXPECT_EQ(custom.ClientWidth, 200 + 38);
    EXPECT_EQ(custom.TextLeft, custom.PictureLeft);
    EXPECT_GT(warning.TextLeft, warning.PictureLeft + TMsgDlgLayout::kPictureSize);
}

TEST(MessageDlgRules, HotKeyMarks) {
    EXPECT_EQ(StripHotKeyMark("Так для &всіх"), "Так для всіх");
    EXPECT_EQ(StripHotKeyMark("A && B"), "A & B");
    EXPECT_EQ(HotKeyLetter("Т&ак"), "а");
    EXPECT_EQ(HotKeyLetter("A && &B"), "B");
    EXPECT_EQ(HotKeyLetter("Вихід"), "");
}

} // namespace
