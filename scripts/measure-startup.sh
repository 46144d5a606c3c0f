#!/usr/bin/env bash
# Measures how long Woundwell takes from process start until its first window is mapped on an
# X server, and how much memory it holds then, against a floor: a bare Qt 6 Widgets program,
# built here with the same compiler and flags, that shows one dialog of the same client size
# (491 x 362 plus a menu bar) and nothing else.
#
# Usage: scripts/measure-startup.sh [options] [path/to/woundwell]
#   -n RUNS       measured runs of each program (default 20), after 2 unmeasured warm-up runs
#   -s MS         how long to wait after the window is mapped before reading the memory figures
#                 (default 500), so that the first paint and anything deferred have happened
#   --wm NAME     none (default) or openbox: the window manager on the X server
#   --dbus MODE   private (default when dbus-daemon is installed): a session bus of its own, as
#                 on a desktop; none: no session bus (DBUS_SESSION_BUS_ADDRESS=disabled:)
#   --nice N      run the X server and the programs at this nice level (e.g. -10 as root), so
#                 that other work on a shared machine disturbs the figures less
#   --keep        keep the temporary directory and print its path
# The program defaults to build-bench/src/woundwell, then build/src/woundwell. Build it with
#   cmake -B build-bench -DWOUNDWELL_BUILD_BENCH=ON -DWOUNDWELL_BUILD_TESTS=OFF \
#         -DCMAKE_BUILD_TYPE=Release && cmake --build build-bench -j2 --target woundwell
#
# How the moment of mapping is taken: a small X client (built here too) selects
# SubstructureNotify on the root window, and StructureNotify on every new top-level window so
# that a reparenting window manager changes nothing. It reads the clock, forks and execs the
# program, then sleeps in poll() on its X connection; the server's MapNotify for the first
# window whose _NET_WM_PID is the child's wakes it, and it reads the clock again. No polling
# interval is involved: the resolution is the wake-up latency, well under a millisecond. That
# moment is when the window appears; its first paint follows after the Expose round trip.
#
# The CPU time the process (all its threads) has used by the moment of mapping is read from
# /proc/<pid>/task/*/schedstat at that moment: a figure that other work on a busy machine
# disturbs far less than the wall-clock time.
#
# How the memory is taken: VmHWM (the peak resident set so far) and VmRSS of the process from
# /proc/<pid>/status, read -s milliseconds after the mapping, just before the process is killed.
#
# Each run has its own HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR in the
# temporary directory; the settings file holds today's date, so the update reminder stays away,
# and the lock file of the last run is removed before the next. Runs alternate between the two
# programs, so that a change in the machine's load affects both alike.
#
# Needs: Xvfb (xvfb), a C compiler and libX11 headers (libx11-dev), cmake, Qt 6 development
# files; openbox for --wm openbox.
#
# Exit status: 0 when both targets are met (start-up within 1.2 x the floor's median, peak
# memory within 8 MB of the floor's), 3 when one is missed, 1 or 2 when the measurement failed.
set -euo pipefail

runs=20
settle_ms=500
wm=none
dbus=auto
keep=0
nice_level=
program=

usage() { sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0"; }

while [[ $# -gt 0 ]]; do
    case $1 in
        -n) runs=$2; shift 2 ;;
        -s) settle_ms=$2; shift 2 ;;
        --wm) wm=$2; shift 2 ;;
        --dbus) dbus=$2; shift 2 ;;
        --nice) nice_level=$2; shift 2 ;;
        --keep) keep=1; shift ;;
        -h|--help) usage; exit 0 ;;
        -*) echo "unknown option $1" >&2; usage >&2; exit 2 ;;
        *) program=$1; shift ;;
    esac
done

repo=$(cd "$(dirname "$0")/.." && pwd)
if [[ -z $program ]]; then
    for candidate in "$repo/build-bench/src/woundwell" "$repo/build/src/woundwell"; do
        if [[ -x $candidate ]]; then program=$candidate; break; fi
    done
fi
if [[ -z $program || ! -x $program ]]; then
    echo "No woundwell program found${program:+ at $program}. Build one first:" >&2
    echo "  cmake -B build-bench -DWOUNDWELL_BUILD_BENCH=ON -DWOUNDWELL_BUILD_TESTS=OFF \\" >&2
    echo "        -DCMAKE_BUILD_TYPE=Release && cmake --build build-bench -j2 --target woundwell" >&2
    exit 1
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")

for tool in Xvfb cmake cc; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (see the header of $0)" >&2; exit 1; }
done
[[ $wm == none || $wm == openbox ]] || { echo "--wm takes none or openbox" >&2; exit 2; }
if [[ $wm == openbox ]] && ! command -v openbox >/dev/null; then
    echo "openbox is missing" >&2; exit 1
