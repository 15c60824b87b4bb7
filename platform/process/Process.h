#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pr::process {

struct Options {
    // Program and arguments; a program without "/" is looked up on PATH.
    std::vector<std::string> argv{};
    // Added to (or replacing in) the inherited environment.
    std::vector<std::pair<std::string, std::string>> env{};
    // Working folder of the child; empty keeps ours.
    std::string workingDir{};
    // Fed to the child's standard input, which is then closed; without it the input is empty.
    std::optional<std::string> stdinText{};
    // Standard error goes into the standard output capture, in order.
    bool mergeStderr = false;
    // While waiting, onSlice is called after every slice the child is still running,
    // with the number of slices so far (1, 2, ...).
    std::chrono::milliseconds slice{1000};
    std::function<void(int)> onSlice{};
};

// A child process with captured output. Destroying it while the child runs kills the child.
class Process {
  public:
    // Starts the child; raises pr::Error naming the program when it cannot be started.
    explicit Process(Options options);
    ~Process();
    Process(Process&&) noexcept;
    Process& operator=(Process&&) noexcept;

    // Feeds the input, captures the output until the child ends and answers its exit code
    // (128 + signal number when a signal ended it). Further calls answer the same code.
    int Wait();
    // Output captured so far (complete after Wait).
    const std::string& Out() const;
    const std::string& Err() const;
    // Ends the child at once (SIGKILL) and reaps it.
    void Kill();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

struct Result {
    int exitCode = 0;
    std::string out;
    std::string err;
};

// Starts, waits and returns the exit code and output.
Result Run(Options options);

} // namespace pr::process
