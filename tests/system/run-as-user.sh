#!/bin/sh
# Runs a test program as an ordinary user: as itself when it is one, as nobody when it is root,
# since permissions do not stop root. Exits 77 (skipped) with the reason on the first line of its
# output when it cannot.
# Usage: run-as-user.sh PROGRAM [ARGUMENTS...]
set -eu
program=$1
given=$1
shift
if [ "$(id -u)" -ne 0 ]; then
    exec "$program" "$@"
fi

skip() {
    echo "SKIPPED: $(basename "$program") as an ordinary user: $*"
    exit 77
}
as_nobody() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
}
command -v setpriv >/dev/null || skip "setpriv (util-linux) is missing, so root cannot run it as the user nobody"
id nobody >/dev/null 2>&1 || skip "there is no user nobody to run as"

# A clone in root's home (mode 700) is out of nobody's reach: run a copy from a folder it can read.
if ! as_nobody test -x "$program"; then
    copy=$(mktemp -d "${TMPDIR:-/tmp}/woundwell-as-user.XXXXXX")
    trap 'rm -rf "$copy"' EXIT
    chmod 755 "$copy"
    cp "$program" "$copy/"
    program=$copy/$(basename "$program")
    as_nobody test -x "$program" ||
        skip "the user nobody can run neither $given nor a copy of it in $copy"
fi
as_nobody "$program" "$@"
