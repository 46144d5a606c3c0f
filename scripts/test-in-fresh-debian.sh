#!/usr/bin/env bash
# Runs the README's test command as a newcomer would on a new Debian machine: in a minimal root
# of the given release, made afresh for this run from the Debian mirror this machine's apt uses,
# with git, sudo and certificates added, as root, in a clone of the commit checked out here.
# The root's mounts live in a mount namespace of its own and every process started in it ends
# with it, so nothing outlives the run; the root is removed afterwards, whatever the outcome.
#
# Usage: scripts/test-in-fresh-debian.sh RELEASE    e.g. trixie, bookworm or testing
# Needs root (or sudo) and about 3 GB in ${TMPDIR:-/var/tmp}; installs debootstrap if missing.
# DEBIAN_MIRROR names another mirror. Exits with the test command's status, or 1 where it
# skipped a test.
set -euo pipefail
[[ $# -eq 1 ]] || { echo "usage: $0 RELEASE" >&2; exit 2; }
release=$1
if [[ $(id -u) -ne 0 ]]; then
    exec sudo -- "$0" "$@"
fi
cd "$(dirname "$0")/.."
scripts/deps.sh fresh-root

# The mirror that serves this machine's own release.
if [[ -z ${DEBIAN_MIRROR:-} ]]; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    DEBIAN_MIRROR=$(apt-get indextargets --format '$(REPO_URI)' "Codename: $codename" \
                        'Label: Debian' 'Created-By: Packages' | head -n 1)
    [[ -n $DEBIAN_MIRROR ]] || {
        echo "apt names no Debian mirror for '$codename': set DEBIAN_MIRROR" >&2
        exit 1
    }
fi
commit=$(git rev-parse HEAD)
[[ -z $(git status --porcelain --untracked-files=no) ]] ||
    echo "Note: only what is committed is tested ($commit); the changes here are not." >&2

root=$(mktemp -d "${TMPDIR:-/var/tmp}/woundwell-$release.XXXXXX")
# It becomes /, which every account there must be able to enter (the tests run some as nobody).
chmod 755 "$root"
remove_root() {
    # The mounts were private to the namespace, which has ended: nothing here is mounted.
    rm -rf --one-file-system "$root"
}
trap remove_root EXIT

started=$SECONDS
echo "== Debian $release from $DEBIAN_MIRROR into $root"
debootstrap --variant=minbase --include=git,sudo,ca-certificates "$release" "$root" \
    "$DEBIAN_MIRROR" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root.debootstrap.log" >&2; rm -f "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
echo "   $(cat "$root/etc/debian_version"), made in $((SECONDS - started)) s"
# A mirror that serves a snapshot of a release serves its Release file long after the date it
# is valid until, a week after it was made, and apt refuses it then (debootstrap checks only
# its signature). In this root alone apt takes it as it is, as snapshots are used; the host's
# apt is left as it was.
valid_until=$(sed -n 's/^Valid-Until: //p' "$root"/var/lib/apt/lists/*Release | head -n 1)
if [[ -n $valid_until ]] && [[ $(date -d "$valid_until" +%s) -lt $(date +%s) ]]; then
    echo "   the mirror serves a snapshot, its Release file expired on" \
        "$(date -u -d "$valid_until" +%F): apt in the root accepts it"
    echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/50snapshot-mirror"
fi
git clone --quiet --no-hardlinks . "$root/root/woundwell"
git -C "$root/root/woundwell" checkout --quiet --detach "$commit"

# In a new mount and process namespace: the system folders the tests use, then the test
# command in the root, with an environment made from scratch and no standard input.
status=0
unshare --mount --pid --fork --propagation private -- bash -euo pipefail -c '
    root=$1
    mount -t proc proc "$root/proc"
    mount -t sysfs sysfs "$root/sys"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    mount -t tmpfs -o mode=755 tmpfs "$root/run"
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI="$2" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c "cd /root/woundwell && scripts/test.sh" </dev/null
' bash "$root" "${CI:-}" || status=$?
# The test command installed all the tests need: here, a test skipped is a test that failed.
if [[ $status -eq 0 ]] &&
    grep -h '^SKIPPED: ' "$root"/root/woundwell/build-*/Testing/Temporary/LastTest.log; then
    echo "== Debian $release: tests were skipped that a fresh system must run" >&2
    status=1
fi
echo "== Debian $release: finished with status $status after $((SECONDS - started)) s"
exit "$status"
