#pragma once
// The shared message dialog: a picture by type, the text, a row of buttons with hot keys.
#include "SharedCode6/Lib/uDialogs.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <memory>
#include <vector>

class TfrmMessageDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmMessageDlg(const TMsgDialogRequest& request, QWidget* parent = nullptr);
    ~TfrmMessageDlg() override;

    // Shows the dialog modally and answers the result code of the button pressed, 2 when it was
    // closed otherwise.
    int32_t Execute();

    // The text as shown (after the ending rule).
    QString ShownText() const;
    QPushButton* Button(size_t index) const;
    size_t ButtonCount() const;
    // The picture, or null for the custom type.
    QLabel* Picture() const;
    QLabel* TextLabel() const;

  public slots:
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    uint16_t KeyCode(const QKeyEvent& event) const;

    TMsgDialogRequest request_;
    std::unique_ptr<QLabel> picture_;
    std::unique_ptr<QLabel> text_;
    std::vector<std::unique_ptr<QPushButton>> buttons_;
};
