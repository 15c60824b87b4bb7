#include "SharedCode6/Class/cCMDCommands.h"

#include "platform/core/InternalCheck.h"
#include "platform/text/Case.h"
#include "platform/text/Format.h"
#include "platform/text/Strings.h"

namespace {

TCMDCommandsList* GList = nullptr;
std::unique_ptr<TCMDCommandsList> GOwnedList;

std::string ExecutableName() {
    const std::string path = ParamStr(0);
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PrintUsageLine(const std::string& command) {
    WriteConsoleLine(
        pr::text::UpperAscii(pr::text::Format("%s -%s [-Params]", {ExecutableName(), command})));
}

// Product name and version, then the maker, as the executable's version strings give them.
void PrintVersionBanner() {
    WriteConsoleLine(std::string(PR_PRODUCT_NAME) + " [Версія " + PR_FILE_VERSION + "]");
    WriteConsoleLine(PR_COMPANY_NAME);
}

void RunCommand(const TCMDCommandClass& commandClass) {
    const std::unique_ptr<TCustomCMDCommand> command = commandClass.Create();
    PrintVersionBanner();
    WriteConsoleLine();
    if (command->CheckParams())
        command->Execute();
    else
        WriteConsoleLine("Команда не була виконана");
}

} // namespace

TCMDConsole& CMDConsole() {
    static TCMDConsole console;
    return console;
}

std::string ParamStr(std::size_t index) {
    const auto& args = CMDConsole().Args;
    return index < args.size() ? args[index] : std::string();
}

std::size_t ParamCount() {
    const auto& args = CMDConsole().Args;
    return args.empty() ? 0 : args.size() - 1;
}

TCustomCMDCommand::TCustomCMDCommand() {
    for (std::size_t i = 1; i <= ParamCount(); ++i) {
        const std::string arg = ParamStr(i);
        const auto eq = arg.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = pr::text::UpperAscii(arg.substr(0, eq));
        std::string value = arg.substr(eq + 1);
        // A repeated name keeps the value of its first occurrence.
        for (const std::string& earlier : FParams) {
            const auto earlierEq = earlier.find('=');
            if (pr::text::SameText(earlier.substr(0, earlierEq), name)) {
                value = earlier.substr(earlierEq + 1);
                break;
            }
        }
        FParams.push_back(name + "=" + value);
    }
}

bool TCustomCMDCommand::CheckParams() {
    return true;
}

TCMDCommandsList::TCMDCommandsList() {
    pr::InternalCheck(GList == nullptr, "Single using only");
    GList = this;
    Add(CommandClassOf<TCMDHelpCommand>());
}

TCMDCommandsList::~TCMDCommandsList() {
    GList = nullptr;
}

TCMDCommandsList* TCMDCommandsList::Instance() {
    return GList;
}

void TCMDCommandsList::Add(const TCMDCommandClass& commandClass) {
    FItems.push_back(&commandClass);
}

TCMDHelpCommand::TCMDHelpCommand() : FList(*TCMDCommandsList::Instance()) {}

std::string TCMDHelpCommand::GetName() {
    return "help";
}

std::string TCMDHelpCommand::GetDescription() {
    return "інформація про режими роботи консольного режиму";
}

void TCMDHelpCommand::PrintHelp() {
    TCustomCMDCommand::PrintHelp();
    for (const char* line :
         {"", "Інформація про можливості використання програми у консольному режимі.", "",
          "Без параметрів:", " друк списку доступних команд", "Параметр \"назва команди\":",
          " друк інформації про певну команду", "Параметр \"HELP\":", " друк цієї сторінки"})
        WriteConsoleLine(line);
}

void TCMDHelpCommand::Execute() {
    for (const char* line : {"", "Виконання операцій у консольному режимі.", "", "Інформація", ""})
        WriteConsoleLine(line);
    const std::string name = ParamStr(2);
    if (name.empty())
        PrintCommandList();
    else
        PrintCommandHelp(name);
    WriteConsoleLine();
    WriteConsoleLine();
    WriteConsoleLine("Для завершення натисніть [Enter]");
    WaitForUser();
}

void TCMDHelpCommand::PrintCommandList() {
    PrintUsageLine("COMMAND");
    WriteConsoleLine();
    WriteConsoleLine("Ключ -COMMAND одна з операцій: ");
    for (const TCMDCommandClass* item : FList.Items())
        WriteConsoleLine("  -" + pr::text::UpperAscii(item->GetName()) + "   " +
                         item->GetDescription());
}

void TCMDHelpCommand::PrintCommandHelp(const std::string& name) {
    for (const TCMDCommandClass* item : FList.Items()) {
        if (item->GetName() == name) {
            PrintUsageLine(item->GetName());
            item->PrintHelp();
            WriteConsoleLine();
            return;
        }
    }
    WriteConsoleLine("Команда " + name + " не підтримується.");
    WriteConsoleLine(
        "Скористайтесь командою HELP щоб дізнатись які команди доступні в командному режимі.");
}

void Register(const TCMDCommandClass& commandClass) {
    if (GList == nullptr)
        GOwnedList = std::make_unique<TCMDCommandsList>();
    GList->Add(commandClass);
}

bool IsSwitch(std::size_t index, const std::string& name) {
    const std::string arg = ParamStr(index);
    return !arg.empty() && (arg.front() == '-' || arg.front() == '/') && arg.substr(1) == name;
}

bool Dispatch() {
    if (GList == nullptr)
        return false;
    for (const TCMDCommandClass* item : GList->Items()) {
        if (IsSwitch(1, item->GetName())) {
            RunCommand(*item);
            return true;
        }
    }
    return false;
}

void WriteConsoleLine(const std::string& text) {
    const std::string latin = pr::text::ReplaceAll(pr::text::ReplaceAll(text, "І", "I"), "і", "i");
    *CMDConsole().Out << latin << '\n' << std::flush;
}

void WaitForUser() {
    std::string line;
    std::getline(*CMDConsole().In, line);
}
