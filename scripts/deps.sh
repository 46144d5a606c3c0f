#!/usr/bin/env bash
# Installs the Debian packages a group of tasks needs, only those not yet installed.
# Usage: scripts/deps.sh build|run|test|bench
set -euo pipefail

build=(cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2)
run=(xvfb xauth)
bench=(libbenchmark-dev libx11-dev xvfb xauth openbox dbus)
test=(xvfb xauth libswe-dev swe-basic-data openbox xdotool x11-utils at-spi2-core
      python3-pyatspi dbus dbus-x11 imagemagick clang libclang-rt-14-dev desktop-file-utils
      appstream dpkg-dev file python3 binutils xdg-utils clang-format libbenchmark-dev)

packages=("${build[@]}")
case "${1:-build}" in
    build) ;;
    run) packages+=("${run[@]}") ;;
    test) packages+=("${test[@]}") ;;
    bench) packages+=("${bench[@]}") ;;
    *) echo "usage: $0 build|run|test|bench" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
