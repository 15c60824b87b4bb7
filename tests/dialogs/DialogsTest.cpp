#include "SharedCode6/Lib/uConsoleDialogs.h"
#include "SharedCode6/Lib/uDialogTestHook.h"
#include "SharedCode6/Lib/uDialogs.h"
#include "platform/core/InternalCheck.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace {

using B = TMsgDlgBtn;

// Captures standard error for the lifetime of the object.
class CapturedStderr {
  public:
    CapturedStderr() : old_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CapturedStderr() { std::cerr.rdbuf(old_); }
    std::string str() const { return text_.str(); }

  private:
    std::ostringstream text_;
    std::streambuf* old_;
};

TEST(ConsoleDialogs, WithoutDisplayTheDialogGoesToStandardError) {
    CapturedStderr err;
    EXPECT_EQ(TDialogs::MessageDialog("Операцію перервано. \r\nНемає файлу!", TMsgDlgType::Error,
                                      {B::OK}),
              1);
    EXPECT_EQ(err.str(), "Помилка: Операцію перервано. \nНемає файлу.\n  [ОК] -> ОК\n");
}

struct DefaultCase {
    std::vector<TMsgButtonInfo> buttons;
    int32_t answer;
    std::string line;
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.line;
}

class ConsoleDefaultAnswer : public testing::TestWithParam<DefaultCase> {};

