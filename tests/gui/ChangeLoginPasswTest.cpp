#include "runner/gui/fChangeLoginPassw.h"
#include "tests/gui/GuiTestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using guitest::ModalDriver;
using guitest::OnModal;

std::string Text(const QAbstractButton* button) {
    return button->text().toStdString();
}

TEST(ChangeLoginPassw, OpensWithTheUserPanelHiddenAndTogglesIt) {
    guitest::App();
    TfrmChangeLoginPassw dialog;
    dialog.SetCredentials("krt_owner", "secret");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Зміна параметрів підключення");
    EXPECT_EQ(Text(dialog.btnApply()), "Застосувати");
    EXPECT_EQ(Text(dialog.btnCancel()), "Відмінити");
    EXPECT_EQ(dialog.edtPassword()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.edtPassword()->maxLength(), 30);
    EXPECT_EQ(dialog.edtUser()->maxLength(), 30);
    EXPECT_EQ(dialog.edtUser()->text().toStdString(), "krt_owner");
    EXPECT_EQ(dialog.edtPassword()->text().toStdString(), "secret");

    EXPECT_FALSE(dialog.IsUserPanelShown());
    EXPECT_FALSE(dialog.pnlUser()->isVisible());
    EXPECT_EQ(Text(dialog.btnMore()), "Більше >>");
    QTest::mouseClick(dialog.btnMore(), Qt::LeftButton);
    EXPECT_TRUE(dialog.pnlUser()->isVisible());
    EXPECT_EQ(Text(dialog.btnMore()), "Згорнути <<");
    QTest::mouseClick(dialog.btnMore(), Qt::LeftButton);
    EXPECT_FALSE(dialog.pnlUser()->isVisible());
    EXPECT_EQ(Text(dialog.btnMore()), "Більше >>");
}

TEST(ChangeLoginPassw, AcceptHandsBackBothFields) {
    guitest::App();
    ModalDriver driver(OnModal<TfrmChangeLoginPassw>([](TfrmChangeLoginPassw& d) {
        QTest::mouseClick(d.btnMore(), Qt::LeftButton);
        d.edtUser()->clear();
        QTest::keyClicks(d.edtUser(), "other_user");
        d.edtPassword()->clear();
        // Longer than the field takes.
        QTest::keyClicks(d.edtPassword(), QString(35, QLatin1Char('p')));
        QTest::mouseClick(d.btnApply(), Qt::LeftButton);
    }));
    std::string login = "krt_owner", password = "";
    EXPECT_TRUE(TfrmChangeLoginPassw::Execute(login, password));
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(login, "other_user");
    EXPECT_EQ(password, std::string(30, 'p'));
}

TEST(ChangeLoginPassw, CancelLeavesBothAsTheyWere) {
    guitest::App();
    ModalDriver driver(OnModal<TfrmChangeLoginPassw>([](TfrmChangeLoginPassw& d) {
        QTest::keyClicks(d.edtPassword(), "typed");
        QTest::mouseClick(d.btnCancel(), Qt::LeftButton);
    }));
    std::string login = "krt_owner", password = "old";
    EXPECT_FALSE(TfrmChangeLoginPassw::Execute(login, password));
    EXPECT_EQ(login, "krt_owner");
    EXPECT_EQ(password, "old");
}

} // namespace
