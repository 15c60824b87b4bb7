#include "SharedCode6/Lib/gui/fMessageDlg.h"
#include "SharedCode6/Lib/gui/libProgressBars.h"
#include "runner/gui/fChangeLoginPassw.h"
#include "runner/gui/uQtDialogs.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/support/TempDir.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using B = TMsgDlgBtn;
using guitest::ModalDriver;
using guitest::OnModal;

// Every dialog goes to Qt while the fixture lives.
class QtDialogs : public testing::Test {
  protected:
    void SetUp() override {
        guitest::App();
        InstallQtDialogs();
    }
    void TearDown() override { TDialogs::SetBackend(nullptr); }
};

TEST_F(QtDialogs, MessageDialogShowsTheResolvedTitleAndAnswersTheButton) {
    std::string title, text;
    ModalDriver driver(OnModal<TfrmMessageDlg>([&](TfrmMessageDlg& d) {
        title = d.windowTitle().toStdString();
        text = d.ShownText().toStdString();
        QTest::mouseClick(d.Button(1), Qt::LeftButton);
    }));
    EXPECT_EQ(TDialogs::MessageDialog("Залишити останню встановлену версію?",
                                      TMsgDlgType::Confirmation, {B::Yes, B::No}),
              7);
    EXPECT_EQ(title, "Підтвердження");
    EXPECT_EQ(text, "Залишити останню встановлену версію?");
}

TEST_F(QtDialogs, CredentialsDialogOpensFilled) {
    std::string shownLogin;
    ModalDriver driver(OnModal<TfrmChangeLoginPassw>([&](TfrmChangeLoginPassw& d) {
        shownLogin = d.Login();
        QTest::keyClicks(d.edtPassword(), "right");
        QTest::mouseClick(d.btnApply(), Qt::LeftButton);
    }));
    std::string login = "krt_owner", password;
    EXPECT_TRUE(TDialogs::AskCredentials(login, password));
    EXPECT_EQ(shownLogin, "krt_owner");
    EXPECT_EQ(password, "right");
}

TEST_F(QtDialogs, SaveFileDialogStartsInTheFolderWithTheName) {
    testsupport::TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    QString title, directory;
    QStringList selected;
    ModalDriver driver(OnModal<QFileDialog>([&](QFileDialog& d) {
        title = d.windowTitle();
        directory = d.directory().absolutePath();
        selected = d.selectedFiles();
        EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
        QMetaObject::invokeMethod(&d, "accept");
    }));
    std::string path;
    EXPECT_TRUE(TDialogs::AskSaveFile("Збереження файлу помилку", dir.path().string(),
                                      "patch.pdt.out", path));
    EXPECT_EQ(title.toStdString(), "Збереження файлу помилку");
    EXPECT_EQ(directory, folder);
    EXPECT_EQ(path, (dir.path() / "patch.pdt.out").string());

    ModalDriver cancel(OnModal<QFileDialog>([](QFileDialog& d) { d.reject(); }));
    std::string untouched = "x";
    EXPECT_FALSE(TDialogs::AskSaveFile("T", dir.path().string(), "f", untouched));
    EXPECT_EQ(untouched, "x");
}

TEST_F(QtDialogs, WaitWindowFollowsTheDoor) {
    TDialogs::ShowWait("Збереження архівної копії...");
    ASSERT_NE(TProgressHelper::WaitWindow(), nullptr);
    TDialogs::SetWaitText("Збереження файлу помилки...");
    EXPECT_EQ(TProgressHelper::WaitWindow()->windowTitle().toStdString(),
              "Збереження файлу помилки...");
    TDialogs::HideWait();
    EXPECT_EQ(TProgressHelper::WaitWindow(), nullptr);
}

} // namespace