TEST_P(ConsoleDefaultAnswer, IsTheEscapeTargetElseTheFirstButton) {
    std::ostringstream out;
    TConsoleDialogBackend console(out);
    const DefaultCase& c = GetParam();
    EXPECT_EQ(console.ShowMessage({TMsgDlgType::Confirmation, "Т", "Далі?", c.buttons}), c.answer);
    EXPECT_EQ(out.str(), "Т: Далі?\n " + c.line + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ConsoleDefaultAnswer,
    testing::Values(
        DefaultCase{MsgButtonsOf({B::Yes, B::No}), 7, " [Так] [Ні] -> Ні"},
        DefaultCase{MsgButtonsOf({B::OK, B::Cancel}), 2, " [ОК] [Відміна] -> Відміна"},
        DefaultCase{MsgButtonsOf({B::Yes}), 6, " [Так] -> Так"},
        DefaultCase{{kLeaveSaveButton, kLeaveExitButton}, 91, " [Зберегти] [Вихід] -> Зберегти"},
        DefaultCase{{}, 2, " -> Відмінити"}));

TEST(ConsoleDialogs, CredentialsAndSaveAreCancelledAndThePasswordIsNeverWritten) {
    std::ostringstream out;
    TConsoleDialogBackend console(out);
    std::string login = "krt_owner", password = "s3cret-pass";
    EXPECT_FALSE(console.AskCredentials(login, password));
    EXPECT_EQ(login, "krt_owner");
    EXPECT_EQ(password, "s3cret-pass");
    std::string path = "unchanged";
    EXPECT_FALSE(
        console.AskSaveFile({"Збереження файлу помилку", "/opt/patch", "patch.pdt.out"}, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(out.str(), "Зміна параметрів підключення: Користувач: krt_owner\n  -> Відмінити\n"
                         "Збереження файлу помилку: /opt/patch patch.pdt.out\n  -> Відмінити\n");
}

TEST(DialogTestHook, AnswersInAdvanceAndRecordsEveryDialog) {
    TDialogTestHook hook;
    hook.AnswerResult(6).AnswerCredentials("user2", "pw2").AnswerSavePath("/tmp/out.zip");

    EXPECT_EQ(TDialogs::MessageDialog("Залишити останню встановлену версію?",
                                      TMsgDlgType::Confirmation, {B::Yes, B::No}),
              6);
    std::string login = "user1", password = "pw1";
    EXPECT_TRUE(TDialogs::AskCredentials(login, password));
    EXPECT_EQ(login, "user2");
    EXPECT_EQ(password, "pw2");
    std::string path;
    EXPECT_TRUE(TDialogs::AskSaveFile("Збереження файлу помилку", "/opt", "patch.pdt.out", path));
    EXPECT_EQ(path, "/tmp/out.zip");
    TDialogs::ShowWait("Збереження архівної копії...");
    TDialogs::SetWaitText("Збереження файлу помилки...");
    TDialogs::HideWait();
    EXPECT_EQ(hook.PendingAnswers(), 0u);

    const auto& shown = hook.Shown();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[0].What, TShownDialog::Message);
    EXPECT_EQ(shown[0].Type, TMsgDlgType::Confirmation);
    EXPECT_EQ(shown[0].Title, "Підтвердження");
    EXPECT_EQ(shown[0].Text, "Залишити останню встановлену версію?");
    EXPECT_EQ(shown[0].Buttons, MsgButtonsOf({B::Yes, B::No}));
    EXPECT_EQ(shown[0].Answer, 6);
    EXPECT_EQ(shown[1].What, TShownDialog::Credentials);
    EXPECT_EQ(shown[1].Title, "Зміна параметрів підключення");
    EXPECT_EQ(shown[1].Text, "user1");
    EXPECT_EQ(shown[2].What, TShownDialog::SaveFile);
    EXPECT_EQ(shown[2].Title, "Збереження файлу помилку");
    EXPECT_EQ(shown[2].Folder, "/opt");
    EXPECT_EQ(shown[2].FileName, "patch.pdt.out");
    EXPECT_EQ(shown[3].What, TShownDialog::WaitShow);
    EXPECT_EQ(shown[3].Text, "Збереження архівної копії...");
    EXPECT_EQ(shown[4].What, TShownDialog::WaitText);
    EXPECT_EQ(shown[4].Text, "Збереження файлу помилки...");
    EXPECT_EQ(shown[5].What, TShownDialog::WaitHide);
    for (const TShownDialog& d : shown)
        EXPECT_EQ(d.Text.find("pw"), std::string::npos);
}

TEST(DialogTestHook, CancelAndUnansweredDialogs) {
    TDialogTestHook hook;
    hook.AnswerCancel().AnswerCancel().AnswerCancel();
    EXPECT_EQ(TDialogs::MessageDialog("Текст", TMsgDlgType::Warning, {B::OK, B::Cancel}), 2);
    std::string login = "a", password = "b", path = "p";
    EXPECT_FALSE(TDialogs::AskCredentials(login, password));
    EXPECT_EQ(login + password, "ab");
    EXPECT_FALSE(TDialogs::AskSaveFile("T", "/", "f", path));
    EXPECT_EQ(path, "p");
    // Nothing queued any more: the default answer, as on the console.
    EXPECT_EQ(TDialogs::MessageDialog("Текст", TMsgDlgType::Confirmation, {B::Yes, B::No}), 7);
    EXPECT_FALSE(TDialogs::AskCredentials(login, password));
    EXPECT_EQ(hook.Shown().size(), 5u);
}

TEST(DialogTestHook, AnswerForAnotherKindOfDialogIsAMistake) {
    TDialogTestHook hook;
    hook.AnswerSavePath("/tmp/x");
    try {
        TDialogs::MessageDialog("Текст", TMsgDlgType::Error, {B::OK});
        FAIL() << "no error";
    } catch (const pr::EInternalCheck& e) {
        EXPECT_NE(std::string(e.what()).find("a message dialog was answered with a save path"),
                  std::string::npos);
    }
    EXPECT_EQ(hook.PendingAnswers(), 1u);
}

TEST(DialogTestHook, NestedHookGivesTheBackendBack) {
    TDialogTestHook outer;
    {
        TDialogTestHook inner;
        inner.AnswerResult(1);
        TDialogs::MessageDialog("Вкладений", TMsgDlgType::Error, {B::OK});
        EXPECT_EQ(inner.Shown().size(), 1u);
    }
    TDialogs::MessageDialog("Зовнішній", TMsgDlgType::Error, {B::OK});
    ASSERT_EQ(outer.Shown().size(), 1u);
    EXPECT_EQ(outer.Shown()[0].Text, "Зовнішній");
}

TEST(DialogTestHook, CustomRecordsAndTitleKeepTheirOrder) {
    TDialogTestHook hook;
    hook.AnswerResult(kLeaveExitResult);
    const std::string text = "Увага!\r\nПри модифікації виникли помилки.";
    EXPECT_EQ(TDialogs::MessageDialogButtons(text, TMsgDlgType::Confirmation,
                                             {kLeaveSaveButton, kLeaveExitButton}, "Вихід"),
              92);
    EXPECT_EQ(hook.Shown()[0].Title, "Вихід");
    EXPECT_EQ(hook.Shown()[0].Text, text);
    EXPECT_EQ(hook.Shown()[0].Buttons,
              (std::vector<TMsgButtonInfo>{kLeaveSaveButton, kLeaveExitButton}));
}

} // namespace
