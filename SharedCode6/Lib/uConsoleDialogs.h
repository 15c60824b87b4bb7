#pragma once
// Dialogs without a display: each one is written to a stream (standard error by default) and
// answered as if the user had pressed Escape, or the first button when Escape does nothing.
// Credentials and save dialogs answer "cancelled". A password is never written.
#include "SharedCode6/Lib/uDialogs.h"

#include <iosfwd>

class TConsoleDialogBackend : public IDialogBackend {
  public:
    TConsoleDialogBackend();
    explicit TConsoleDialogBackend(std::ostream& out);

    int32_t ShowMessage(const TMsgDialogRequest& request) override;
    bool AskCredentials(std::string& login, std::string& password) override;
    bool AskSaveFile(const TSaveFileRequest& request, std::string& path) override;
    void ShowWait(const std::string& caption) override;
    void SetWaitText(const std::string& caption) override;
    void HideWait() override;

  private:
    std::ostream& out_;
};
