#include "SharedCode6/Lib/uConsoleDialogs.h"

#include <iostream>

namespace {

// CR LF and lone CR become line feeds: the console is a Linux terminal.
std::string ConsoleLines(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r')
            out += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n')
            out += '\n';
    }
    return out;
}

const char* const kCancelled = "Відмінити";

} // namespace

TConsoleDialogBackend::TConsoleDialogBackend() : out_(std::cerr) {}

TConsoleDialogBackend::TConsoleDialogBackend(std::ostream& out) : out_(out) {}

int32_t TConsoleDialogBackend::ShowMessage(const TMsgDialogRequest& request) {
    const int pressed = MsgDlgDefaultButton(request.Buttons);
    out_ << request.Title << ": " << ConsoleLines(MsgDlgText(request.Text)) << "\n ";
    for (const TMsgButtonInfo& button : request.Buttons)
        out_ << " [" << StripHotKeyMark(button.Caption) << "]";
    if (pressed < 0) {
        out_ << " -> " << kCancelled << std::endl;
        return msg_result::Closed;
    }
    const TMsgButtonInfo& button = request.Buttons[static_cast<size_t>(pressed)];
    out_ << " -> " << StripHotKeyMark(button.Caption) << std::endl;
    return button.Result;
}

bool TConsoleDialogBackend::AskCredentials(std::string& login, std::string& /*password*/) {
    out_ << kCredentialsDialogTitle << ": Користувач: " << login << "\n  -> " << kCancelled
         << std::endl;
    return false;
}

bool TConsoleDialogBackend::AskSaveFile(const TSaveFileRequest& request, std::string& /*path*/) {
    out_ << request.Title << ": " << request.Folder << " " << request.FileName << "\n  -> "
         << kCancelled << std::endl;
    return false;
}

void TConsoleDialogBackend::ShowWait(const std::string& caption) {
    out_ << caption << std::endl;
}

void TConsoleDialogBackend::SetWaitText(const std::string& caption) {
    out_ << caption << std::endl;
}

void TConsoleDialogBackend::HideWait() {}