fi
if [[ $dbus == auto ]]; then
    if command -v dbus-daemon >/dev/null; then dbus=private; else dbus=none; fi
fi
[[ $dbus == private || $dbus == none ]] || { echo "--dbus takes private or none" >&2; exit 2; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/woundwell-startup.XXXXXX")
xvfb_pid=
wm_pid=
dbus_pid=
cleanup() {
    for pid in $wm_pid $dbus_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [[ $keep -eq 1 ]]; then echo "Kept $tmp"; else rm -rf "$tmp"; fi
}
trap cleanup EXIT

# --- The same compiler and flags as the program's build, in Release ---------------------------
cache=
dir=$(dirname "$program")
while [[ $dir != / ]]; do
    if [[ -f $dir/CMakeCache.txt ]]; then cache=$dir/CMakeCache.txt; break; fi
    dir=$(dirname "$dir")
done
cache_value() { [[ -n $cache ]] && sed -n "s/^$1:[A-Z]*=//p" "$cache" | head -n 1; }
cxx=$(cache_value CMAKE_CXX_COMPILER || true)
cxx_flags=$(cache_value CMAKE_CXX_FLAGS || true)
build_type=$(cache_value CMAKE_BUILD_TYPE || true)
cxx=${cxx:-c++}
if [[ -n $build_type && $build_type != Release ]]; then
    echo "Note: $program was built as $build_type; the floor is built as Release." >&2
fi

mkdir -p "$tmp/floor"
cat >"$tmp/floor/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(startup_floor LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)
qt_standard_project_setup()
qt_add_executable(startup_floor floor.cpp)
target_link_libraries(startup_floor PRIVATE Qt6::Widgets)
EOF
cat >"$tmp/floor/floor.cpp" <<'EOF'
// The least a Qt Widgets program can do to show a window like Woundwell's first one: a dialog
// with a menu bar above a 491 x 362 client area.
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QVBoxLayout>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QDialog window;
    window.setWindowTitle(QStringLiteral("Start-up floor"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menuBar = new QMenuBar(&window);
    menuBar->setNativeMenuBar(false);
    menuBar->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"), &window,
                                                        &QDialog::reject);
    layout->setMenuBar(menuBar);
    auto *client = new QWidget(&window);
    client->setFixedSize(491, 362);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    window.show();
    return app.exec();
}
EOF
echo "Building the floor with $cxx (flags: ${cxx_flags:-none} + Release) ..." >&2
cmake -S "$tmp/floor" -B "$tmp/floor/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$cxx_flags" >"$tmp/floor-build.log" 2>&1 &&
    cmake --build "$tmp/floor/build" -j2 >>"$tmp/floor-build.log" 2>&1 ||
    { cat "$tmp/floor-build.log" >&2; exit 1; }
floor=$tmp/floor/build/startup_floor

# --- The listener --------------------------------------------------------------------------------
cat >"$tmp/mapwatch.c" <<'EOF'
/* mapwatch TIMEOUT_MS SETTLE_MS PROGRAM [ARGS...]
 * Starts PROGRAM and prints, on one line: the milliseconds from just before fork() until the
 * X server reports the first window of the child mapped, the CPU time the child had used by
 * then, and VmHWM and VmRSS (kB) of the child SETTLE_MS after that. Then kills the child.
 * Exit status 1 when no window came in time. */
#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static long window_pid(Display *dpy, Window w, Atom pid_atom) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    long pid = -1;
    if (XGetWindowProperty(dpy, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success && data != NULL) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            pid = (long)*(unsigned long *)data;
        XFree(data);
    }
    return pid;
}

static void status_kb(pid_t pid, long *hwm, long *rss) {
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    *hwm = *rss = -1;
    if (!f)
        return;
    while (fgets(line, sizeof line, f)) {
        if (strncmp(line, "VmHWM:", 6) == 0)
            *hwm = strtol(line + 6, NULL, 10);
        else if (strncmp(line, "VmRSS:", 6) == 0)
            *rss = strtol(line + 6, NULL, 10);
    }
    fclose(f);
}

/* CPU time (ms) the process has used so far, all its threads: the first field of each
 * /proc/PID/task/TID/schedstat is the time the thread spent on a CPU, in nanoseconds. */
static double cpu_ms(pid_t pid) {
    char path[96];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *dir = opendir(path);
    if (!dir)
        return -1;
    double ns = 0;
    struct dirent *entry;
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_name[0] == '.')
            continue;
        char file[400];
        snprintf(file, sizeof file, "%s/%s/schedstat", path, entry->d_name);
        FILE *f = fopen(file, "r");
        unsigned long long run = 0;
        if (f) {
            if (fscanf(f, "%llu", &run) == 1)
                ns += (double)run;
            fclose(f);
        }
    }
    closedir(dir);
    return ns / 1e6;
}

