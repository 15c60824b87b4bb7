#include "tests/support/PgCluster.h"

#include <libpq-fe.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace testsupport {
namespace {

namespace fs = std::filesystem;

const std::string kBin = "/usr/lib/postgresql/15/bin/";
const std::string kAdmin = "pr_admin";
// Longest unix socket path the kernel takes is 107 bytes; the server appends this name.
const std::string kSocketName = "/.s.PGSQL.65535";

// Who runs initdb and the server: as root, the postgres user.
struct ServerUser {
    bool switchUser = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

ServerUser GetServerUser() {
    ServerUser user;
    if (geteuid() != 0)
        return user;
    const passwd* pw = getpwnam("postgres");
    if (!pw)
        throw std::runtime_error("tests run as root but there is no postgres user");
    user.switchUser = true;
    user.uid = pw->pw_uid;
    user.gid = pw->pw_gid;
    return user;
}

void GiveTo(const ServerUser& user, const fs::path& path) {
    if (user.switchUser && chown(path.c_str(), user.uid, user.gid) != 0)
        throw std::runtime_error("cannot hand " + path.string() + " to the postgres user");
}

// Runs a command as the server's user, output appended to the log; answers its exit code.
int Run(std::vector<std::string> argv, const ServerUser& user, const fs::path& log) {
    if (user.switchUser)
        argv.insert(argv.begin(), {"runuser", "-u", "postgres", "--"});
    std::vector<char*> args;
    for (auto& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Tail(const fs::path& log) {
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    std::string all = text.str();
    return all.size() > 3000 ? all.substr(all.size() - 3000) : all;
}

fs::path StateFile(const fs::path& folder) {
    return folder / "cluster.env";
}

std::string StateValue(const fs::path& folder, const std::string& key) {
    std::ifstream in(StateFile(folder));
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return line.substr(key.size() + 1);
    return {};
}

// The folder holding the server's data, socket and log: the cluster folder itself, or a
// private folder under /tmp when the server's user cannot reach the build tree or the socket
// path would be too long.
fs::path ServerFolder(const fs::path& folder) {
    const std::string server = StateValue(folder, "server");
    return server.empty() ? folder : fs::path(server);
}

std::optional<PgClusterInfo> ReadState(const fs::path& folder) {
    PgClusterInfo info;
    info.adminUser = kAdmin;
    info.socketDir = StateValue(folder, "socket");
    const std::string port = StateValue(folder, "port");
    if (info.socketDir.empty() || port.empty())
        return std::nullopt;
    info.port = std::stoi(port);
    return info;
}

// Serialises starting and stopping between processes of one build tree.
class FolderLock {
  public:
    explicit FolderLock(const fs::path& folder) {
        fs::create_directories(folder.parent_path());
        const fs::path lock = folder.string() + ".lock";
        fd_ = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0 || flock(fd_, LOCK_EX) != 0)
            throw std::runtime_error("cannot lock " + lock.string());
    }
    ~FolderLock() { close(fd_); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
};

void StopLocked(const fs::path& folder) noexcept {
    try {
        const fs::path server = ServerFolder(folder);
        const fs::path data = server / "data";
        if (fs::exists(data / "postmaster.pid")) {
            const ServerUser user = GetServerUser();
            const fs::path log = folder / "commands.log";
            const std::string ctl = kBin + "pg_ctl";
            if (Run({ctl, "-D", data, "-m", "fast", "-w", "-t", "60", "stop"}, user, log) != 0)
                Run({ctl, "-D", data, "-m", "immediate", "-w", "-t", "60", "stop"}, user, log);
        }
        if (server != folder) {
            fs::remove_all(server);
        } else {
            fs::remove_all(data);
            fs::remove_all(folder / "sock");
        }
        fs::remove(StateFile(folder));
    } catch (...) {
    }
}

PgClusterInfo StartLocked(const fs::path& folder) {
    StopLocked(folder);
    fs::remove_all(folder);
    const ServerUser user = GetServerUser();
    fs::create_directories(folder);
    GiveTo(user, folder);
    const fs::path log = folder / "commands.log";

    fs::path server = folder;
    const bool shortPath = (folder / "sock").string().size() + kSocketName.size() < 100;
    if (!shortPath ||
        (user.switchUser && Run({"test", "-w", folder, "-a", "-x", folder}, user, log) != 0)) {
        std::string templ = "/tmp/prpg.XXXXXX";
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("cannot create a folder for the test server");
        server = templ;
        GiveTo(user, server);
    }
    std::ofstream(StateFile(folder), std::ios::trunc) << "server=" << server.string() << "\n";

    PgClusterInfo info;
    info.adminUser = kAdmin;
    const fs::path socketDir = server / "sock";
    fs::create_directory(socketDir);
    fs::permissions(socketDir, fs::perms::owner_all);
    GiveTo(user, socketDir);
    info.socketDir = socketDir.string();

    const fs::path data = server / "data";
    if (Run({kBin + "initdb", "-D", data, "-U", kAdmin, "-A", "trust", "-E", "UTF8",
             "--locale=C.UTF-8", "--lc-messages=C", "--no-sync"},
            user, log) != 0)
        throw std::runtime_error("initdb failed:\n" + Tail(log));

    // Only the fixture's admin role is trusted; application roles log on with a password.
    std::ofstream(data / "pg_hba.conf", std::ios::trunc)
        << "local all " << kAdmin << " trust\n"
        << "local all all scram-sha-256\n"
        << "host all all 127.0.0.1/32 scram-sha-256\n";
    std::ofstream(data / "postgresql.conf", std::ios::app)
        << "\nlisten_addresses = '127.0.0.1'\n"
        << "unix_socket_directories = '" << info.socketDir << "'\n"
        << "lc_messages = 'C'\n"
        << "password_encryption = 'scram-sha-256'\n"
        << "fsync = off\nsynchronous_commit = off\nfull_page_writes = off\n"
        << "max_connections = 200\n"
        << "include_if_exists 'port.conf'\n";

    const fs::path serverLog = server / "server.log";
    for (int attempt = 0;; ++attempt) {
        info.port = FreeLoopbackPort();
        { std::ofstream(data / "port.conf", std::ios::trunc) << "port = " << info.port << "\n"; }
        GiveTo(user, data / "port.conf");
        if (Run({kBin + "pg_ctl", "-D", data, "-l", serverLog, "-w", "-t", "60", "start"}, user,
                log) == 0)
            break;
        if (attempt == 4)
            throw std::runtime_error("the test server did not start:\n" + Tail(serverLog));
    }
    std::ofstream(StateFile(folder), std::ios::app)
        << "socket=" << info.socketDir << "\nport=" << info.port << "\n";
    return info;
}

} // namespace

int FreeLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(0x7f000001u);
    socklen_t len = sizeof addr;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0)
            close(fd);
        throw std::runtime_error("cannot find a free loopback port");
    }
    close(fd);
    return ntohs(addr.sin_port);
}

