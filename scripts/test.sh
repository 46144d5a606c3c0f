#!/usr/bin/env bash
# Installs what is missing, builds Woundwell with its tests and runs every test with CTest:
# the ordinary build (warnings as errors), the same suites built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
jobs=$(nproc)

# The ordinary run goes last, so its summary closes the output.
for preset in fuzz asan ci; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
    status=0
    ctest --preset "$preset" || status=$?
    # CTest shows no output of a skipped test; the reason its first line gives is in the log.
    grep -h '^SKIPPED: ' "build-$preset/Testing/Temporary/LastTest.log" || true
    [[ $status -eq 0 ]] || exit "$status"
done
