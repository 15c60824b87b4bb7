#pragma once
// The program's dialogs on a display: the message dialog, the credentials dialog, a save-file
// dialog and the wait window.
#include "SharedCode6/Lib/uDialogs.h"

class TQtDialogBackend : public IDialogBackend {
  public:
    int32_t ShowMessage(const TMsgDialogRequest& request) override;
    bool AskCredentials(std::string& login, std::string& password) override;
    bool AskSaveFile(const TSaveFileRequest& request, std::string& path) override;
    void ShowWait(const std::string& caption) override;
    void SetWaitText(const std::string& caption) override;
    void HideWait() override;
};

// Makes the Qt dialogs the program's dialogs; needs the application object to exist.
void InstallQtDialogs();
