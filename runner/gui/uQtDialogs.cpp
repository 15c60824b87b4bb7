#include "runner/gui/uQtDialogs.h"

#include "SharedCode6/Lib/gui/fMessageDlg.h"
#include "SharedCode6/Lib/gui/libProgressBars.h"
#include "platform/core/InternalCheck.h"
#include "runner/gui/fChangeLoginPassw.h"

#include <QApplication>
#include <QFileDialog>

int32_t TQtDialogBackend::ShowMessage(const TMsgDialogRequest& request) {
    TfrmMessageDlg dialog(request, QApplication::activeWindow());
    return dialog.Execute();
}

bool TQtDialogBackend::AskCredentials(std::string& login, std::string& password) {
    return TfrmChangeLoginPassw::Execute(login, password, QApplication::activeWindow());
}

bool TQtDialogBackend::AskSaveFile(const TSaveFileRequest& request, std::string& path) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.Title),
                       QString::fromStdString(request.Folder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The caller's own file check asks before an existing file is replaced.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.selectFile(QString::fromStdString(request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().front().toStdString();
    return true;
}

void TQtDialogBackend::ShowWait(const std::string& caption) {
    TProgressHelper::ShowWait(caption);
}

void TQtDialogBackend::SetWaitText(const std::string& caption) {
    TProgressHelper::SetWaitText(caption);
}

void TQtDialogBackend::HideWait() {
    TProgressHelper::HideWait();
}

void InstallQtDialogs() {
    pr::InternalCheck(qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr,
                      "Розробнику. Діалоги Qt потребують об'єкта програми");
    TDialogs::SetBackend(std::make_shared<TQtDialogBackend>());
}
