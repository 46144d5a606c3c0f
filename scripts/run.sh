#!/usr/bin/env bash
# Installs what is missing, builds Woundwell and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default --target woundwell -j"$(nproc)"
program=$PWD/build/src/app/woundwell
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    # The full path, so that the command works from wherever this script was started.
    {
        echo "There is no display to show Woundwell on (neither DISPLAY nor WAYLAND_DISPLAY is set)."
        echo "Start it in a virtual X server instead, for example:"
        echo "    xvfb-run -a -s '-screen 0 1280x1024x24' $(printf %q "$program")"
        echo "or run this script again from a desktop session."
    } >&2
    exit 1
fi
exec "$program"
