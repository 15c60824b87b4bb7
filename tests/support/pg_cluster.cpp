// The ctest fixture of the shared test cluster: "pg_cluster start" before the database
// tests, "pg_cluster stop" after them.
#include "tests/support/PgCluster.h"

#include <cstring>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2 || (std::strcmp(argv[1], "start") != 0 && std::strcmp(argv[1], "stop") != 0)) {
        std::cerr << "usage: pg_cluster start|stop\n";
        return 2;
    }
    const auto folder = testsupport::PgClusterFolder();
    if (std::strcmp(argv[1], "stop") == 0) {
        testsupport::StopPgCluster(folder);
        return 0;
    }
    try {
        const auto info = testsupport::StartPgCluster(folder);
        std::cout << "test cluster: socket " << info.socketDir << ", port " << info.port << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
}
