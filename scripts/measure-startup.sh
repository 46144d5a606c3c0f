#!/usr/bin/env bash
# Measures how long Woundwell takes from process start until its first window is mapped, and
# the memory it holds then, against a bare Qt dialog of the same size, on a private X server
# in a fresh home. bench/startup_watch.cpp says how each figure is taken.
#
# Usage: scripts/measure-startup.sh [options] [PROGRAM]
#   -n RUNS     measured runs of each program (default 20), after 2 unmeasured warm-up runs
#   -s MS       how long after the mapping to read the memory figures (default 500)
#   -b DIR      the build with startup_watch and startup_floor (default build-bench, made by
#               cmake --preset bench && cmake --build --preset bench)
#   --wm        run the openbox window manager (default: none)
#   --no-bus    no session bus (default: a private one, as on a desktop)
# PROGRAM defaults to DIR/src/app/woundwell. For steadier figures on a shared machine, run the
# whole at a higher priority: sudo nice -n -10 scripts/measure-startup.sh
# Exit status: 0 when both targets are met, 3 when one is missed, 1 or 2 when it failed.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build-bench
watch_options=()
desktop_options=()
program=
while [[ $# -gt 0 ]]; do
    case $1 in
        -n | -s) watch_options+=("$1" "$2"); shift 2 ;;
        -b) build=$2; shift 2 ;;
        --wm) desktop_options+=(--window-manager); shift ;;
        --no-bus) desktop_options+=(--no-bus); shift ;;
        -*) sed -n '2,/^set /{/^set /d;s/^# \{0,1\}//;p}' "$0" >&2; exit 2 ;;
        *) program=$1; shift ;;
    esac
done
program=$(realpath -m "${program:-$build/src/app/woundwell}")
for binary in "$program" "$build/bench/startup_watch" "$build/bench/startup_floor"; do
    [[ -x $binary ]] || { echo "$binary is not built (see the usage in $0)" >&2; exit 1; }
done

exec python3 "$repo/tests/harness/woundwell_desktop.py" "${desktop_options[@]}" run -- \
    "$build/bench/startup_watch" "${watch_options[@]}" "$build/bench/startup_floor" "$program"
