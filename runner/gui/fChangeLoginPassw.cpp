#include "runner/gui/fChangeLoginPassw.h"

#include "ui_fChangeLoginPassw.h"

TfrmChangeLoginPassw::TfrmChangeLoginPassw(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TfrmChangeLoginPassw>()) {
    ui_->setupUi(this);
    connect(ui_->btnMore, &QPushButton::clicked, this, &TfrmChangeLoginPassw::ToggleUserPanel);
    ShowUserPanel(false);
}

TfrmChangeLoginPassw::~TfrmChangeLoginPassw() = default;

bool TfrmChangeLoginPassw::Execute(std::string& login, std::string& password, QWidget* parent) {
    TfrmChangeLoginPassw dialog(parent);
    dialog.SetCredentials(login, password);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    login = dialog.Login();
    password = dialog.Password();
    return true;
}

void TfrmChangeLoginPassw::SetCredentials(const std::string& login, const std::string& password) {
    ui_->edtUser->setText(QString::fromStdString(login));
    ui_->edtPassword->setText(QString::fromStdString(password));
}

std::string TfrmChangeLoginPassw::Login() const {
    return ui_->edtUser->text().toStdString();
}

std::string TfrmChangeLoginPassw::Password() const {
    return ui_->edtPassword->text().toStdString();
}

bool TfrmChangeLoginPassw::IsUserPanelShown() const {
    return !ui_->pnlUser->isHidden();
}

QLineEdit* TfrmChangeLoginPassw::edtPassword() const {
    return ui_->edtPassword;
}
QLineEdit* TfrmChangeLoginPassw::edtUser() const {
    return ui_->edtUser;
}
QWidget* TfrmChangeLoginPassw::pnlUser() const {
    return ui_->pnlUser;
}
QPushButton* TfrmChangeLoginPassw::btnApply() const {
    return ui_->btnApply;
}
QPushButton* TfrmChangeLoginPassw::btnCancel() const {
    return ui_->btnCancel;
}
QPushButton* TfrmChangeLoginPassw::btnMore() const {
    return ui_->btnMore;
}

void TfrmChangeLoginPassw::ToggleUserPanel() {
    ShowUserPanel(!IsUserPanelShown());
}

void TfrmChangeLoginPassw::ShowUserPanel(bool shown) {
    ui_->pnlUser->setVisible(shown);
    ui_->btnMore->setText(shown ? QStringLiteral("Згорнути <<") : QStringLiteral("Більше >>"));
}
