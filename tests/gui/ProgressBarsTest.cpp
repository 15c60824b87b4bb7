#include "SharedCode6/Lib/gui/cBusyAnimation.h"
#include "SharedCode6/Lib/gui/libProgressBars.h"
#include "tests/gui/GuiTestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using S = TProgressSlot;

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

class ProgressControler : public testing::Test {
  protected:
    void SetUp() override {
        guitest::App();
        form_ = std::make_unique<TfrmProgress>();
        form_->resize(300, 200);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        TProgressControler::ProgressInit(form_->prgbTotal(), form_->prgbDetail(), form_->lblTotal(),
                                         "Файл", "Загалом", form_->btnCancel(), form_->lblDetail());
    }
    void TearDown() override { TProgressControler::ProgressDone(); }

    int WidthOf(const std::string& text) const {
        return form_->lblDetail()->fontMetrics().horizontalAdvance(QString::fromStdString(text));
    }

    std::unique_ptr<TfrmProgress> form_;
};

TEST_F(ProgressControler, InitShowsPrefixesAndSlotsDriveTheirBarsAndLabels) {
    EXPECT_EQ(Text(form_->lblTotal()), "Загалом");
    EXPECT_EQ(Text(form_->lblDetail()), "Файл");

    TProgressControler::SetRange(S::Total, 0, 200, 50);
    EXPECT_EQ(form_->prgbTotal()->minimum(), 0);
    EXPECT_EQ(form_->prgbTotal()->maximum(), 200);
    EXPECT_EQ(form_->prgbTotal()->value(), 50);
    EXPECT_EQ(Text(form_->lblTotal()), "Загалом: 50%");

    TProgressControler::SetPercent(S::Total, 75);
    EXPECT_EQ(form_->prgbTotal()->value(), 75);
    EXPECT_EQ(Text(form_->lblTotal()), "Загалом: 75%");

    TProgressControler::SetRange(S::Detail, 0, 10, 0);
    TProgressControler::SetText(S::Detail, "Upd1.0.0.4\\040_views.sql", 4);
    EXPECT_EQ(form_->prgbDetail()->value(), 4);
    EXPECT_EQ(Text(form_->lblDetail()), "Файл: Upd1.0.0.4\\040_views.sql");
    // A position beyond the bounds stops at the bound.
    TProgressControler::SetPercent(S::Detail, 11);
    EXPECT_EQ(form_->prgbDetail()->value(), 10);

    TProgressControler::SetPrefix(S::Detail, "Крок");
    EXPECT_EQ(Text(form_->lblDetail()), "Крок");
    TProgressControler::SetText(S::Detail, "next.sql", 5);
    EXPECT_EQ(Text(form_->lblDetail()), "Крок: next.sql");
    // Untouched by the detail slot.
    EXPECT_EQ(Text(form_->lblTotal()), "Загалом: 75%");
}

TEST_F(ProgressControler, LongCaptionIsCutToTheBarWidth) {
    const std::string longName(200, 'w');
    TProgressControler::SetText(S::Detail, longName, 1);
    const std::string shown = Text(form_->lblDetail());
    ASSERT_GT(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), "...");
    EXPECT_EQ(shown.rfind("Файл: w", 0), 0u);
    EXPECT_LE(WidthOf(shown), form_->prgbDetail()->width());
    // One more character would not have fitted.
    EXPECT_GT(WidthOf(shown.substr(0, shown.size() - 3) + "w..."), form_->prgbDetail()->width());
}

TEST_F(ProgressControler, EmptyCaptionAndEmptyPrefixClearTheLabel) {
    TProgressControler::SetPrefix(S::Detail, "");
    TProgressControler::SetText(S::Detail, "", 0);
    EXPECT_EQ(Text(form_->lblDetail()), "");
}

TEST_F(ProgressControler, DoneClearsLabelsAndBarsAndLetsTheCancelButtonGo) {
    TProgressControler::SetRange(S::Total, 0, 10, 7);
    QTest::mouseClick(form_->btnCancel(), Qt::LeftButton);
    EXPECT_TRUE(TProgressControler::IsCancelPressed());

    TProgressControler::ProgressDone();
    EXPECT_FALSE(TProgressControler::IsActive());
    EXPECT_EQ(Text(form_->lblTotal()), "");
    EXPECT_EQ(Text(form_->lblDetail()), "");
    EXPECT_EQ(form_->prgbTotal()->value(), 0);

    // A new controller without the button does not hear it any more.
    TProgressControler::ProgressInit(form_->prgbTotal(), nullptr, form_->lblTotal(), "", "",
                                     nullptr, nullptr);
    QTest::mouseClick(form_->btnCancel(), Qt::LeftButton);
    EXPECT_FALSE(TProgressControler::IsCancelPressed());
    // Operations on the slot without controls are skipped.
    TProgressControler::SetRange(S::Detail, 0, 5, 1);
    TProgressControler::SetText(S::Detail, "x", 2);
    EXPECT_EQ(form_->prgbDetail()->value(), 0);
}

TEST_F(ProgressControler, DestroyingTheFormEndsItsController) {
    TfrmProgress other;
    EXPECT_FALSE(TProgressControler::UsesWidget(&other));
    form_.reset();
    EXPECT_FALSE(TProgressControler::IsActive());

    TProgressControler::ProgressInit(other.prgbTotal(), nullptr, nullptr, "", "", nullptr, nullptr);
    { TfrmProgress unrelated; }
    EXPECT_TRUE(TProgressControler::IsActive());
}

TEST(WaitWindow, StaysOnTopRefusesCloseAndGoesOnlyWithHideWait) {
    guitest::App();
    TProgressHelper::ShowWait("Підготовка до запуску...");
    QPointer<QWidget> first = TProgressHelper::WaitWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle().toStdString(), "Підготовка до запуску...");
    const Qt::WindowFlags flags = first->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(first->windowType(), Qt::Tool);
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    const auto* animation = first->findChild<TBusyAnimation*>();
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(animation->IsActive());
    EXPECT_EQ(animation->pos(), QPoint(0, 0));
    EXPECT_EQ(first->size(), QSize(animation->width(), animation->height() + 30));

    EXPECT_FALSE(first->close());
    EXPECT_TRUE(first->isVisible());

    TProgressHelper::SetWaitText("Збереження файлу помилки...");
    EXPECT_EQ(first->windowTitle().toStdString(), "Збереження файлу помилки...");

    TProgressHelper::ShowWait("Друге");
    EXPECT_FALSE(first);
    QPointer<QWidget> second = TProgressHelper::WaitWindow();
    ASSERT_TRUE(second);
    TProgressHelper::HideWait();
    EXPECT_FALSE(second);
    EXPECT_EQ(TProgressHelper::WaitWindow(), nullptr);
    TProgressHelper::SetWaitText("нікому");
    TProgressHelper::HideWait();
}

} // namespace
