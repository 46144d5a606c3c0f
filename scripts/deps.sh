#!/usr/bin/env bash
# Installs the Debian packages a group of tasks needs, only those not yet installed, and says
# how many packages that means and how much it downloads before it starts.
# Usage: scripts/deps.sh build|run|test|bench
set -euo pipefail

build=(cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2)
run=(xvfb xauth)
bench=(libbenchmark-dev libx11-dev xvfb xauth openbox x11-utils dbus python3)
test=(xvfb xauth libswe-dev swe-basic-data openbox xdotool x11-utils x11-xkb-utils at-spi2-core
      python3-pyatspi dbus dbus-x11 imagemagick clang libclang-rt-14-dev desktop-file-utils
      appstream dpkg-dev file python3 binutils xdg-utils clang-format libbenchmark-dev
      libx11-dev devscripts)

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

echo "Missing Debian packages: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    how="sudo apt-get install --no-install-recommends ${missing[*]}"
    if ! command -v sudo >/dev/null; then
        echo "Installing them needs root, and sudo is not installed. As root, run:" >&2
        echo "    ${how#sudo }" >&2
        exit 1
    fi
    # Without a terminal, sudo cannot ask for a password: it would fail or seem to hang.
    if ! sudo -n true 2>/dev/null && [[ ! -t 0 ]]; then
        echo "Installing them needs root, and sudo wants a password but there is no terminal" >&2
        echo "to ask on. Run this from a terminal, or install them first with:" >&2
        echo "    $how" >&2
        exit 1
    fi
    sudo=(sudo)
fi

echo "Updating the package lists ..."
"${sudo[@]}" apt-get update -qq
count=$(apt-get -s install --no-install-recommends "${missing[@]}" | grep -c '^Inst ' || true)
download=$(apt-get --print-uris -qq install --no-install-recommends "${missing[@]}" |
               awk '{ bytes += $3 }
                    END { if (bytes < 1e6) printf "%.0f kB", bytes / 1e3
                          else printf "%.0f MB", bytes / 1e6 }')
echo "Installing them and what they need: $count packages in all, $download to download ..."
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends \
    "${missing[@]}"
