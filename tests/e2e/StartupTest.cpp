#include "tests/e2e/E2eSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using e2e::RunProgram;

const std::string kRefusal =
    "Встановлення патчу можливе лише на компьютері зі встановленою БД \"ВЕРНАТ\".\n";
const std::string kServer = "[SOFTWARE\\Mirelta\\InstalledComponents\\SERVER]\n";
const std::string kServerPlt = "[SOFTWARE\\Mirelta\\InstalledComponents\\SERVER_PLT]\n";
const std::string kPath = "PATH=/usr/lib/postgresql/15\n";

struct ConsoleCase {
    std::vector<std::string> args;
    std::string expected;
};

void PrintTo(const ConsoleCase& c, std::ostream* os) {
    for (const auto& arg : c.args)
        *os << arg << ' ';
}

class ConsoleCommandTest : public testing::TestWithParam<ConsoleCase> {};

TEST_P(ConsoleCommandTest, PrintsExactly) {
    const auto result = RunProgram(PR_PATCHRUNNER, GetParam().args, "/nonexistent/registry.ini");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, GetParam().expected);
    EXPECT_EQ(result.err, "");
}

const std::string kHelpHead =
    e2e::kBanner + "\nВиконання операцiй у консольному режимi.\n\nIнформацiя\n\n";
// Two empty lines and the prompt close every help text.
const std::string kHelpTail = "\n\nДля завершення натиснiть [Enter]\n";

INSTANTIATE_TEST_SUITE_P(
    Help, ConsoleCommandTest,
    testing::Values(
        ConsoleCase{{"-help"}, e2e::HelpList("PATCHRUNNER")},
        ConsoleCase{{"/help"}, e2e::HelpList("PATCHRUNNER")},
        ConsoleCase{{"-help", "", "x=1"}, e2e::HelpList("PATCHRUNNER")},
        ConsoleCase{{"-help", "extract"},
                    kHelpHead +
                        "PATCHRUNNER -EXTRACT [-PARAMS]\n\nКоманда видобутку файлу апдейту.\n\n"
                        "Параметр \"назва файлу апдейту\":\n"
                        " видобуток буде виконано у заданий параметром файл.\n\n" +
                        kHelpTail},
        ConsoleCase{{"-help", "execute"},
                    kHelpHead +
                        "PATCHRUNNER -EXECUTE [-PARAMS]\n\nКоманда виконання апдейту.\n\n"
                        "Перший параметр обов'язковий: \"iм'я файлу помилок\"!\n"
                        "Другий параметр не обов'язковий: \"iм'я скрипта\" пiсля якого "
                        "необхiдно перервати виконання оновлення\n\n"
                        "Приклад:\ntez.exe -execute c:\\out.out UPD1.0.9.8\n"
                        "Буде виконане оновлення, лог збережено в c:\\out.out, оновлення "
                        "перерветься пiсля скрипта Upd1.0.9.8.1/010_script.sql\n\n"
                        "Якщо при виконаннi патчу вiдбулася помилка код повернення "
                        "програми -1\n\n\n" +
                        kHelpTail},
        ConsoleCase{{"-help", "help"},
                    kHelpHead +
                        "PATCHRUNNER -HELP [-PARAMS]\n\n"
                        "Iнформацiя про можливостi використання програми у консольному "
                        "режимi.\n\nБез параметрiв:\n друк списку доступних команд\n"
                        "Параметр \"назва команди\":\n друк iнформацiї про певну команду\n"
                        "Параметр \"HELP\":\n друк цiєї сторiнки\n\n" +
                        kHelpTail},
        ConsoleCase{{"-help", "-extract"},
                    kHelpHead +
                        "Команда -extract не пiдтримується.\n"
                        "Скористайтесь командою HELP щоб дiзнатись якi команди доступнi в "
                        "командному режимi.\n" +
                        kHelpTail}));

TEST(Startup, UsageLineNamesTheExecutableAsCopied) {
    testsupport::TempDir dir;
    const auto copy = dir / "tez.exe";
    std::filesystem::copy_file(PR_PATCHRUNNER, copy);
    const auto result = RunProgram(copy.string(), {"-help"}, "/nonexistent/registry.ini");
    EXPECT_EQ(result.out, e2e::HelpList("TEZ.EXE"));
}

// No command: the start-up path runs the server check, which fails without a registry.
TEST(Startup, WithoutACommandTheServerCheckRuns) {
    const std::vector<std::string> cases[] = {{},           {"-HELP"}, {"--help"},    {"-xyz"},
                                              {"-Extract"}, {"-fast"}, {"x", "-help"}};
    for (const auto& args : cases) {
        const auto result = RunProgram(PR_PATCHRUNNER, args, "/nonexistent/registry.ini");
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, kRefusal) << (args.empty() ? "" : args.front());
    }
}

struct RegistryCase {
    std::string name;
    std::string content;
    bool accepted;
};

void PrintTo(const RegistryCase& c, std::ostream* os) {
    *os << c.name;
}

class ServerKeyTest : public testing::TestWithParam<RegistryCase> {};

TEST_P(ServerKeyTest, RefusesWithoutAnInstalledServer) {
    testsupport::TempDir dir;
    const std::string registry = (dir / "registry.ini").string();
    testsupport::WriteFile(registry, GetParam().content);
    const auto result = RunProgram(PR_PATCHRUNNER, {}, registry);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, GetParam().accepted ? "" : kRefusal);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ServerKeyTest,
    testing::Values(
        RegistryCase{"ServerWithPath", kServer + kPath, true},
        RegistryCase{"OnlyPltWithPath", kServerPlt + kPath, true},
        RegistryCase{"KeyInOtherLetterCase",
                     "[software\\mirelta\\installedcomponents\\server]\npath=/x\n", true},
        RegistryCase{"OnlyPltWithoutPath", kServerPlt + "SERVICE_STATUS=x\n", false},
        RegistryCase{"ServerWithoutPathDecidesOverPlt", kServer + kServerPlt + kPath, false},
        RegistryCase{"NoKey", "[SOFTWARE\\Other]\n" + kPath, false},
        RegistryCase{"Empty", "", false}));

TEST(Startup, KeyThatCannotBeWrittenIsRefused) {
    testsupport::TempDir dir;
    chmod(dir.path().c_str(), 0755); // the unprivileged user must reach the file
    const std::string registry = (dir / "registry.ini").string();
    testsupport::WriteFile(registry, kServer + kPath);
    const std::pair<mode_t, std::string> cases[] = {{0444, kRefusal}, {0666, ""}};
    for (const auto& [mode, expected] : cases) {
        chmod(registry.c_str(), mode);
        const auto result = RunProgram(PR_PATCHRUNNER, {}, registry, /*unprivileged=*/true);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.err, expected) << std::oct << mode;
    }
}

} // namespace
