#!/usr/bin/env bash
# Installs what Tellwick needs to build, run and test on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  ca-certificates cmake ninja-build g++ pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6serialport6-dev \
  libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc qt6-qpa-plugins libgl1-mesa-dev \
  libbenchmark-dev \
  dovecot-core dovecot-pop3d \
  postgresql unixodbc libsqliteodbc sqlite3 \
  fonts-dejavu-core xvfb xauth \
  clang-14 libclang-rt-14-dev clang-tools-14 llvm-14 >/dev/null
# An independent AT client that the tests run against the phone simulator.
$SUDO apt-get install -y -qq --no-install-recommends gammu >/dev/null
