#pragma once
// Answers dialogs in advance and records every dialog shown, for tests. While an object of
// TDialogTestHook lives it is the dialog backend; its destruction puts the previous one back.
// A dialog met with no answer queued gets the console's default answer (and is still recorded).
#include "SharedCode6/Lib/uDialogs.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

struct TShownDialog {
    enum Kind { Message, Credentials, SaveFile, WaitShow, WaitText, WaitHide };
    Kind What = Message;
    TMsgDlgType Type = TMsgDlgType::Information; // Message
    std::string Title;                           // Message, Credentials, SaveFile
    std::string Text; // Message: the caller's text; Credentials: the login; Wait*: the caption
    std::vector<TMsgButtonInfo> Buttons; // Message
    std::string Folder;                  // SaveFile
    std::string FileName;                // SaveFile
    int32_t Answer = 0; // Message: the result; Credentials, SaveFile: 1 accepted, 0 cancelled
};

class TDialogTestHook {
  public:
    TDialogTestHook();
    ~TDialogTestHook();
    TDialogTestHook(const TDialogTestHook&) = delete;
    TDialogTestHook& operator=(const TDialogTestHook&) = delete;

    // The next message dialog answers this result code.
    TDialogTestHook& AnswerResult(int32_t result);
    // The next credentials dialog accepts with these texts.
    TDialogTestHook& AnswerCredentials(const std::string& login, const std::string& password);
    // The next save-file dialog chooses this path.
    TDialogTestHook& AnswerSavePath(const std::string& path);
    // The next dialog is cancelled (a message dialog then answers 2, closed).
    TDialogTestHook& AnswerCancel();

    const std::vector<TShownDialog>& Shown() const;
    // Answers queued and not used yet.
    size_t PendingAnswers() const;

  private:
    class Backend;
    std::shared_ptr<Backend> backend_;
    std::shared_ptr<IDialogBackend> previous_;
};