static int ignore_errors(Display *dpy, XErrorEvent *e) {
    (void)dpy;
    (void)e;
    return 0; /* a window may be gone before we look at it */
}

int main(int argc, char **argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s TIMEOUT_MS SETTLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const double timeout = atof(argv[1]);
    const int settle = atoi(argv[2]);
    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "mapwatch: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    const Window root = DefaultRootWindow(dpy);
    const Atom pid_atom = XInternAtom(dpy, "_NET_WM_PID", False);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = now_ms();
    const pid_t child = fork();
    if (child < 0)
        return 2;
    if (child == 0) {
        close(ConnectionNumber(dpy));
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    double mapped = -1, cpu = -1;
    struct pollfd pfd = {ConnectionNumber(dpy), POLLIN, 0};
    while (mapped < 0) {
        while (XPending(dpy) && mapped < 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == CreateNotify && ev.xcreatewindow.parent == root) {
                /* For a window manager that reparents the window before mapping it. */
                XSelectInput(dpy, ev.xcreatewindow.window, StructureNotifyMask);
            } else if (ev.type == MapNotify && !ev.xmap.override_redirect) {
                const double t = now_ms();
                if (window_pid(dpy, ev.xmap.window, pid_atom) == child) {
                    mapped = t;
                    cpu = cpu_ms(child);
                }
            }
        }
        if (mapped >= 0)
            break;
        const double left = start + timeout - now_ms();
        int status;
        if (left <= 0 || waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "mapwatch: %s\n", left <= 0 ? "no window in time" : "program ended");
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return 1;
        }
        poll(&pfd, 1, left < 50 ? (int)left + 1 : 50);
    }

    if (settle > 0)
        usleep((useconds_t)settle * 1000u);
    long hwm, rss;
    status_kb(child, &hwm, &rss);
    kill(child, SIGTERM);
    int status;
    struct rusage usage;
    wait4(child, &status, 0, &usage);
    printf("map_ms=%.2f cpu_ms=%.2f vmhwm_kb=%ld vmrss_kb=%ld maxrss_kb=%ld\n", mapped - start,
           cpu, hwm, rss, usage.ru_maxrss);
    XCloseDisplay(dpy);
    return 0;
}
EOF
cc -O2 -o "$tmp/mapwatch" "$tmp/mapwatch.c" -lX11 2>"$tmp/mapwatch-build.log" ||
    { cat "$tmp/mapwatch-build.log" >&2; echo "(needs libx11-dev)" >&2; exit 1; }

# --- The X server, its window manager, a session bus, a home ----------------------------------
niced=()
[[ -n $nice_level ]] && niced=(nice -n "$nice_level")
"${niced[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" \
    >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
display_number=
for _ in $(seq 200); do
    display_number=$(head -n 1 "$tmp/display" 2>/dev/null || true)
    [[ -n $display_number ]] && break
    sleep 0.05
