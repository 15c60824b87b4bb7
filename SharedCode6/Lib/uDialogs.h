#pragma once
// The one door through which every dialog of the program goes. What stands behind it is a
// replaceable backend: the Qt dialogs when the program has a display, the console answer when it
// has none, and the test hook (uDialogTestHook.h) in tests.
#include "SharedCode6/Lib/libMessageDlg.h"

#include <memory>
#include <string>
#include <vector>

// A message dialog as it is asked for: the title is already resolved, the text is the caller's
// (the backend applies the ending rule when it shows it).
struct TMsgDialogRequest {
    TMsgDlgType Type = TMsgDlgType::Information;
    std::string Title;
    std::string Text;
    std::vector<TMsgButtonInfo> Buttons;
};

struct TSaveFileRequest {
    std::string Title;
    std::string Folder;
    std::string FileName;
};

// Caption of the credentials dialog, also the title the console and the hook report for it.
inline constexpr const char* kCredentialsDialogTitle = "Зміна параметрів підключення";

class IDialogBackend {
  public:
    virtual ~IDialogBackend() = default;
    // Answers the result code of the button pressed, 2 when closed otherwise.
    virtual int32_t ShowMessage(const TMsgDialogRequest& request) = 0;
    // Opens filled with both texts; on accept hands both back and answers true, on cancel leaves
    // them unchanged and answers false.
    virtual bool AskCredentials(std::string& login, std::string& password) = 0;
    // Answers false when cancelled; otherwise the chosen path.
    virtual bool AskSaveFile(const TSaveFileRequest& request, std::string& path) = 0;
    virtual void ShowWait(const std::string& caption) = 0;
    virtual void SetWaitText(const std::string& caption) = 0;
    virtual void HideWait() = 0;
};

class TDialogs {
  public:
    // Standard buttons of the set, in bit order.
    static int32_t MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
                                 const std::string& title = {});
    // The caller's own button records, in the given order.
    static int32_t MessageDialogButtons(const std::string& text, TMsgDlgType type,
                                        const std::vector<TMsgButtonInfo>& buttons,
                                        const std::string& title = {});
    static bool AskCredentials(std::string& login, std::string& password);
    static bool AskSaveFile(const std::string& title, const std::string& folder,
                            const std::string& fileName, std::string& path);
    static void ShowWait(const std::string& caption);
    static void SetWaitText(const std::string& caption);
    static void HideWait();

    // Installs a backend and answers the one it replaces; an empty pointer puts the console
    // backend (standard error) back.
    static std::shared_ptr<IDialogBackend> SetBackend(std::shared_ptr<IDialogBackend> backend);
    static IDialogBackend& Backend();
};
