#include "SharedCode6/Class/cCMDCommands.h"
#include "platform/core/InternalCheck.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// What the probe command saw when it ran.
struct ProbeRecord {
    bool executed = false;
    std::vector<std::string> params;
    std::string secondArgument;
};
ProbeRecord gProbe;
bool gFailingDestroyed = false;

class TProbeCommand : public TCustomCMDCommand {
  public:
    static std::string GetName() { return "probe"; }
    static std::string GetDescription() { return "перевірка"; }
    static void PrintHelp() {
        TCustomCMDCommand::PrintHelp();
        WriteConsoleLine("Довідка перевірки");
    }
    void Execute() override {
        gProbe.executed = true;
        gProbe.params = Params();
        gProbe.secondArgument = ParamStr(2);
        WriteConsoleLine("probe ran");
    }
};

class TRefusingCommand : public TCustomCMDCommand {
  public:
    static std::string GetName() { return "refuse"; }
    static std::string GetDescription() { return "refuses"; }
    bool CheckParams() override { return false; }
    void Execute() override { WriteConsoleLine("must not run"); }
};

class TFailingCommand : public TCustomCMDCommand {
  public:
    ~TFailingCommand() override { gFailingDestroyed = true; }
    static std::string GetName() { return "fail"; }
    static std::string GetDescription() { return "fails"; }
    void Execute() override { throw pr::Error("command failed"); }
};

const std::string kBanner = "Модифiкатор бази даних [Версiя 1.0.0.1]\nТОВ \"Мiрельта\"\n\n";

// Gives each test its own command line and console, with the test commands registered once.
class ConsoleTest : public testing::Test {
  protected:
    ConsoleTest() : saved_(CMDConsole()) {
        static const bool registered = [] {
            Register(CommandClassOf<TProbeCommand>());
            Register(CommandClassOf<TRefusingCommand>());
            Register(CommandClassOf<TFailingCommand>());
            return true;
        }();
        (void)registered;
        gProbe = {};
        gFailingDestroyed = false;
        CMDConsole().Out = &out_;
        CMDConsole().In = &in_;
    }
    ~ConsoleTest() override { CMDConsole() = saved_; }

    void SetArgs(std::vector<std::string> args) {
        args.insert(args.begin(), "/opt/app/tez.exe");
        CMDConsole().Args = std::move(args);
    }
    bool DispatchWith(std::vector<std::string> args) {
        SetArgs(std::move(args));
        return Dispatch();
    }

    TCMDConsole saved_;
    std::ostringstream out_;
    std::istringstream in_;
};

TEST_F(ConsoleTest, IsSwitchNeedsADashOrSlashAndTheExactName) {
    const std::pair<std::string, bool> cases[] = {
        {"-help", true}, {"/help", true},   {"-HELP", false}, {"--help", false},
        {"help", false}, {"-help ", false}, {"-", false},     {"", false}};
    for (const auto& [arg, expected] : cases) {
        SetArgs({arg});
        EXPECT_EQ(IsSwitch(1, "help"), expected) << arg;
    }
    SetArgs({"x", "-fast"});
    EXPECT_TRUE(IsSwitch(2, "fast"));
    EXPECT_FALSE(IsSwitch(3, "fast"));
}

TEST_F(ConsoleTest, OnlyTheFirstArgumentSelectsACommand) {
    for (const std::string first : {"-probe", "/probe"}) {
        gProbe = {};
        out_.str("");
        EXPECT_TRUE(DispatchWith({first}));
        EXPECT_TRUE(gProbe.executed);
        EXPECT_EQ(out_.str(), kBanner + "probe ran\n");
    }
    gProbe = {};
    out_.str("");
    EXPECT_FALSE(DispatchWith({"-Probe"}));
    EXPECT_FALSE(DispatchWith({"x", "-probe"}));
    EXPECT_FALSE(DispatchWith({}));
    EXPECT_FALSE(gProbe.executed);
    EXPECT_EQ(out_.str(), "");
}

