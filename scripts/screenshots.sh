#!/usr/bin/env bash
# Takes the screenshots of Woundwell's four windows for the documentation and the AppStream
# metainfo: the birth-data window with a name and a date entered, the result window, the about
# window and the farewell window. Builds nothing; give it a built program.
#
# Usage: scripts/screenshots.sh [PROGRAM [OUTPUT_DIR]]
#   PROGRAM     default build/src/woundwell, else build-ci/src/woundwell
#   OUTPUT_DIR  default docs/screenshots; gets main.png, result.png, about.png, farewell.png
#
# It runs the program in its own virtual X server with the openbox window manager (so the
# pictures show a window frame), in a throw-away home whose settings keep the update reminder
# away, and with BROWSER=true so that nothing opens a web page.
# Needs: xvfb, openbox, xdotool, imagemagick (scripts/deps.sh test installs them).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-}
if [[ -z $program ]]; then
    for candidate in "$here/build/src/woundwell" "$here/build-ci/src/woundwell"; do
        if [[ -x $candidate ]]; then
            program=$candidate
            break
        fi
    done
fi
[[ -n $program && -x $program ]] || {
    echo "screenshots.sh: no program to run (build it first or give its path)" >&2
    exit 2
}
out=${2:-$here/docs/screenshots}

for tool in Xvfb openbox xdotool import; do
    command -v "$tool" >/dev/null || {
        echo "screenshots.sh: $tool not found; run scripts/deps.sh test" >&2
        exit 1
    }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/woundwell-screenshots.XXXXXX")
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        [[ -n ${pids[i]:-} ]] || continue
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

die() {
    echo "screenshots.sh: $*" >&2
    exit 1
}

# An X server of its own on a free display number; 96 dots per inch, the resolution for which
# the window layouts were drawn.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$work/display" </dev/null \
    >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
display=$(head -n 1 "$work/display" 2>/dev/null || true)
[[ -n $display ]] || die "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display"
unset WAYLAND_DISPLAY

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Woundwell" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The last update reminder was today: no question before the first window.
printf '[Settings]\nDuration=%s\n' "$(date +%F)" >"$XDG_CONFIG_HOME/Woundwell/Woundwell.conf"
export BROWSER=true QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1 LANG=C.UTF-8

openbox --sm-disable </dev/null >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep 'window id' >/dev/null && break
    sleep 0.1
done

"$program" </dev/null >"$work/program.log" 2>&1 &
program_pid=$!
program_slot=${#pids[@]}
pids+=("$program_pid")

visible_windows() {
    xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | sort || true
}

# Waits for a window of the program that was not visible before (given as a list of ids),
# waits for it to be painted and prints its id.
wait_for_new_window() {
    local before=$1 window
    for _ in $(seq 100); do
        window=$(comm -13 <(echo "$before") <(visible_windows) | head -n 1)
        if [[ -n $window ]]; then
            xdotool windowactivate --sync "$window" 2>/dev/null || true
            sleep 1
            echo "$window"
            return 0
        fi
        kill -0 "$program_pid" 2>/dev/null || die "the program ended: $(cat "$work/program.log")"
        sleep 0.1
    done
    die "no new window appeared"
}

wait_until_gone() {
    local window=$1
    for _ in $(seq 100); do
        visible_windows | grep -x "$window" >/dev/null || return 0
        sleep 0.1
    done
    die "window $window did not close"
}

# With the window manager's frame (import finds it through the window's parent).
capture() {
    import -frame -window "$1" "$work/$2"
    echo "$2: $(identify -format '%w x %h' "$work/$2")"
}

# Birth-data window: the name box has the focus; the closed lists pick an item by typing the
# start of its text.
main=$(wait_for_new_window "")
xdotool type --delay 60 "ANN LEE"
xdotool key Tab
xdotool type --delay 60 "7"
xdotool key Tab
xdotool type --delay 60 "June"
xdotool key Tab
xdotool type --delay 60 "1933"
sleep 0.5
capture "$main" main.png

# Help menu, About Software; Enter presses OK.
before=$(visible_windows)
xdotool key alt+h
sleep 0.5
xdotool key a
about=$(wait_for_new_window "$before")
capture "$about" about.png
xdotool key Return
wait_until_gone "$about"

# Alt+W presses "Find My Woundwell" (Enter would press Exit from the lists).
before=$(visible_windows)
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key alt+w
result=$(wait_for_new_window "$before")
capture "$result" result.png

# Esc presses the result window's Exit, which shows the farewell window.
before=$(visible_windows)
xdotool key Escape
farewell=$(wait_for_new_window "$before")
capture "$farewell" farewell.png

# Leave through the farewell window's Exit button (Alt+X).
xdotool key alt+x
for _ in $(seq 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then
    echo "screenshots.sh: the program did not end by itself" >&2
else
    # Reaped here, so that cleanup does not signal a process that gets its number next.
    wait "$program_pid" 2>/dev/null || true
    unset 'pids[program_slot]'
fi

mkdir -p "$out"
for picture in main.png result.png about.png farewell.png; do
    cp "$work/$picture" "$out/$picture"
done
echo "Screenshots in $out"
