#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

// Where a running private cluster answers.
struct PgClusterInfo {
    std::string socketDir; // PGHOST: the unix socket folder
    int port = 0;          // also listened on at 127.0.0.1
    std::string adminUser; // the one role with trust access, on the socket only
};

// A loopback TCP port nobody listens on at the moment.
int FreeLoopbackPort();

// The cluster folder of this build tree.
std::filesystem::path PgClusterFolder();

// Removes whatever an earlier run left in the folder (stopping a stale server), then runs
// initdb and starts a server on a private socket folder and a free loopback port. As root,
// initdb and the server run as the postgres user.
PgClusterInfo StartPgCluster(const std::filesystem::path& folder);

// Stops the server of the folder (if any) and removes its data. Never throws.
void StopPgCluster(const std::filesystem::path& folder) noexcept;

// Asks the folder's server to shut down once its last session ends, without waiting;
// meanwhile it refuses new sessions as shutting down.
void RequestSmartShutdown(const std::filesystem::path& folder);

// The cluster recorded in the folder, when its server answers.
std::optional<PgClusterInfo> RunningPgCluster(const std::filesystem::path& folder);

// The running cluster of this build tree. When none runs (a test executable started outside
// ctest) one is started for this process and stopped when the process exits.
const PgClusterInfo& EnsurePgCluster();

} // namespace testsupport