TEST_F(ConsoleTest, NamedParametersAreCollectedAndKeepTheirPositions) {
    ASSERT_TRUE(DispatchWith({"-probe", "x=1", "positional", "Name=a=b", "X=2", "=v", "ї=1"}));
    EXPECT_EQ(gProbe.params, (std::vector<std::string>{"X=1", "NAME=a=b", "X=1", "=v", "ї=1"}));
    EXPECT_EQ(gProbe.secondArgument, "x=1");
}

TEST_F(ConsoleTest, RefusedCommandDoesNotRun) {
    ASSERT_TRUE(DispatchWith({"-refuse"}));
    EXPECT_EQ(out_.str(), kBanner + "Команда не була виконана\n");
}

TEST_F(ConsoleTest, ErrorOfACommandGoesToTheCallerAfterTheCommandIsFreed) {
    try {
        DispatchWith({"-fail"});
        FAIL();
    } catch (const pr::Error& e) {
        EXPECT_STREQ(e.what(), "command failed");
    }
    EXPECT_TRUE(gFailingDestroyed);
}

TEST_F(ConsoleTest, HelpOfOneCommandUsesTheExecutableName) {
    ASSERT_TRUE(DispatchWith({"-help", "probe"}));
    EXPECT_NE(out_.str().find("\nTEZ.EXE -PROBE [-PARAMS]\nДовiдка перевiрки\n\n\n\n"),
              std::string::npos)
        << out_.str();
}

TEST_F(ConsoleTest, HelpListsTheCommandsInRegistrationOrder) {
    ASSERT_TRUE(DispatchWith({"/help"}));
    EXPECT_NE(out_.str().find("TEZ.EXE -COMMAND [-PARAMS]\n\n"
                              "Ключ -COMMAND одна з операцiй: \n"
                              "  -HELP   iнформацiя про режими роботи консольного режиму\n"
                              "  -PROBE   перевiрка\n"
                              "  -REFUSE   refuses\n"
                              "  -FAIL   fails\n"),
              std::string::npos)
        << out_.str();
}

TEST_F(ConsoleTest, HelpOfAnUnknownCommandNamesIt) {
    for (const std::string name : {"Probe", "-probe"}) {
        out_.str("");
        ASSERT_TRUE(DispatchWith({"-help", name}));
        EXPECT_NE(out_.str().find("Iнформацiя\n\nКоманда " + name +
                                  " не пiдтримується.\nСкористайтесь командою HELP щоб "
                                  "дiзнатись якi команди доступнi в командному режимi.\n\n\n"),
                  std::string::npos)
            << out_.str();
    }
}

TEST_F(ConsoleTest, HelpWaitsForOneLineOfInput) {
    in_.str("\nnext\n");
    ASSERT_TRUE(DispatchWith({"-help"}));
    std::string rest;
    std::getline(in_, rest);
    EXPECT_EQ(rest, "next");
    EXPECT_TRUE(out_.str().ends_with("\n\n\nДля завершення натиснiть [Enter]\n"));
}

TEST_F(ConsoleTest, ConsoleLinesPrintUkrainianIAsLatin) {
    WriteConsoleLine("Інформація і Її");
    WriteConsoleLine();
    EXPECT_EQ(out_.str(), "Iнформацiя i Її\n\n");
}

TEST_F(ConsoleTest, ThereIsOnlyOneCommandList) {
    ASSERT_NE(TCMDCommandsList::Instance(), nullptr);
    try {
        TCMDCommandsList second;
        FAIL();
    } catch (const pr::EInternalCheck& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(
            "Single using only (SharedCode6\\Class\\cCMDCommands, line "))
            << e.what();
    }
    EXPECT_EQ(TCMDCommandsList::Instance()->Items().front()->GetName(), "help");
}

} // namespace
