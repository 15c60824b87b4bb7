#include "platform/process/Process.h"

#include "platform/core/Error.h"
#include "platform/fs/Fd.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace pr::process {

namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
    fs::Fd read;
    fs::Fd write;
};

Pipe MakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw Error(std::string("Cannot create a pipe: ") + std::strerror(errno));
    return {fs::Fd(fds[0]), fs::Fd(fds[1])};
}

void SetNonBlocking(const fs::Fd& fd) {
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) | O_NONBLOCK);
}

// posix_spawn's file actions and attributes, destroyed with the object.
class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attr_);
        // The child starts with default signal handling and nothing blocked, whatever we use.
        sigset_t all, none;
        sigfillset(&all);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attr_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

std::vector<std::string> MergedEnvironment(const Options& options) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const auto& [key, value] : options.env)
            replaced = replaced || key == name;
        if (!replaced)
            env.push_back(entry);
    }
    for (const auto& [key, value] : options.env)
        env.push_back(key + "=" + value);
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// A relative program path names a file relative to our folder, not the child's.
std::string ProgramPath(const std::string& program) {
    if (program.find('/') == std::string::npos || program.front() == '/')
        return program;
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd))
        return program;
    return std::string(cwd) + "/" + program;
}

// Writes to a pipe whose reader may be gone, without dying of SIGPIPE.
ssize_t WriteNoSigpipe(int fd, const char* data, std::size_t size) {
    sigset_t pipeSet, old;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &old);
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EPIPE) {
        const timespec zero{};
        sigtimedwait(&pipeSet, nullptr, &zero);
        errno = EPIPE;
    }
    const int saved = errno;
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = saved;
    return n;
}

// Reads what is available; answers false at end of file or on error.
bool Drain(const fs::Fd& fd, std::string& into) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

} // namespace

struct Process::Impl {
    Options options;
    pid_t pid = -1;
    fs::Fd pidfd; // readable once the child has ended
    fs::Fd in, out, err;
    std::size_t inWritten = 0;
    std::string outText, errText;
    std::optional<int> exitCode;

    void Start();
    bool Reap(int flags);
    void FeedInput();
};

void Process::Impl::Start() {
    if (options.argv.empty())
        throw Error("Cannot start a process without a program");
    SpawnSetup setup;
    Pipe outPipe = MakePipe();
    Pipe errPipe = MakePipe();
    std::optional<Pipe> inPipe;
    if (options.stdinText) {
        inPipe = MakePipe();
        posix_spawn_file_actions_adddup2(&setup.actions_, inPipe->read.Get(), 0);
    } else {
        posix_spawn_file_actions_addopen(&setup.actions_, 0, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&setup.actions_, outPipe.write.Get(), 1);
    posix_spawn_file_actions_adddup2(&setup.actions_,
                                     (options.mergeStderr ? outPipe : errPipe).write.Get(), 2);
    if (!options.workingDir.empty())
        posix_spawn_file_actions_addchdir_np(&setup.actions_, options.workingDir.c_str());

    const std::string program = ProgramPath(options.argv.front());
    std::vector<std::string> args = options.argv;
    std::vector<std::string> env = MergedEnvironment(options);
    std::vector<char*> argPointers = Pointers(args);
    std::vector<char*> envPointers = Pointers(env);
    const int rc = posix_spawnp(&pid, program.c_str(), &setup.actions_, &setup.attr_,
                                argPointers.data(), envPointers.data());
    if (rc != 0) {
        pid = -1;
        throw Error("Cannot start " + options.argv.front() + ": " + std::strerror(rc));
    }
    pidfd = fs::Fd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    out = std::move(outPipe.read);
    err = std::move(errPipe.read);
    SetNonBlocking(out);
    SetNonBlocking(err);
    if (inPipe) {
        in = std::move(inPipe->write);
        SetNonBlocking(in);
    }
}

bool Process::Impl::Reap(int flags) {
    if (exitCode)
        return true;
    int status = 0;
    pid_t got;
    do
        got = ::waitpid(pid, &status, flags);
    while (got < 0 && errno == EINTR);
    if (got == 0)
        return false;
    if (got < 0)
        exitCode = -1;
    else if (WIFSIGNALED(status))
        exitCode = 128 + WTERMSIG(status);
    else
        exitCode = WEXITSTATUS(status);
    pidfd.Reset();
    return true;
}

void Process::Impl::FeedInput() {
    const std::string& text = *options.stdinText;
    while (inWritten < text.size()) {
        const ssize_t n =
            WriteNoSigpipe(in.Get(), text.data() + inWritten, text.size() - inWritten);
        if (n > 0) {
            inWritten += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        break; // the child stopped reading
    }
    in.Reset();
}

Process::Process(Options options) : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
    impl_->Start();
}

Process::~Process() {
    if (impl_ && impl_->pid > 0 && !impl_->exitCode)
        Kill();
}

Process::Process(Process&&) noexcept = default;
Process& Process::operator=(Process&&) noexcept = default;

int Process::Wait() {
    Impl& p = *impl_;
    if (p.exitCode)
        return *p.exitCode;
    if (p.in.IsOpen() && p.options.stdinText->empty())
        p.in.Reset();
    const auto slice = std::max(p.options.slice, std::chrono::milliseconds(1));
    auto sliceEnd = Clock::now() + slice;
    int tick = 0;
    // Without a pidfd the end of the child is noticed by polling waitpid this often.
    constexpr std::chrono::milliseconds kReapStep(50);
    while (!p.Reap(WNOHANG)) {
        pollfd fds[4];
        nfds_t count = 0;
        auto watch = [&](const fs::Fd& fd, short events) {
            if (fd.IsOpen())
                fds[count++] = {fd.Get(), events, 0};
        };
        watch(p.pidfd, POLLIN);
        watch(p.out, POLLIN);
        watch(p.err, POLLIN);
        watch(p.in, POLLOUT);
        auto timeout =
            std::chrono::duration_cast<std::chrono::milliseconds>(sliceEnd - Clock::now());
        if (!p.pidfd.IsOpen())
            timeout = std::min(timeout, kReapStep);
        ::poll(fds, count, static_cast<int>(std::max<long>(timeout.count(), 0)));
        if (p.out.IsOpen() && !Drain(p.out, p.outText))
            p.out.Reset();
        if (p.err.IsOpen() && !Drain(p.err, p.errText))
            p.err.Reset();
        if (p.in.IsOpen())
            p.FeedInput();
        if (Clock::now() >= sliceEnd) {
            sliceEnd += slice;
            if (p.options.onSlice && !p.Reap(WNOHANG))
                p.options.onSlice(++tick);
        }
    }
    // The child has ended: take what it left in the pipes, without waiting for descendants
    // that may still hold them open.
    if (p.out.IsOpen())
        Drain(p.out, p.outText);
    if (p.err.IsOpen())
        Drain(p.err, p.errText);
    p.out.Reset();
    p.err.Reset();
    p.in.Reset();
    return *p.exitCode;
}

const std::string& Process::Out() const {
    return impl_->outText;
}

const std::string& Process::Err() const {
    return impl_->errText;
}

void Process::Kill() {
    Impl& p = *impl_;
    if (p.pid <= 0 || p.exitCode)
        return;
    ::kill(p.pid, SIGKILL);
    p.Reap(0);
}

Result Run(Options options) {
    Process child(std::move(options));
    Result result;
    result.exitCode = child.Wait();
    result.out = child.Out();
    result.err = child.Err();
    return result;
}

} // namespace pr::process
