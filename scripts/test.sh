#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors and runs every test.
# The tests start (and stop) their own private PostgreSQL cluster.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh -DPR_WERROR=ON
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600
