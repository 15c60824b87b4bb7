#pragma once
// Program start-up: mode selection, the installed-server check and the process exit code.
#include <functional>
#include <string>

// Set while the console execute command runs; the window then keeps two dialogs back.
inline bool ConsoleRunActive = false;
// The code the process ends with; only the console execute command changes it.
inline int ExitCode = 0;

// The error dialog of start-up. The window layer installs its own; the default writes the
// text to standard error.
void SetErrorDialog(std::function<void(const std::string&)> dialog);
void ShowErrorDialog(const std::string& text);

// The installed-server key: "...\SERVER" when it exists, otherwise "...\SERVER_PLT".
std::string GetServerRegistryKey();
// The key may be read and written and holds a value "PATH".
bool IsServerKeyPresent();
// Refuses without the installed server, otherwise starts the patch window.
void ShowPatchWindow();

// Registers the program's console commands after help: extract, execute.
void RegisterConsoleCommands();
// The whole program: command line, registration, dispatch or window; answers the exit code.
int RunPatchRunner(int argc, char** argv);