done
[[ -n $display_number ]] || { cat "$tmp/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display_number

mkdir -p "$tmp/home" "$tmp/config/Woundwell" "$tmp/cache" "$tmp/runtime"
chmod 700 "$tmp/runtime"
printf '[Settings]\nDuration=%s\n' "$(date +%Y-%m-%d)" >"$tmp/config/Woundwell/Woundwell.conf"
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache
export XDG_RUNTIME_DIR=$tmp/runtime QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_QPA_PLATFORMTHEME SESSION_MANAGER

if [[ $dbus == private ]]; then
    dbus-daemon --session --nofork --nopidfile --print-address=3 \
        --address="unix:path=$tmp/runtime/bus" 3>"$tmp/bus-address" >/dev/null 2>&1 &
    dbus_pid=$!
    for _ in $(seq 100); do [[ -s $tmp/bus-address ]] && break; sleep 0.05; done
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$tmp/bus-address")
else
    export DBUS_SESSION_BUS_ADDRESS=disabled:
fi

if [[ $wm == openbox ]]; then
    openbox >"$tmp/openbox.log" 2>&1 &
    wm_pid=$!
    sleep 1
fi

# --- The runs ------------------------------------------------------------------------------------
# Prints "map_ms=... vmhwm_kb=... vmrss_kb=... maxrss_kb=..." for one start of $1.
measure_once() {
    rm -f "$XDG_RUNTIME_DIR/woundwell.lock"
    "${niced[@]}" "$tmp/mapwatch" 20000 "$settle_ms" "$1"
}

for name in floor woundwell; do : >"$tmp/$name.txt"; done
echo "Warming up ..." >&2
for _ in 1 2; do
    measure_once "$floor" >/dev/null
    measure_once "$program" >/dev/null
done
echo "Measuring $runs runs of each ..." >&2
for ((i = 1; i <= runs; i++)); do
    # Alternate which goes first, so neither always follows the other.
    if ((i % 2)); then order=(floor woundwell); else order=(woundwell floor); fi
    for name in "${order[@]}"; do
        if [[ $name == floor ]]; then bin=$floor; else bin=$program; fi
        measure_once "$bin" >>"$tmp/$name.txt"
    done
done

# field NAME FILE: the values of NAME=, one a line, sorted
field() { sed -n "s/.*\<$1=\([0-9.-]*\).*/\1/p" "$2" | sort -g; }
# stats: median, min, max, p10, p90 of the numbers on standard input
stats() {
    awk '{ v[NR] = $1 }
         function q(p,  i) { i = int(p * (NR - 1) + 0.5) + 1; return v[i] }
         END { if (NR == 0) { print "- - - - -"; exit }
               m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
               printf "%.1f %.1f %.1f %.1f %.1f\n", m, v[1], v[NR], q(0.1), q(0.9) }'
}

read -r f_med f_min f_max f_p10 f_p90 < <(field map_ms "$tmp/floor.txt" | stats)
read -r w_med w_min w_max w_p10 w_p90 < <(field map_ms "$tmp/woundwell.txt" | stats)
read -r fc_med fc_min fc_max fc_p10 fc_p90 < <(field cpu_ms "$tmp/floor.txt" | stats)
read -r wc_med wc_min wc_max wc_p10 wc_p90 < <(field cpu_ms "$tmp/woundwell.txt" | stats)
read -r fh_med _ fh_max _ _ < <(field vmhwm_kb "$tmp/floor.txt" | stats)
read -r wh_med _ wh_max _ _ < <(field vmhwm_kb "$tmp/woundwell.txt" | stats)
read -r fr_med _ _ _ _ < <(field vmrss_kb "$tmp/floor.txt" | stats)
read -r wr_med _ _ _ _ < <(field vmrss_kb "$tmp/woundwell.txt" | stats)

cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1)
mem=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
ratio=$(awk -v w="$w_med" -v f="$f_med" 'BEGIN { printf "%.2f", w / f }')
cpu_ratio=$(awk -v w="$wc_med" -v f="$fc_med" 'BEGIN { printf "%.2f", w / f }')
extra_mb=$(awk -v w="$wh_med" -v f="$fh_med" 'BEGIN { printf "%.1f", (w - f) / 1024 }')

cat <<EOF

Start-up to first window mapped, $runs runs each (window manager: $wm, session bus: $dbus,
nice level: ${nice_level:-unchanged})
Machine: ${cpu:-unknown CPU}, $(nproc) CPUs, $mem; load average $(cut -d' ' -f1-3 /proc/loadavg)
Program: $program
                   median     min     max    p10    p90   (ms)
  floor          $(printf '%7s %7s %7s %6s %6s' "$f_med" "$f_min" "$f_max" "$f_p10" "$f_p90")
  woundwell      $(printf '%7s %7s %7s %6s %6s' "$w_med" "$w_min" "$w_max" "$w_p10" "$w_p90")
  woundwell / floor (medians): $ratio   (target: at most 1.20)

CPU time used by the process until its window was mapped (all threads)
                   median     min     max    p10    p90   (ms)
  floor          $(printf '%7s %7s %7s %6s %6s' "$fc_med" "$fc_min" "$fc_max" "$fc_p10" "$fc_p90")
  woundwell      $(printf '%7s %7s %7s %6s %6s' "$wc_med" "$wc_min" "$wc_max" "$wc_p10" "$wc_p90")
  woundwell / floor (medians): $cpu_ratio   (less disturbed than the wall-clock time by other
  work on the machine; the target applies to the wall-clock time above)

Memory ${settle_ms} ms after mapping (median of the runs, kB)
                   VmHWM (peak)   VmRSS
  floor          $(printf '%12s %8s' "$fh_med" "$fr_med")
  woundwell      $(printf '%12s %8s' "$wh_med" "$wr_med")
  woundwell - floor (peak): $extra_mb MB   (target: at most 8 MB)
EOF

status=0
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.20) }' || { echo "  start-up target missed"; status=3; }
awk -v m="$extra_mb" 'BEGIN { exit !(m <= 8) }' || { echo "  memory target missed"; status=3; }
exit $status
