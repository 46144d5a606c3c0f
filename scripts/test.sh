#!/usr/bin/env bash
# Installs what is missing, builds Woundwell with its tests and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake --preset ci >/dev/null
cmake --build --preset ci -j"$(nproc)"
ctest --preset ci
