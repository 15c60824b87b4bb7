#include "platform/process/Process.h"
#include "platform/core/Error.h"
#include "platform/fs/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

using pr::process::Options;
using pr::process::Process;

Options Shell(const std::string& script) {
    return {.argv = {"/bin/sh", "-c", script}};
}

TEST(Process, CapturesOutputErrorAndExitCode) {
    const auto result = pr::process::Run(Shell("echo out; echo err >&2; exit 3"));
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.out, "out\n");
    EXPECT_EQ(result.err, "err\n");

    Options merged = Shell("echo a; echo b >&2; echo c");
    merged.mergeStderr = true;
    EXPECT_EQ(pr::process::Run(merged).out, "a\nb\nc\n");

    EXPECT_EQ(pr::process::Run(Shell("kill -9 $$")).exitCode, 128 + SIGKILL);
}

TEST(Process, FeedsLargeInputWhileReadingLargeOutput) {
    std::string input;
    for (int i = 0; input.size() < 3 * 1024 * 1024; ++i)
        input += "line " + std::to_string(i) + "\n";
    Options cat{.argv = {"cat"}};
    cat.stdinText = input;
    const auto result = pr::process::Run(cat);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, input);
    // Without input text the child reads an empty input.
    EXPECT_EQ(pr::process::Run({.argv = {"cat"}}).out, "");
}

TEST(Process, PassesEnvironmentAndWorkingFolder) {
    testsupport::TempDir dir;
    Options options = Shell("echo \"$PR_ADDED:$HOME\"; pwd");
    options.env = {{"PR_ADDED", "added"}, {"HOME", "/replaced"}};
    options.workingDir = dir.path().string();
    EXPECT_EQ(pr::process::Run(options).out, "added:/replaced\n" + dir.path().string() + "\n");
}

TEST(Process, ProgramThatCannotStartRaisesNamingIt) {
    try {
        Process child({.argv = {"/nonexistent/program"}});
        FAIL();
    } catch (const pr::Error& e) {
        EXPECT_STREQ(e.what(), "Cannot start /nonexistent/program: No such file or directory");
    }
}

TEST(Process, CallsBackEverySliceUntilTheChildEnds) {
    testsupport::TempDir dir;
    const std::string flag = (dir / "flag").string();
    Options options = Shell("while [ ! -e '" + flag + "' ]; do sleep 0.01; done; echo done");
    options.slice = std::chrono::milliseconds(20);
    std::vector<int> ticks;
    options.onSlice = [&](int tick) {
        ticks.push_back(tick);
        if (tick == 3)
            pr::fs::WriteFile(flag, "");
    };
    const auto result = pr::process::Run(options);
    EXPECT_EQ(result.out, "done\n");
    ASSERT_GE(ticks.size(), 3u);
    for (std::size_t i = 0; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i], static_cast<int>(i) + 1);
}

TEST(Process, DoesNotWaitForDescendantsHoldingTheOutput) {
    // The background sleep keeps the pipe open long after the shell has ended.
    const auto result = pr::process::Run(Shell("sleep 60 & echo $!"));
    EXPECT_EQ(result.exitCode, 0);
    const pid_t sleeper = std::stoi(result.out);
    EXPECT_EQ(kill(sleeper, SIGKILL), 0);
}

TEST(Process, DestroyingARunningChildKillsIt) {
    testsupport::TempDir dir;
    const std::string pidFile = (dir / "pid").string();
    pid_t pid = 0;
    {
        Process child(Shell("echo $$ > '" + pidFile + ".tmp'; mv '" + pidFile + ".tmp' '" +
                            pidFile + "'; exec sleep 60"));
        while (!pr::fs::FileExists(pidFile))
            std::this_thread::yield();
        pid = std::stoi(pr::fs::ReadFile(pidFile));
        ASSERT_EQ(kill(pid, 0), 0);
    }
    EXPECT_EQ(kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);

    Process killed(Shell("exec sleep 60"));
    killed.Kill();
    EXPECT_EQ(killed.Wait(), 128 + SIGKILL);
}

} // namespace
