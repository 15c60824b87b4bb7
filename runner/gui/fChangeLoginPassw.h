#pragma once
// The credentials dialog: a password and, on a panel shown on request, the user name.
#include <QDialog>

#include <memory>
#include <string>

class QLineEdit;
class QPushButton;
class QWidget;
namespace Ui {
class TfrmChangeLoginPassw;
}

class TfrmChangeLoginPassw : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmChangeLoginPassw(QWidget* parent = nullptr);
    ~TfrmChangeLoginPassw() override;

    // Opens filled with both texts; on accept hands both back and answers true, on cancel leaves
    // them as they were and answers false.
    static bool Execute(std::string& login, std::string& password, QWidget* parent = nullptr);

    void SetCredentials(const std::string& login, const std::string& password);
    std::string Login() const;
    std::string Password() const;
    bool IsUserPanelShown() const;

    QLineEdit* edtPassword() const;
    QLineEdit* edtUser() const;
    QWidget* pnlUser() const;
    QPushButton* btnApply() const;
    QPushButton* btnCancel() const;
    QPushButton* btnMore() const;

  private slots:
    void ToggleUserPanel();

  private:
    void ShowUserPanel(bool shown);

    std::unique_ptr<Ui::TfrmChangeLoginPassw> ui_;
};
