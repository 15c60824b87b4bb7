#include "SharedCode6/Lib/gui/fMessageDlg.h"
#include "tests/gui/GuiTestSupport.h"

#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using B = TMsgDlgBtn;
using guitest::ModalDriver;
using guitest::OnModal;

TMsgDialogRequest Request(TMsgDlgType type, std::vector<TMsgButtonInfo> buttons,
                          const std::string& text = "Текст повідомлення") {
    return {type, MsgDlgTitle(type, ""), text, std::move(buttons)};
}

// Shows the dialog modally, lets the action work on it, answers the dialog's result.
int32_t RunDialog(const TMsgDialogRequest& request, std::function<void(TfrmMessageDlg&)> action) {
    guitest::App();
    TfrmMessageDlg dialog(request);
    ModalDriver driver(OnModal(action));
    const int32_t result = dialog.Execute();
    EXPECT_TRUE(driver.Done());
    return result;
}

// Key events reach the dialog through its focused button, as the user's keys do.
QWidget& KeyTarget(TfrmMessageDlg& dialog) {
    return dialog.ButtonCount() > 0 ? *dialog.Button(0) : static_cast<QWidget&>(dialog);
}

struct EscapeCase {
    const char* name;
    TMsgDlgType type;
    std::vector<TMsgButtonInfo> buttons;
    int32_t result;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class MessageDlgEscape : public testing::TestWithParam<EscapeCase> {};

TEST_P(MessageDlgEscape, ClosesWithTheTargetsAnswer) {
    const EscapeCase& c = GetParam();
    EXPECT_EQ(RunDialog(Request(c.type, c.buttons),
                        [](TfrmMessageDlg& d) { QTest::keyClick(&KeyTarget(d), Qt::Key_Escape); }),
              c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MessageDlgEscape,
    testing::Values(EscapeCase{"ErrorOkAnswersOne", TMsgDlgType::Error, MsgButtonsOf({B::OK}), 1},
                    EscapeCase{"YesNoAnswersNo", TMsgDlgType::Confirmation,
                               MsgButtonsOf({B::Yes, B::No}), 7},
                    EscapeCase{"OkCancelAnswersCancel", TMsgDlgType::Confirmation,
                               MsgButtonsOf({B::OK, B::Cancel}), 2},
                    EscapeCase{"CustomWithoutTargetCloses",
                               TMsgDlgType::Custom,
                               {kLeaveSaveButton, kLeaveExitButton},
                               2},
                    EscapeCase{"SingleYesCloses", TMsgDlgType::Warning, MsgButtonsOf({B::Yes}), 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageDlg, EscapeWithoutTargetKeepsTheDialogOpen) {
    bool openAfterEscape = false;
    const int32_t result =
        RunDialog(Request(TMsgDlgType::Confirmation, {kLeaveSaveButton, kLeaveExitButton}),
                  [&](TfrmMessageDlg& d) {
                      QTest::keyClick(&KeyTarget(d), Qt::Key_Escape);
                      openAfterEscape = d.isVisible();
                      QTest::mouseClick(d.Button(1), Qt::LeftButton);
                  });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(result, kLeaveExitResult);
}

TEST(MessageDlg, HotKeyPressesItsButtonUnlessCtrlIsHeld) {
    EXPECT_EQ(RunDialog(Request(TMsgDlgType::Confirmation, MsgButtonsOf({B::Yes, B::No})),
                        [](TfrmMessageDlg& d) { QTest::keyClick(&KeyTarget(d), Qt::Key_F); }),
              6);
    bool openAfterCtrlF = false;
    EXPECT_EQ(RunDialog(Request(TMsgDlgType::Confirmation, MsgButtonsOf({B::Yes, B::No})),
                        [&](TfrmMessageDlg& d) {
                            QTest::keyClick(&KeyTarget(d), Qt::Key_F, Qt::ControlModifier);
                            openAfterCtrlF = d.isVisible();
                            QTest::keyClick(&KeyTarget(d), Qt::Key_S);
                        }),
              7);
    EXPECT_TRUE(openAfterCtrlF);
}

TEST(MessageDlg, UkrainianLetterPressesItsButton) {
    // On the Ukrainian layout the F key types "а", the underlined letter of "Т&ак".
    EXPECT_EQ(RunDialog(Request(TMsgDlgType::Confirmation, MsgButtonsOf({B::Yes, B::No})),
                        [](TfrmMessageDlg& d) {
                            QTest::sendKeyEvent(QTest::Click, &KeyTarget(d), Qt::Key(0x0410),
                                                QStringLiteral("а"), Qt::NoModifier);
                        }),
              6);
}

TEST(MessageDlg, CtrlCAndCtrlInsertCopyTheText) {
    for (const Qt::Key key : {Qt::Key_C, Qt::Key_Insert}) {
        guitest::App().clipboard()->clear();
        QString copied;
        RunDialog(Request(TMsgDlgType::Error, MsgButtonsOf({B::OK, B::All}),
                          "Файл не знайдено!\r\nПеревірте шлях"),
                  [&](TfrmMessageDlg& d) {
                      QTest::keyClick(&KeyTarget(d), key, Qt::ControlModifier);
                      copied = QGuiApplication::clipboard()->text();
                      d.reject();
                  });
        EXPECT_EQ(copied.toStdString(), "Файл не знайдено!\nПеревірте шлях.");
    }
}

TEST(MessageDlg, ClosedWithoutAButtonAnswersTwo) {
    EXPECT_EQ(RunDialog(Request(TMsgDlgType::Information, MsgButtonsOf({B::Yes, B::No})),
                        [](TfrmMessageDlg& d) { d.close(); }),
              2);
}

TEST(MessageDlg, LaysOutPictureTextAndButtons) {
    guitest::App();
    TfrmMessageDlg dialog(Request(TMsgDlgType::Confirmation, MsgButtonsOf({B::Yes, B::No}),
                                  "Залишити останню встановлену версію?"));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Підтвердження");
    EXPECT_EQ(dialog.ShownText().toStdString(), "Залишити останню встановлену версію?");
    const QLabel& text = *dialog.TextLabel();
    const TMsgDlgLayout layout =
        MsgDlgLayout(TMsgDlgType::Confirmation, text.width(), text.height(), 2);
    EXPECT_EQ(dialog.size(), QSize(layout.ClientWidth, layout.ClientHeight));
    ASSERT_NE(dialog.Picture(), nullptr);
    EXPECT_FALSE(dialog.Picture()->pixmap().isNull());
    EXPECT_GE(text.x(), dialog.Picture()->geometry().right());
    ASSERT_EQ(dialog.ButtonCount(), 2u);
    EXPECT_EQ(dialog.Button(0)->text().toStdString(), "Т&ак");
    EXPECT_EQ(dialog.Button(1)->text().toStdString(), "Н&і");
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(dialog.Button(i)->geometry(),
                  QRect(layout.ButtonLefts[i], dialog.height() - 36, 75, 25));
    }

    TfrmMessageDlg custom(Request(TMsgDlgType::Custom, {kLeaveSaveButton}, "Власний"));
    EXPECT_EQ(custom.Picture(), nullptr);
    EXPECT_EQ(custom.TextLabel()->x(), TMsgDlgLayout::kMargin);
}

} // namespace
