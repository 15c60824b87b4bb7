#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run its demo.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config ninja-build ccache \
  libpq-dev postgresql postgresql-contrib \
  libzip-dev libxml2-dev libgcrypt20-dev \
  qt6-base-dev libgl-dev \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  zip unzip xvfb xauth procps >/dev/null
