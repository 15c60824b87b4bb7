#include "SharedCode6/Lib/gui/libProgressBars.h"

#include "SharedCode6/Lib/gui/cBusyAnimation.h"
#include "ui_libProgressBars.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

void SetBarPosition(QProgressBar& bar, int32_t position) {
    // The bar keeps a position outside its bounds at the nearest bound.
    bar.setValue(std::clamp(position, bar.minimum(), bar.maximum()));
}

} // namespace

TfrmProgress::TfrmProgress(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TfrmProgress>()) {
    ui_->setupUi(this);
}

TfrmProgress::~TfrmProgress() {
    if (TProgressControler::UsesWidget(this))
        TProgressControler::ProgressDone();
}

TBusyAnimation* TfrmProgress::aniProgress() const {
    return ui_->aniProgress;
}
QWidget* TfrmProgress::pnlGauge() const {
    return ui_->pnlGauge;
}
QLabel* TfrmProgress::lblDetail() const {
    return ui_->lblDetail;
}
QProgressBar* TfrmProgress::prgbDetail() const {
    return ui_->prgbDetail;
}
QLabel* TfrmProgress::lblTotal() const {
    return ui_->lblTotal;
}
QProgressBar* TfrmProgress::prgbTotal() const {
    return ui_->prgbTotal;
}
QPushButton* TfrmProgress::btnCancel() const {
    return ui_->btnCancel;
}

std::unique_ptr<TProgressControler>& TProgressControler::Current() {
    static std::unique_ptr<TProgressControler> current;
    return current;
}

TProgressControler::Slot* TProgressControler::SlotOf(TProgressSlot slot) {
    const auto& current = Current();
    return current ? &current->slots_[static_cast<size_t>(slot)] : nullptr;
}

void TProgressControler::ProgressInit(QProgressBar* totalBar, QProgressBar* detailBar,
                                      QLabel* totalLabel, const std::string& detailPrefix,
                                      const std::string& totalPrefix, QAbstractButton* cancelButton,
                                      QLabel* detailLabel) {
    ProgressDone();
    auto controller = std::make_unique<TProgressControler>();
    controller->slots_[0].bar = totalBar;
    controller->slots_[0].label = totalLabel;
    controller->slots_[1].bar = detailBar;
    controller->slots_[1].label = detailLabel;
    controller->cancelButton_ = cancelButton;
    if (cancelButton) {
        TProgressControler* raw = controller.get();
        controller->cancelConnection_ = QObject::connect(cancelButton, &QAbstractButton::clicked,
                                                         [raw] { raw->cancelPressed_ = true; });
    }
    Current() = std::move(controller);
    SetPrefix(TProgressSlot::Total, totalPrefix);
    SetPrefix(TProgressSlot::Detail, detailPrefix);
}

void TProgressControler::ProgressDone() {
    auto& current = Current();
    if (!current)
        return;
    for (Slot& slot : current->slots_) {
        slot.prefix.clear();
        if (!slot.label)
            continue;
        slot.label->clear();
        if (slot.bar)
            SetBarPosition(*slot.bar, 0);
    }
    QObject::disconnect(current->cancelConnection_);
    current.reset();
}

bool TProgressControler::IsActive() {
    return Current() != nullptr;
}

bool TProgressControler::UsesWidget(const QWidget* widget) {
    const auto& current = Current();
    if (!current || !widget)
        return false;
    const auto uses = [widget](const QWidget* control) {
        return control && (control == widget || widget->isAncestorOf(control));
    };
    for (const Slot& slot : current->slots_)
        if (uses(slot.bar) || uses(slot.label))
            return true;
    return uses(current->cancelButton_);
}

void TProgressControler::ShowCaption(Slot& slot, const std::string& text) {
    if (!slot.label)
        return;
    const QFontMetrics metrics(slot.label->font());
    const int width = slot.bar ? slot.bar->width() : slot.label->width();
    const std::string shown =
        FitCaption(slot.prefix, text, width, [&metrics](const std::string& caption) {
            return metrics.horizontalAdvance(QString::fromStdString(caption));
        });
    slot.label->setText(QString::fromStdString(shown));
}

void TProgressControler::SetRange(TProgressSlot which, int32_t min, int32_t max, int32_t position) {
    if (Slot* slot = SlotOf(which)) {
        if (slot->bar) {
            slot->bar->setMinimum(min);
            slot->bar->setMaximum(max);
            SetBarPosition(*slot->bar, position);
        }
        ShowCaption(*slot, PercentCaption(position));
    }
    QCoreApplication::processEvents();
}

void TProgressControler::SetPercent(TProgressSlot which, int32_t position) {
    if (Slot* slot = SlotOf(which)) {
        if (slot->bar)
            SetBarPosition(*slot->bar, position);
        ShowCaption(*slot, PercentCaption(position));
    }
}

void TProgressControler::SetText(TProgressSlot which, const std::string& text, int32_t position) {
    if (Slot* slot = SlotOf(which)) {
        if (slot->bar)
            SetBarPosition(*slot->bar, position);
        ShowCaption(*slot, text);
    }
    QCoreApplication::processEvents();
}

void TProgressControler::SetPrefix(TProgressSlot which, const std::string& text) {
    if (Slot* slot = SlotOf(which)) {
        slot->prefix = text;
        if (slot->label)
            slot->label->setText(QString::fromStdString(text));
    }
}

bool TProgressControler::IsCancelPressed() {
    const auto& current = Current();
    return current && current->cancelPressed_;
}

namespace {

// A captioned tool window holding the animation; only HideWait may close it.
class TfrmWait : public QWidget {
  public:
    explicit TfrmWait(const std::string& caption)
        : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                               Qt::WindowTitleHint),
          animation_(this) {
        setObjectName(QStringLiteral("frmWait"));
        setWindowTitle(QString::fromStdString(caption));
        animation_.move(0, 0);
        setFixedSize(animation_.width(), animation_.height() + 30);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        animation_.Start();
    }

    void CloseForGood() {
        closing_ = true;
        close();
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (closing_)
            event->accept();
        else
            event->ignore();
    }

  private:
    TBusyAnimation animation_;
    bool closing_ = false;
};

// A window left open when the process ends outlives the application object; it must not be
// deleted then.
struct TWaitHolder {
    std::unique_ptr<TfrmWait> form;
    ~TWaitHolder() {
        if (!QCoreApplication::instance())
            static_cast<void>(form.release());
    }
};

std::unique_ptr<TfrmWait>& WaitForm() {
    static TWaitHolder holder;
    return holder.form;
}

} // namespace

void TProgressHelper::ShowWait(const std::string& caption) {
    HideWait();
    WaitForm() = std::make_unique<TfrmWait>(caption);
    WaitForm()->show();
    QCoreApplication::processEvents();
}

void TProgressHelper::SetWaitText(const std::string& caption) {
    if (WaitForm())
        WaitForm()->setWindowTitle(QString::fromStdString(caption));
}

void TProgressHelper::HideWait() {
    if (!WaitForm())
        return;
    WaitForm()->CloseForGood();
    WaitForm().reset();
}

QWidget* TProgressHelper::WaitWindow() {
    return WaitForm().get();
}
