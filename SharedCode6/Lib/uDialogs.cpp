#include "SharedCode6/Lib/uDialogs.h"

#include "SharedCode6/Lib/uConsoleDialogs.h"

namespace {

std::shared_ptr<IDialogBackend>& Current() {
    static std::shared_ptr<IDialogBackend> backend = std::make_shared<TConsoleDialogBackend>();
    return backend;
}

} // namespace

int32_t TDialogs::MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                const std::string& title) {
    return MessageDialogButtons(text, type, MsgButtonsOf(buttons), title);
}

int32_t TDialogs::MessageDialogButtons(const std::string& text, TMsgDlgType type,
                                       const std::vector<TMsgButtonInfo>& buttons,
                                       const std::string& title) {
    return Backend().ShowMessage({type, MsgDlgTitle(type, title), text, buttons});
}

bool TDialogs::AskCredentials(std::string& login, std::string& password) {
    return Backend().AskCredentials(login, password);
}

bool TDialogs::AskSaveFile(const std::string& title, const std::string& folder,
                           const std::string& fileName, std::string& path) {
    return Backend().AskSaveFile({title, folder, fileName}, path);
}

void TDialogs::ShowWait(const std::string& caption) {
    Backend().ShowWait(caption);
}

void TDialogs::SetWaitText(const std::string& caption) {
    Backend().SetWaitText(caption);
}

void TDialogs::HideWait() {
    Backend().HideWait();
}

std::shared_ptr<IDialogBackend> TDialogs::SetBackend(std::shared_ptr<IDialogBackend> backend) {
    if (!backend)
        backend = std::make_shared<TConsoleDialogBackend>();
    Current().swap(backend);
    return backend;
}

IDialogBackend& TDialogs::Backend() {
    return *Current();
}
