#pragma once
// The progress form with its two bars, the process-wide progress controller that drives a pair
// of bars and labels, and the wait window.
#include "SharedCode6/Lib/libProgressCaption.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <string>

class TBusyAnimation;
namespace Ui {
class TfrmProgress;
}

// The animation at the top, the gauge panel at the bottom: detail label and bar, then overall
// label and bar, and a cancel button.
class TfrmProgress : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmProgress(QWidget* parent = nullptr);
    // Ends the progress controller when it works on this form's controls.
    ~TfrmProgress() override;

    TBusyAnimation* aniProgress() const;
    QWidget* pnlGauge() const;
    QLabel* lblDetail() const;
    QProgressBar* prgbDetail() const;
    QLabel* lblTotal() const;
    QProgressBar* prgbTotal() const;
    QPushButton* btnCancel() const;

  private:
    std::unique_ptr<Ui::TfrmProgress> ui_;
};

// At most one controller exists in the process; every operation is a class operation and
// skips the controls that were not given. Slot 0 is the overall bar, slot 1 the detail bar.
class TProgressControler {
  public:
    // Ends any controller, starts one on these controls and shows the prefixes on the labels.
    static void ProgressInit(QProgressBar* totalBar, QProgressBar* detailBar, QLabel* totalLabel,
                             const std::string& detailPrefix, const std::string& totalPrefix,
                             QAbstractButton* cancelButton, QLabel* detailLabel);
    // Clears the labels and prefixes, sets the bars to 0 and lets the cancel button go.
    static void ProgressDone();
    static bool IsActive();
    // Whether a control (or a widget holding one) is in use by the controller.
    static bool UsesWidget(const QWidget* widget);

    // Bar bounds and position; the label shows "position%"; pending events are processed.
    static void SetRange(TProgressSlot slot, int32_t min, int32_t max, int32_t position);
    // Bar position; the label shows "position%".
    static void SetPercent(TProgressSlot slot, int32_t position);
    // Bar position; the label shows the text; pending events are processed.
    static void SetText(TProgressSlot slot, const std::string& text, int32_t position);
    // The slot's prefix, shown as its label's text.
    static void SetPrefix(TProgressSlot slot, const std::string& text);
    // Whether the cancel button was pressed since ProgressInit.
    static bool IsCancelPressed();

  private:
    struct Slot {
        QPointer<QProgressBar> bar;
        QPointer<QLabel> label;
        std::string prefix;
    };

    static std::unique_ptr<TProgressControler>& Current();
    static Slot* SlotOf(TProgressSlot slot);
    static void ShowCaption(Slot& slot, const std::string& text);

    Slot slots_[2];
    QPointer<QAbstractButton> cancelButton_;
    QMetaObject::Connection cancelConnection_;
    bool cancelPressed_ = false;
};

// The wait window: one at most, on top of the others, not closable by the user.
class TProgressHelper {
  public:
    // Closes any open wait window and shows a new one with this caption, without blocking.
    static void ShowWait(const std::string& caption);
    static void SetWaitText(const std::string& caption);
    static void HideWait();
    // The open wait window, or null.
    static QWidget* WaitWindow();
};
