#!/usr/bin/env bash
# Installs the Debian packages a group of tasks needs, only those not yet installed, and says
# how many packages that means and how much it downloads before it starts.
# Usage: scripts/deps.sh build|run|test|bench|fresh-root
set -euo pipefail

# Every message of this script goes to standard error, so that a list of packages and the
# advice about it are never split between two streams; standard output carries apt's own.
say() {
    echo "$@" >&2
}

build=(cmake g++ make pkg-config qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2)
# Qt's Wayland plugin lets the program start on a Wayland session without an X server.
run=(xvfb xauth qt6-wayland)
bench=(libbenchmark-dev libx11-dev xvfb xauth openbox x11-utils dbus python3)
test=(xvfb xauth libswe-dev swe-basic-data openbox xdotool x11-utils x11-xkb-utils at-spi2-core
      python3-pyatspi dbus dbus-x11 imagemagick clang libclang-rt-dev desktop-file-utils
      appstream dpkg-dev file python3 binutils xdg-utils clang-format libbenchmark-dev
      libx11-dev qt6ct devscripts orca gnome-shell kwin-wayland xwayland qt6-wayland)
# What scripts/test-in-fresh-debian.sh needs besides git and what every Debian has.
fresh_root=(debootstrap)

case "${1:-build}" in
    build) packages=("${build[@]}") ;;
    run) packages=("${build[@]}" "${run[@]}") ;;
    test) packages=("${build[@]}" "${test[@]}") ;;
    bench) packages=("${build[@]}" "${bench[@]}") ;;
    fresh-root) packages=("${fresh_root[@]}") ;;
    *) say "usage: $0 build|run|test|bench|fresh-root"; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

say "Missing Debian packages: ${missing[*]}"
# What root has to run. A fresh system has never read its package lists: the update comes first.
as_root=("apt-get update" "apt-get install --no-install-recommends ${missing[*]}")
print_commands() {
    local command
    for command in "${as_root[@]}"; do
        say "    $1$command"
    done
}
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        say "Installing them needs root, and sudo is not installed. As root, run:"
        print_commands ""
        exit 1
    fi
    if ! sudo -n true 2>/dev/null; then
        # Asked only to validate, sudo tells a user it has no rule for at once, without asking
        # for a password; one it has a rule for is told that a password is required.
        verdict=$(LC_ALL=C sudo -n -v 2>&1 || true)
        if [[ $verdict == *"may not run sudo"* || $verdict == *"not in the sudoers"* ]]; then
            user=$(id -un)
            say "Installing them needs root, and your account ($user) may not use sudo here."
            say "An administrator has to install them, as root:"
            print_commands ""
            say "or let you use sudo (you then log in again) with:"
            say "    usermod -aG sudo $user"
            exit 1
        fi
        # Without a terminal, sudo cannot ask for the password: it would fail or seem to hang.
        if [[ ! -t 0 ]]; then
            say "Installing them needs root, and sudo wants a password but there is no terminal"
            say "to ask on. Run this from a terminal, or install them first with:"
            print_commands "sudo "
            exit 1
        fi
    fi
    sudo=(sudo)
fi

# Another program (a desktop's updater, unattended-upgrades) may hold a package lock for a few
# minutes. apt-get waits for dpkg's lock itself, saying so, where it is given a time; for the
# locks of the package lists and of the download folder it fails at once, and is tried again.
lock_wait=600
apt_get() {
    local errors lock deadline=$((SECONDS + lock_wait)) said=""
    errors=$(mktemp)
    # Through env, since sudo leaves the caller's environment behind.
    until "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout="$lock_wait" "$@" 2>"$errors"; do
        if ! grep -q '^E: Could not get lock' "$errors" || [[ $SECONDS -ge $deadline ]]; then
            cat "$errors" >&2
            rm -f "$errors"
            return 1
        fi
        if [[ -z $said ]]; then
            lock=$(sed -n 's/^E: Could not get lock //p' "$errors" | head -n 1)
            say "Waiting, at most $((lock_wait / 60)) minutes, for a package lock: $lock"
            said=yes
        fi
        sleep 5
    done
    cat "$errors" >&2
    rm -f "$errors"
}

say "Updating the package lists ..."
apt_get update -qq
count=$(apt-get -s install --no-install-recommends "${missing[@]}" | grep -c '^Inst ' || true)
download=$(apt-get --print-uris -qq install --no-install-recommends "${missing[@]}" |
               awk '{ bytes += $3 }
                    END { if (bytes < 1e6) printf "%.0f kB", bytes / 1e3
                          else printf "%.0f MB", bytes / 1e6 }')
say "Installing them and what they need: $count packages in all, $download to download ..."
apt_get install -y --no-install-recommends "${missing[@]}"
