#!/usr/bin/env bash
# Installs what is missing, builds Woundwell and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset default >/dev/null
cmake --build --preset default --target woundwell -j"$(nproc)"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    cat >&2 <<'MSG'
There is no display to show Woundwell on (neither DISPLAY nor WAYLAND_DISPLAY is set).
Start it in a virtual X server instead, for example:
    xvfb-run -a -s '-screen 0 1280x1024x24' build/src/app/woundwell
or run this script again from a desktop session.
MSG
    exit 1
fi
exec build/src/app/woundwell
