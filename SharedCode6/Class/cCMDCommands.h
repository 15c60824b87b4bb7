#pragma once
// Console command framework: command classes register in one list; the first command-line
// argument selects one, which then runs with the version banner and console output.
#include <cstddef>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

// Where console commands find the command line and talk to the user. main() fills it from
// the process; tests replace it.
struct TCMDConsole {
    std::vector<std::string> Args; // Args[0] is the executable's path
    std::ostream* Out = &std::cout;
    std::istream* In = &std::cin;
};
TCMDConsole& CMDConsole();

// Command-line argument by index (0 the executable); empty past the last one.
std::string ParamStr(std::size_t index);
std::size_t ParamCount();

class TCustomCMDCommand;

// A registered command class: its class-level operations and its constructor.
struct TCMDCommandClass {
    std::string (*GetName)();
    std::string (*GetDescription)();
    void (*PrintHelp)();
    std::unique_ptr<TCustomCMDCommand> (*Create)();
};

// Base of all commands. A command class also provides static GetName and GetDescription and
// may hide PrintHelp, calling this one first.
class TCustomCMDCommand {
  public:
    // Collects the named parameters of the command line.
    TCustomCMDCommand();
    virtual ~TCustomCMDCommand() = default;
    TCustomCMDCommand(const TCustomCMDCommand&) = delete;
    TCustomCMDCommand& operator=(const TCustomCMDCommand&) = delete;

    virtual void Execute() = 0;
    virtual bool CheckParams();
    static void PrintHelp() {}

    // Every argument holding "=", as NAME=value with the name in upper case.
    const std::vector<std::string>& Params() const { return FParams; }

  private:
    std::vector<std::string> FParams;
};

template <class T> const TCMDCommandClass& CommandClassOf() {
    static const TCMDCommandClass commandClass{
        &T::GetName, &T::GetDescription, &T::PrintHelp,
        []() -> std::unique_ptr<TCustomCMDCommand> { return std::make_unique<T>(); }};
    return commandClass;
}

// The process-wide list of command classes, in registration order; there is only one.
class TCMDCommandsList {
  public:
    // Fails the internal check "Single using only" when a list exists; registers help first.
    TCMDCommandsList();
    ~TCMDCommandsList();
    TCMDCommandsList(const TCMDCommandsList&) = delete;
    TCMDCommandsList& operator=(const TCMDCommandsList&) = delete;

    static TCMDCommandsList* Instance();
    void Add(const TCMDCommandClass& commandClass);
    const std::vector<const TCMDCommandClass*>& Items() const { return FItems; }

  private:
    std::vector<const TCMDCommandClass*> FItems;
};

class TCMDHelpCommand : public TCustomCMDCommand {
  public:
    TCMDHelpCommand();
    static std::string GetName();
    static std::string GetDescription();
    static void PrintHelp();
    void Execute() override;

  private:
    void PrintCommandList();
    void PrintCommandHelp(const std::string& name);

    TCMDCommandsList& FList;
};

// Creates the list when needed and appends the class.
void Register(const TCMDCommandClass& commandClass);
// The argument at the index is "-name" or "/name" (letter case matters).
bool IsSwitch(std::size_t index, const std::string& name);
// Runs the first registered command named by argument 1; false when none matches.
bool Dispatch();

// One line on the console, with Ukrainian І and і printed as Latin I and i.
void WriteConsoleLine(const std::string& text = {});
// Waits for [Enter]: one line from the console's input (its end counts as Enter).
void WaitForUser();
