#include "platform/registry/RegistryFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using pr::registry::RegistryFile;

const char* const kRegistry = "[SOFTWARE\\Mirelta\\InstalledComponents\\SERVER]\n"
                              "PATH = /usr/lib/postgresql/15 \n"
                              "SERVICE_STATUS=pg_ctl -D /srv/app/pgdata status\n"
                              "QUOTED='kept'\n"
                              "[SOFTWARE\\Other]\n";

TEST(RegistryFile, KeysAreSectionsAndValuesAreRawText) {
    testsupport::TempDir dir;
    testsupport::WriteFile(dir / "registry.ini", kRegistry);
    const RegistryFile registry((dir / "registry.ini").string());
    EXPECT_TRUE(registry.KeyExists("software\\mirelta\\installedcomponents\\server"));
    EXPECT_TRUE(registry.KeyExists("SOFTWARE\\Other"));
    EXPECT_FALSE(registry.KeyExists("SOFTWARE\\Mirelta\\InstalledComponents\\SERVER_PLT"));
    const std::string key = "SOFTWARE\\Mirelta\\InstalledComponents\\SERVER";
    EXPECT_EQ(registry.ReadString(key, "path"), "/usr/lib/postgresql/15");
    EXPECT_EQ(registry.ReadString(key, "SERVICE_STATUS"), "pg_ctl -D /srv/app/pgdata status");
    EXPECT_EQ(registry.ReadString(key, "QUOTED"), "'kept'");
    EXPECT_EQ(registry.ReadString(key, "SERVICE_START"), std::nullopt);
    EXPECT_EQ(registry.ReadString("SOFTWARE\\Other", "PATH"), std::nullopt);
}

TEST(RegistryFile, MissingFileHoldsNoKeys) {
    const RegistryFile registry("/nonexistent/registry.ini");
    EXPECT_FALSE(registry.KeyExists("SOFTWARE\\Other"));
    EXPECT_EQ(registry.ReadString("SOFTWARE\\Other", "PATH"), std::nullopt);
    EXPECT_FALSE(registry.CanReadWrite());
}

TEST(RegistryFile, PathComesFromTheEnvironment) {
    const char* saved = std::getenv("PATCHRUNNER_REGISTRY");
    const std::string restore = saved ? saved : "";
    setenv("PATCHRUNNER_REGISTRY", "/srv/registry.ini", 1);
    EXPECT_EQ(RegistryFile().Path(), "/srv/registry.ini");
    unsetenv("PATCHRUNNER_REGISTRY");
    EXPECT_EQ(RegistryFile().Path(), "/etc/patchrunner/registry.ini");
    if (saved)
        setenv("PATCHRUNNER_REGISTRY", restore.c_str(), 1);
}

// Answers the check as an unprivileged user: root may write any file, so as root the check
// runs in a child that has given up root.
bool AsUnprivilegedUser(const std::function<bool()>& check) {
    if (geteuid() != 0)
        return check();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(check() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "cannot drop privileges";
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(RegistryFile, ReadAndWriteAccessNeedsBothPermissions) {
    testsupport::TempDir dir;
    chmod(dir.path().c_str(), 0755);
    const std::string path = (dir / "registry.ini").string();
    testsupport::WriteFile(path, kRegistry);
    const RegistryFile registry(path);
    const std::pair<mode_t, bool> cases[] = {{0666, true}, {0444, false}, {0222, false}};
    for (const auto& [mode, expected] : cases) {
        chmod(path.c_str(), mode);
        EXPECT_EQ(AsUnprivilegedUser([&registry] { return registry.CanReadWrite(); }), expected)
            << std::oct << mode;
    }
}

} // namespace
