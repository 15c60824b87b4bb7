#include "SharedCode6/Lib/gui/fMessageDlg.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <climits>

namespace {

QString DisplayText(const std::string& text) {
    QString shown = QString::fromStdString(MsgDlgText(text));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QStyle::StandardPixmap PictureOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::Warning:
        return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::Error:
        return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::Information:
    case TMsgDlgType::Custom:
        break;
    }
    return QStyle::SP_MessageBoxInformation;
}

// The size the label needs: long lines wrap at half the screen's width.
QSize TextSize(const QLabel& label, const QString& text) {
    int maxWidth = 400;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        maxWidth = std::max(maxWidth, screen->availableGeometry().width() / 2);
    const QRect bounds = label.fontMetrics().boundingRect(
        QRect(0, 0, maxWidth, INT_MAX / 2), Qt::TextWordWrap | Qt::TextExpandTabs, text);
    return bounds.size();
}

} // namespace

TfrmMessageDlg::TfrmMessageDlg(const TMsgDialogRequest& request, QWidget* parent)
    : QDialog(parent), request_(request), text_(std::make_unique<QLabel>(this)) {
    setWindowTitle(QString::fromStdString(request.Title));
    setModal(true);

    const QString shown = DisplayText(request.Text);
    text_->setObjectName(QStringLiteral("lblMessage"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setText(shown);
    const QSize textSize = TextSize(*text_, shown);
    const TMsgDlgLayout layout = MsgDlgLayout(request.Type, textSize.width(), textSize.height(),
                                              static_cast<int>(request.Buttons.size()));
    text_->setGeometry(layout.TextLeft, layout.TextTop, textSize.width(), textSize.height());

    if (layout.HasPicture) {
        picture_ = std::make_unique<QLabel>(this);
        picture_->setObjectName(QStringLiteral("imgPicture"));
        const int size = TMsgDlgLayout::kPictureSize;
        picture_->setPixmap(style()->standardIcon(PictureOf(request.Type)).pixmap(size, size));
        picture_->setGeometry(layout.PictureLeft, layout.PictureTop, size, size);
    }

    for (size_t i = 0; i < request.Buttons.size(); ++i) {
        const TMsgButtonInfo& info = request.Buttons[i];
        auto button = std::make_unique<QPushButton>(QString::fromStdString(info.Caption), this);
        button->setGeometry(layout.ButtonLefts[i], layout.ButtonTop, TMsgDlgLayout::kButtonWidth,
                            TMsgDlgLayout::kButtonHeight);
        const int32_t result = info.Result;
        connect(button.get(), &QPushButton::clicked, this, [this, result] { done(result); });
        buttons_.push_back(std::move(button));
    }
    if (!buttons_.empty()) {
        buttons_.front()->setDefault(true);
        buttons_.front()->setFocus();
    }
    setFixedSize(layout.ClientWidth, layout.ClientHeight);
}

TfrmMessageDlg::~TfrmMessageDlg() = default;

int32_t TfrmMessageDlg::Execute() {
    return exec();
}

QString TfrmMessageDlg::ShownText() const {
    return text_->text();
}

QPushButton* TfrmMessageDlg::Button(size_t index) const {
    return buttons_.at(index).get();
}

size_t TfrmMessageDlg::ButtonCount() const {
    return buttons_.size();
}

QLabel* TfrmMessageDlg::Picture() const {
    return picture_.get();
}

QLabel* TfrmMessageDlg::TextLabel() const {
    return text_.get();
}

void TfrmMessageDlg::reject() {
    done(msg_result::Closed);
}

uint16_t TfrmMessageDlg::KeyCode(const QKeyEvent& event) const {
    const int key = event.key();
    if (key == Qt::Key_Escape)
        return msg_key::Escape;
    if (key == Qt::Key_Insert)
        return msg_key::Insert;
    // Qt numbers the Latin letters as the virtual key codes do.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<uint16_t>(key);
    const quint32 native = event.nativeVirtualKey();
    if (native >= 'A' && native <= 'Z')
        return static_cast<uint16_t>(native);
    if (native >= 'a' && native <= 'z')
        return static_cast<uint16_t>(native - 'a' + 'A');
    // On the Ukrainian layout the key types the underlined letter itself.
    const QString typed = event.text().toLower();
    if (!typed.isEmpty())
        for (const TMsgButtonInfo& info : request_.Buttons)
            if (QString::fromStdString(HotKeyLetter(info.Caption)).toLower() == typed)
                return info.HotKey;
    return 0;
}

void TfrmMessageDlg::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const TMsgShiftState shift{mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
                               mods.testFlag(Qt::AltModifier)};
    const TMsgKeyAction action =
        MsgDlgKeyAction(request_.Type, request_.Buttons, KeyCode(*event), shift);
    switch (action.Action) {
    case TMsgKeyAction::Press:
        buttons_.at(static_cast<size_t>(action.ButtonIndex))->click();
        return;
    case TMsgKeyAction::Close:
        reject();
        return;
    case TMsgKeyAction::Copy:
        QGuiApplication::clipboard()->setText(ShownText());
        return;
    case TMsgKeyAction::None:
        break;
    }
    // Escape without a target does nothing; Enter and the rest keep the dialog's own handling.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