fs::path PgClusterFolder() {
    return fs::path(PR_TEST_BINARY_DIR) / "pgtest";
}

PgClusterInfo StartPgCluster(const fs::path& folder) {
    FolderLock lock(folder);
    return StartLocked(folder);
}

void StopPgCluster(const fs::path& folder) noexcept {
    try {
        FolderLock lock(folder);
        StopLocked(folder);
    } catch (...) {
    }
}

void RequestSmartShutdown(const fs::path& folder) {
    if (Run({kBin + "pg_ctl", "-D", ServerFolder(folder) / "data", "-m", "smart", "-W", "stop"},
            GetServerUser(), folder / "commands.log") != 0)
        throw std::runtime_error("pg_ctl stop failed:\n" + Tail(folder / "commands.log"));
}

std::optional<PgClusterInfo> RunningPgCluster(const fs::path& folder) {
    auto info = ReadState(folder);
    if (!info)
        return std::nullopt;
    const std::string port = std::to_string(info->port);
    const char* keys[] = {"host", "port", "user", "dbname", nullptr};
    const char* values[] = {info->socketDir.c_str(), port.c_str(), kAdmin.c_str(), "postgres",
                            nullptr};
    if (PQpingParams(keys, values, 0) != PQPING_OK)
        return std::nullopt;
    return info;
}

const PgClusterInfo& EnsurePgCluster() {
    static const PgClusterInfo info = [] {
        const fs::path folder = PgClusterFolder();
        if (auto running = RunningPgCluster(folder))
            return *running;
        FolderLock lock(folder);
        if (auto running = RunningPgCluster(folder))
            return *running;
        std::cerr << "No test cluster runs (not started by ctest): starting one in " << folder
                  << " for this process.\n";
        PgClusterInfo started = StartLocked(folder);
        std::atexit([] { StopPgCluster(PgClusterFolder()); });
        return started;
    }();
    return info;
}

} // namespace testsupport
