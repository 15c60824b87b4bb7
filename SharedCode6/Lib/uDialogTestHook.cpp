#include "SharedCode6/Lib/uDialogTestHook.h"

#include "platform/core/InternalCheck.h"

#include <optional>

namespace {

struct TAnswer {
    enum Kind { Result, Credentials, SavePath, Cancel };
    Kind What = Cancel;
    int32_t Code = 0;
    std::string Login;
    std::string Password;
    std::string Path;
};

const char* KindName(TAnswer::Kind kind) {
    switch (kind) {
    case TAnswer::Result:
        return "a result code";
    case TAnswer::Credentials:
        return "credentials";
    case TAnswer::SavePath:
        return "a save path";
    case TAnswer::Cancel:
        break;
    }
    return "cancel";
}

} // namespace

class TDialogTestHook::Backend : public IDialogBackend {
  public:
    std::deque<TAnswer> answers;
    std::vector<TShownDialog> shown;

    int32_t ShowMessage(const TMsgDialogRequest& request) override {
        TShownDialog dialog = Record(TShownDialog::Message, request.Title, request.Text);
        dialog.Type = request.Type;
        dialog.Buttons = request.Buttons;
        dialog.Answer = MsgDlgDefaultResult(request.Buttons);
        if (const auto answer = Take(TAnswer::Result, "a message dialog"))
            dialog.Answer = answer->What == TAnswer::Cancel ? msg_result::Closed : answer->Code;
        shown.push_back(dialog);
        return dialog.Answer;
    }

    bool AskCredentials(std::string& login, std::string& password) override {
        TShownDialog dialog = Record(TShownDialog::Credentials, kCredentialsDialogTitle, login);
        const auto answer = Take(TAnswer::Credentials, "the credentials dialog");
        const bool accepted = answer && answer->What == TAnswer::Credentials;
        if (accepted) {
            login = answer->Login;
            password = answer->Password;
        }
        dialog.Answer = accepted ? 1 : 0;
        shown.push_back(dialog);
        return accepted;
    }

    bool AskSaveFile(const TSaveFileRequest& request, std::string& path) override {
        TShownDialog dialog = Record(TShownDialog::SaveFile, request.Title, {});
        dialog.Folder = request.Folder;
        dialog.FileName = request.FileName;
        const auto answer = Take(TAnswer::SavePath, "the save-file dialog");
        const bool accepted = answer && answer->What == TAnswer::SavePath;
        if (accepted)
            path = answer->Path;
        dialog.Answer = accepted ? 1 : 0;
        shown.push_back(dialog);
        return accepted;
    }

    void ShowWait(const std::string& caption) override { Wait(TShownDialog::WaitShow, caption); }
    void SetWaitText(const std::string& caption) override { Wait(TShownDialog::WaitText, caption); }
    void HideWait() override { Wait(TShownDialog::WaitHide, {}); }

  private:
    // The queued answer for a dialog of this kind, if any. An answer meant for another kind of
    // dialog is a mistake in the test.
    std::optional<TAnswer> Take(TAnswer::Kind expected, const char* dialog) {
        if (answers.empty())
            return std::nullopt;
        TAnswer answer = answers.front();
        if (answer.What != expected && answer.What != TAnswer::Cancel)
            pr::RaiseInternalCheck(std::string("Dialog test hook: ") + dialog +
                                   " was answered with " + KindName(answer.What));
        answers.pop_front();
        return answer;
    }

    static TShownDialog Record(TShownDialog::Kind kind, const std::string& title,
                               const std::string& text) {
        TShownDialog dialog;
        dialog.What = kind;
        dialog.Title = title;
        dialog.Text = text;
        return dialog;
    }

    void Wait(TShownDialog::Kind kind, const std::string& caption) {
        shown.push_back(Record(kind, {}, caption));
    }
};

TDialogTestHook::TDialogTestHook()
    : backend_(std::make_shared<Backend>()), previous_(TDialogs::SetBackend(backend_)) {}

TDialogTestHook::~TDialogTestHook() {
    TDialogs::SetBackend(previous_);
}

TDialogTestHook& TDialogTestHook::AnswerResult(int32_t result) {
    TAnswer answer;
    answer.What = TAnswer::Result;
    answer.Code = result;
    backend_->answers.push_back(answer);
    return *this;
}

TDialogTestHook& TDialogTestHook::AnswerCredentials(const std::string& login,
                                                    const std::string& password) {
    TAnswer answer;
    answer.What = TAnswer::Credentials;
    answer.Login = login;
    answer.Password = password;
    backend_->answers.push_back(answer);
    return *this;
}

TDialogTestHook& TDialogTestHook::AnswerSavePath(const std::string& path) {
    TAnswer answer;
    answer.What = TAnswer::SavePath;
    answer.Path = path;
    backend_->answers.push_back(answer);
    return *this;
}

TDialogTestHook& TDialogTestHook::AnswerCancel() {
    backend_->answers.push_back(TAnswer{});
    return *this;
}

const std::vector<TShownDialog>& TDialogTestHook::Shown() const {
    return backend_->shown;
}

size_t TDialogTestHook::PendingAnswers() const {
    return backend_->answers.size();
}
