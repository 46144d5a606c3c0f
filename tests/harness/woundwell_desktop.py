"""A private desktop for the real Woundwell program: the one place that starts an X server for
the tests, the screenshots and the start-up measurement.

A `Desktop` is a private X server (Xvfb) with, as asked, the openbox window manager, a private
D-Bus session and the accessibility bus on it. A `Home` is a set of empty home, settings, data,
cache and runtime folders with a `BROWSER` that only writes down the addresses it is asked to open,
and, as asked, a dark or high-contrast desktop colour scheme (`COLOUR_SCHEMES`). A
`Woundwell` is one run of the program on a desktop in a home. Keys and mouse clicks go in
through xdotool (XTEST, the same path as a real keyboard); what is on screen is read back over
AT-SPI, as a screen reader reads it.

Nothing here touches the user's own desktop, home or settings: every process is started with
an environment built from scratch, and every process started is ended again.

As a command (for shell scripts):
    woundwell_desktop.py [--window-manager] [--no-bus] run -- COMMAND...
        runs COMMAND on a fresh desktop in a fresh home (DISPLAY, HOME, XDG_* and BROWSER
        set; the settings say the update reminder was shown today) and exits with its status
    woundwell_desktop.py window PROGRAM
        starts PROGRAM on a fresh desktop with a window manager and prints its first
        window's title= and class=
"""

from __future__ import annotations

import argparse
import ctypes
import datetime
import glob
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

# The program under test, given on the command line (CTest passes the built target).
PROGRAM: str = ""

PROGRAM_TITLE = "Woundwell"

DEFAULT_TIMEOUT = 10.0
POLL = 0.05

# A colour on screen: red, green and blue, 0 to 255.
Colour = tuple[int, int, int]

# The processes the harness starts die with it even if it is killed outright; what they start in
# turn is found and ended at clean-up (or by CTest's own clean-up of the process tree).
_PR_SET_PDEATHSIG = 1
_PR_SET_CHILD_SUBREAPER = 36
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent() -> None:
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL, 0, 0, 0)


def _become_subreaper() -> None:
    # Orphaned grandchildren (xdg-open, the recorder, the bus launcher's helpers) are handed to
    # this process instead of init, so that `_descendants` still finds them at clean-up.
    _libc.prctl(_PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)


# Folders to remove even when the run has to be cut short.
_temporary_roots: list[Path] = []


class HarnessError(RuntimeError):
    """The test environment itself could not be set up."""


def window_title() -> str:
    """The caption of every window: the program's title and the version of the build under
    test, which CTest passes on in WOUNDWELL_VERSION from the project version."""
    version = os.environ.get("WOUNDWELL_VERSION", "")
    if not version:
        raise HarnessError("WOUNDWELL_VERSION is not set: give the project version of the build "
                           "under test (CTest sets it)")
    return f"{PROGRAM_TITLE} v{version}"


def wait_until(predicate, timeout: float = DEFAULT_TIMEOUT, what: str = "condition",
               interval: float = POLL):
    """Polls `predicate` until it returns something truthy, and returns that; fails the test
    with `what` when the deadline passes. Exceptions raised by the predicate count as "not
    yet" (the accessibility tree changes under our feet while windows come and go), all but
    a `HarnessError`."""
    deadline = time.monotonic() + timeout
    last_error: BaseException | None = None
    while True:
        try:
            result = predicate()
            if result:
                return result
        except HarnessError:
            raise
        except Exception as error:  # noqa: BLE001 - retried until the deadline
            last_error = error
        if time.monotonic() >= deadline:
            detail = f" (last error: {last_error!r})" if last_error else ""
            raise AssertionError(f"timed out after {timeout:.0f}s waiting for {what}{detail}")
        time.sleep(interval)


def wait_for_value(read, expected, what: str, timeout: float = DEFAULT_TIMEOUT):
    """Polls `read()` until it gives `expected`; on time-out the failure shows what it gave
    last."""
    seen = []

    def matches():
        seen[:] = [read()]
        return seen[0] == expected

    try:
        wait_until(matches, timeout, what)
    except AssertionError as error:
        last = repr(seen[0]) if seen else "nothing"
        raise AssertionError(f"{error}: expected {expected!r}, last saw {last}") from None


def stays_true(predicate, seconds: float = 1.0) -> bool:
    """True when `predicate` holds at every look for that long: for what must not happen."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(POLL * 2)
    return bool(predicate())


def _read_line(stream, process: subprocess.Popen, what: str, timeout: float = 15) -> str:
    """The first line a process we started writes to `stream` (a pipe), as soon as it is
    there."""
    data = b""
    deadline = time.monotonic() + timeout
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if process.poll() is not None or left <= 0:
            raise HarnessError(f"{what} did not start")
        if select.select([stream], [], [], min(left, 0.1))[0]:
            chunk = os.read(stream.fileno(), 256)
            if not chunk:
                raise HarnessError(f"{what} did not start")
            data += chunk
    return data.decode().strip()


def _descendants(root_pid: int) -> list[int]:
    children: dict[int, list[int]] = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", "rb") as stat:
                fields = stat.read().rsplit(b")", 1)[1].split()
            children.setdefault(int(fields[1]), []).append(int(entry))
        except (OSError, IndexError, ValueError):
            continue
    found: list[int] = []
    pending = [root_pid]
    while pending:
        pid = pending.pop()
        for child in children.get(pid, []):
            found.append(child)
            pending.append(child)
    return found


def _end_process(process: subprocess.Popen, grace: float = 2.0) -> None:
    """Ends one process that we started, politely first."""
    if process.poll() is None:
        try:
            process.terminate()
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(timeout=grace)
        except ProcessLookupError:
            pass


def _reap_leftovers() -> None:
    """Kills every process still below this one (all of them are ours) and reaps them."""
    for _ in range(3):
        pids = _descendants(os.getpid())
        if not pids:
            return
        for pid in pids:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + 2
        while time.monotonic() < deadline:
            try:
                pid, _ = os.waitpid(-1, os.WNOHANG)
            except ChildProcessError:
                break
            if pid == 0:
                time.sleep(0.02)


# ---------------------------------------------------------------------------------------------
# The desktop: X server, window manager, D-Bus session, accessibility bus
# ---------------------------------------------------------------------------------------------


def _require(tool: str) -> str:
    path = shutil.which(tool, path=SYSTEM_PATH)
    if path is None:
        raise HarnessError(f"{tool} is not installed (see scripts/deps.sh test)")
    return path


AT_SPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# The desktop and the program see only the system's programs, whatever the caller's PATH holds.
SYSTEM_PATH = "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin"
# Passed on to the program: the time zone, and the settings of a sanitized build.
PASSED_ON = ("TZ", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "LD_LIBRARY_PATH")

# Letters a test types that the X server's default (US) layout has no key for.
EXTRA_LETTERS = "ëé"


def _keysym(character: str) -> int:
    code = ord(character)
    return code if 0xA0 <= code <= 0xFF else 0x1000000 + code  # Latin-1 or Unicode keysym


def _add_keys(display: str, letters: str) -> None:
    """Puts each letter (with its capital on the shift level) on a key that had nothing on it,
    the way a person sets up a layout with those letters. xdotool then types them with a plain
    key press; left to itself it would remap a key just for the moment of each press, which
    races with the program reading the new layout and now and then loses the letter."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(ctypes.c_int)]
    xlib.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    xlib.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                         ctypes.POINTER(ctypes.c_int)]
    xlib.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                            ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
    xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    xlib.XFree.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    connection = xlib.XOpenDisplay(display.encode())
    if not connection:
        raise HarnessError(f"cannot open the X display {display}")
    try:
        lowest, highest = ctypes.c_int(), ctypes.c_int()
        xlib.XDisplayKeycodes(connection, ctypes.byref(lowest), ctypes.byref(highest))
        per_key = ctypes.c_int()
        count = highest.value - lowest.value + 1
        table = xlib.XGetKeyboardMapping(connection, lowest.value, count,
                                         ctypes.byref(per_key))
        width = per_key.value
        free_keys = [lowest.value + index for index in range(count)
                     if not any(table[index * width + level] for level in range(width))]
        xlib.XFree(table)
        if len(free_keys) < len(letters):
            raise HarnessError("no free keys to put extra letters on")
        for letter, keycode in zip(letters, reversed(free_keys)):
            symbols = (ctypes.c_ulong * width)()
            symbols[0] = _keysym(letter)
            if width > 1:
                symbols[1] = _keysym(letter.upper())
            xlib.XChangeKeyboardMapping(connection, keycode, width, symbols, 1)
        xlib.XSync(connection, 0)
    finally:
        xlib.XCloseDisplay(connection)


class Desktop:
    """One private X display, with a window manager, a session bus and an accessibility bus
    unless told to leave them out.

    pyatspi binds itself to one accessibility bus for the life of the Python process, so a
    test module brings up one desktop and the tests in it share it; each test still starts
    its own program with its own folders (see `Woundwell`)."""

    # The platform the program is told to use; None leaves the choice to the program.
    platform: str | None = "xcb"

    def __init__(self, window_manager: bool = True, bus: bool = True,
                 accessibility: bool = True) -> None:
        self.window_manager = window_manager
        self.bus = bus
        self.accessibility = accessibility and bus
        self.root = Path(tempfile.mkdtemp(prefix="woundwell-desktop-"))
        _temporary_roots.append(self.root)
        self.processes: list[subprocess.Popen] = []
        self.programs: list["Woundwell"] = []
        self.display = ""
        # The desktop's own processes run in a home of their own, with the system's data
        # folders (the accessibility bus reads its settings schemas there).
        self.env = Home(self).env
        del self.env["XDG_DATA_DIRS"]

    # -- set-up --------------------------------------------------------------------------

    def start(self) -> "Desktop":
        _become_subreaper()
        try:
            self._start_x()
            _add_keys(self.display, EXTRA_LETTERS)
            # No bus at all: nothing to find there, and nothing for the program to start one.
            self.env["DBUS_SESSION_BUS_ADDRESS"] = "disabled:"
            if self.bus:
                self._start_dbus()
            if self.accessibility:
                self._start_accessibility_bus()
            if self.window_manager:
                self._start_window_manager()
        except BaseException:
            self.stop()
            raise
        return self

    def spawn(self, argv: list[str], env: dict[str, str], **kwargs) -> subprocess.Popen:
        """Starts a process that ends with the desktop."""
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL,
                                   preexec_fn=_die_with_parent, **kwargs)
        self.processes.append(process)
        return process

    def _start_x(self) -> None:
        # A free display number, reported on a pipe; 96 dots per inch, the resolution for
        # which the window layouts were drawn.
        read_end, write_end = os.pipe()
        with open(self.root / "xvfb.log", "wb") as log, os.fdopen(read_end, "rb") as pipe:
            process = self.spawn(
                [_require("Xvfb"), "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset",
                 "-screen", "0", "1280x1024x24", "-dpi", "96"],
                self.env, pass_fds=(write_end,), stdout=log, stderr=log)
            os.close(write_end)
            try:
                self.display = ":" + _read_line(pipe, process, "Xvfb")
            except HarnessError as error:
                log_text = (self.root / "xvfb.log").read_text(errors="replace")
                raise HarnessError(f"{error}: {log_text}") from None
        self.env["DISPLAY"] = self.display

    def _start_dbus(self) -> None:
        process = self.spawn(
            [_require("dbus-daemon"), "--session", "--nofork", "--nopidfile", "--print-address=1"],
            self.env, stdout=subprocess.PIPE)
        assert process.stdout is not None
        self.env["DBUS_SESSION_BUS_ADDRESS"] = _read_line(process.stdout, process, "dbus-daemon")

    def _start_accessibility_bus(self) -> None:
        if not os.access(AT_SPI_BUS_LAUNCHER, os.X_OK):
            raise HarnessError("at-spi2-core is not installed (no at-spi-bus-launcher)")
        self.spawn([AT_SPI_BUS_LAUNCHER, "--launch-immediately"], self.env)
        # The launcher owns org.a11y.Bus on the session bus once the accessibility bus is up.
        wait_until(lambda: self.tool("dbus-send", "--session", "--print-reply=literal",
                                     "--dest=org.a11y.Bus", "/org/a11y/bus",
                                     "org.a11y.Bus.GetAddress"),
                   15, "the accessibility bus")

    def _start_window_manager(self) -> None:
        self.spawn([_require("openbox"), "--sm-disable"], self.env)
        wait_until(lambda: "window id" in self.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   15, "the openbox window manager")

    # -- clean-up ------------------------------------------------------------------------

    def stop(self) -> None:
        for process in [program.process for program in self.programs] + self.processes[::-1]:
            try:
                if process is not None:
                    _end_process(process)
            except Exception:  # noqa: BLE001 - clean-up goes on
                pass
            if process is not None and process.stdout is not None:
                process.stdout.close()
        _reap_leftovers()
        shutil.rmtree(self.root, ignore_errors=True)

    # -- tools, input and X windows ------------------------------------------------------

    def tool(self, *argv: str, check: bool = False) -> str:
        """Runs an X client on this display and gives its output ("" when it failed)."""
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=30,
                                check=check)
        return result.stdout.strip() if result.returncode == 0 else ""

    def key(self, *keys: str) -> None:
        """Presses and releases keys one after another (xdotool key names: Tab, Return,
        Escape, alt+d, dead_acute, ...)."""
        self.tool("xdotool", "key", "--delay", "60", *keys, check=True)

    def type(self, text: str) -> None:
        """Types text on the keyboard into whatever has the focus."""
        self.tool("xdotool", "type", "--delay", "40", text, check=True)

    def click_at(self, x: int, y: int) -> None:
        # The server handles the move before the click that follows it in the same stream.
        self.tool("xdotool", "mousemove", str(x), str(y), "click", "1", check=True)

    def double_click_at(self, x: int, y: int) -> None:
        """Two clicks close enough together for the desktop to make them a double click."""
        self.tool("xdotool", "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay",
                  "80", "1", check=True)

    def keyboard_window_title(self) -> str:
        """The title of the window that has the keyboard focus on the X server."""
        return self.tool("xdotool", "getwindowfocus", "getwindowname")

    def set_layout(self, layout: str, variant: str = "") -> None:
        """Switches the keyboard layout; plain "us" gets the extra letters back."""
        self.tool("setxkbmap", "-layout", layout, "-variant", variant, check=True)
        if (layout, variant) == ("us", ""):
            _add_keys(self.display, EXTRA_LETTERS)

    def x_windows(self, pid: int) -> list[str]:
        """The X ids of the mapped windows of a process, in the order the server has them."""
        return self.tool("xdotool", "search", "--onlyvisible", "--pid", str(pid)).split()

    def window_property(self, window: str, name: str) -> str:
        """A property of an X window as xprop shows it, after the "=": '"a", "b"' for a list
        of strings."""
        return self.tool("xprop", "-id", window, name).partition(" = ")[2]

    def frames(self, pid: int) -> list[tuple[int, int, int, int]]:
        """The mapped windows of a process, each as the rectangle of its frame on the screen,
        title bar included: left, top, width and height."""
        return [self.frame(int(window)) for window in self.x_windows(pid)]

    def frame(self, window: int) -> tuple[int, int, int, int]:
        """The rectangle of an X window's frame on the screen: left, top, width and height."""
        info = self.tool("xwininfo", "-id", str(window))
        numbers = {key.strip(): value.strip() for key, _, value in
                   (line.partition(":") for line in info.splitlines())}
        extents = self.window_property(str(window), "_NET_FRAME_EXTENTS")
        left, right, top, bottom = (int(n) for n in extents.split(",")) if extents \
            else (0, 0, 0, 0)
        return (int(numbers["Absolute upper-left X"]) - left,
                int(numbers["Absolute upper-left Y"]) - top,
                int(numbers["Width"]) + left + right,
                int(numbers["Height"]) + top + bottom)

    def work_area(self) -> tuple[int, int, int, int]:
        """The part of the screen that windows are placed in, as the window manager says
        (the whole screen where it says nothing): left, top, width and height."""
        area = self.tool("xprop", "-root", "_NET_WORKAREA").partition(" = ")[2]
        if area:
            left, top, width, height = (int(n) for n in area.split(",")[:4])
            return left, top, width, height
        info = self.tool("xwininfo", "-root")
        return (0, 0, int(re.search(r"Width: (\d+)", info)[1]),
                int(re.search(r"Height: (\d+)", info)[1]))

    def screen_pixels(self, left: int, top: int, right: int, bottom: int) -> list[Colour]:
        """The colours on the screen in that rectangle, row by row, as a person sees them
        (a screenshot of the root window, so what overlaps the rectangle counts too)."""
        width, height = right - left, bottom - top
        picture = subprocess.run(
            [*self._screen_picture(), "-crop", f"{width}x{height}+{left}+{top}", "-depth", "8",
             "ppm:-"],
            env=self.env, capture_output=True, timeout=30, check=True).stdout
        # A binary PPM: "P6", width, height and the largest value, then three bytes a pixel.
        fields = picture.split(maxsplit=4)
        if fields[0] != b"P6" or (int(fields[1]), int(fields[2]), int(fields[3])) != \
                (width, height, 255):
            raise HarnessError(f"import gave no {width}x{height} picture: {picture[:20]!r}")
        data = fields[4]
        return [tuple(data[at:at + 3]) for at in range(0, 3 * width * height, 3)]

    def _screen_picture(self) -> list[str]:
        """The ImageMagick command line, up to its options, that reads the screen."""
        return [_require("import"), "-window", "root"]


# ---------------------------------------------------------------------------------------------
# Reading the screen through AT-SPI
# ---------------------------------------------------------------------------------------------

_pyatspi = None


def atspi():
    """pyatspi, bound to the desktop's accessibility bus (imported once the desktop is up)."""
    global _pyatspi
    if _pyatspi is None:
        import pyatspi  # noqa: PLC0415 - needs DISPLAY and the session bus set first
        from gi.repository import Atspi  # noqa: PLC0415
        Atspi.set_timeout(5000, 15000)
        _pyatspi = pyatspi
    return _pyatspi


def children(node) -> list:
    found = []
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            found.append(child)
    return found


def role(node) -> str:
    """The node's role by name, the same name whichever AT-SPI is installed: 2.50 and later call
    a push button just "button" (and its constant ATSPI_ROLE_BUTTON), so the role is told by
    the constant's number, which AT-SPI keeps."""
    number = int(node.getRole())
    return "push button" if number == int(atspi().ROLE_PUSH_BUTTON) else node.getRoleName()


def states(node) -> set:
    return set(node.getState().getStates())


def is_showing(node) -> bool:
    return atspi().STATE_SHOWING in states(node)


def is_focused(node) -> bool:
    return atspi().STATE_FOCUSED in states(node)


def text_of(node) -> str:
    """What a screen reader reads out as the node's text: its Text interface if it has one
    (text boxes, labels), otherwise its name."""
    try:
        text = node.queryText()
    except NotImplementedError:
        return node.name
    return text.getText(0, -1)


def walk(node):
    """Yields `node` and everything below it, depth first, skipping what is not on screen
    (closed drop-down lists and menus, hidden windows)."""
    pending = [node]
    while pending:
        current = pending.pop()
        yield current
        if current is node or is_showing(current):
            pending.extend(reversed(children(current)))


def find_all(root, role_name: str | None = None, name: str | None = None,
             predicate=None) -> list:
    """The nodes below `root` on screen with that role and name, for which `predicate` holds."""
    found = []
    for node in walk(root):
        if role_name is not None and role(node) != role_name:
            continue
        if name is not None and node.name != name:
            continue
        if not is_showing(node):
            continue
        if predicate is not None and not predicate(node):
            continue
        found.append(node)
    return found


def extents(node):
    return node.queryComponent().getExtents(atspi().DESKTOP_COORDS)


def visible_rect(node, window=None):
    """The part of the node that a person can see, as (left, top, right, bottom) on the
    screen, or None: its rectangle cut down to each container's, up to `window` (or the
    top-level window). Hidden controls lying outside their window come out as None."""
    box = extents(node)
    if box.width <= 0 or box.height <= 0:
        return None
    left, top = box.x, box.y
    right, bottom = box.x + box.width, box.y + box.height
    parent = node.parent
    while parent is not None and role(parent) != "application":
        try:
            outer = extents(parent)
        except NotImplementedError:
            break
        if outer.width > 0 and outer.height > 0:
            left, top = max(left, outer.x), max(top, outer.y)
            right = min(right, outer.x + outer.width)
            bottom = min(bottom, outer.y + outer.height)
        if parent is window:
            break
        if role(parent) == "list" and parent.parent is not None and \
                role(parent.parent) == "combo box":
            break  # an opened drop-down list is a window of its own
        parent = parent.parent
    return (left, top, right, bottom) if right > left and bottom > top else None


def find_one(root, role_name: str | None = None, name: str | None = None, predicate=None):
    """The single node below the window `root` with that role and name that a person can see;
    fails otherwise."""
    found = find_all(root, role_name, name,
                     lambda node: visible_rect(node, root) is not None and (predicate is None or
                                                               predicate(node)))
    if len(found) != 1:
        raise LookupError(f"expected one {role_name or 'node'} named {name!r}, "
                          f"found {len(found)}")
    return found[0]


# ---------------------------------------------------------------------------------------------
# Reading colours off the screen
# ---------------------------------------------------------------------------------------------


def relative_luminance(colour: Colour) -> float:
    """The relative luminance of an sRGB colour, as WCAG 2 defines it."""
    def linear(channel: int) -> float:
        value = channel / 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4
    red, green, blue = (linear(channel) for channel in colour)
    return 0.2126 * red + 0.7152 * green + 0.0722 * blue


def contrast_ratio(one: Colour, other: Colour) -> float:
    """The WCAG 2 contrast ratio of two colours, from 1 (the same) to 21 (black and white)."""
    lighter, darker = sorted((relative_luminance(one), relative_luminance(other)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def text_and_background(pixels: list[Colour]) -> tuple[Colour, Colour]:
    """The colours of text drawn on a plain background, read from the pixels of the
    rectangle the text stands in: the background is the commonest colour; the text is the
    colour that stands out most from it among those that cover a fair part of the rest (the
    edges of smoothed letters blend the two and stand out less). Text drawn in the background's
    own colour leaves nothing else: it comes out as the background."""
    counts: dict[Colour, int] = {}
    for pixel in pixels:
        counts[pixel] = counts.get(pixel, 0) + 1
    background = max(counts, key=counts.get)
    ink = {colour: count for colour, count in counts.items() if colour != background}
    fair_part = max(1, sum(ink.values()) // 50)
    candidates = [colour for colour, count in ink.items() if count >= fair_part]
    text = max(candidates, key=lambda colour: contrast_ratio(colour, background),
               default=background)
    return text, background


def centre_of(node) -> tuple[int, int]:
    """The centre of the visible part of the node on the screen, where a person would click
    it."""
    rect = visible_rect(node)
    if rect is None:
        raise LookupError(f"the {role(node)} {node.name!r} is not in view")
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


# ---------------------------------------------------------------------------------------------
# A home for the program, and one run of it
# ---------------------------------------------------------------------------------------------

RECORDER = """#!/bin/sh
# Stands in for the web browser: writes down each address it is asked to open.
for address in "$@"; do
    printf '%s\\n' "$address" >> '{log}'
done
"""


# The desktop colour schemes a run can have, set the way a user of a desktop without its own
# settings for Qt sets one: with qt6ct, whose platform theme gives Qt programs the palette of the
# scheme file chosen. "light" is Qt's own palette, without qt6ct, as on a fresh desktop.
COLOUR_SCHEMES: dict[str, Path | None] = {
    "light": None,
    # qt6ct's own dark scheme: white text on dark grey.
    "dark": Path("/usr/share/qt6ct/colors/darker.conf"),
    # qt6ct has no white on black scheme; this one follows the classic high-contrast desktop.
    "high-contrast": Path(__file__).resolve().parent / "high-contrast.conf",
}
QT6CT_THEME = "/usr/lib/*/qt6/plugins/platformthemes/libqt6ct.so"


class Home:
    """Empty home, settings, data, cache, runtime and temporary folders, a browser recorder, a
    settings file that says when the update reminder was last shown (today when not given, so
    that no reminder comes) and the desktop colour scheme named (one of `COLOUR_SCHEMES`)."""

    def __init__(self, desktop: Desktop, name: str = "home",
                 reminder_date: datetime.date | None = None, colours: str = "light") -> None:
        self.root = Path(tempfile.mkdtemp(prefix=f"{name}-", dir=desktop.root))
        home, config, data = self.root / "home", self.root / "config", self.root / "data"
        self.runtime, self.temp = self.root / "runtime", self.root / "tmp"
        self.cache = home / ".cache"  # not made here: the program meets a new account's home
        for folder in (home, config, data, self.temp):
            folder.mkdir(parents=True)
        self.runtime.mkdir(mode=0o700)
        self.settings_file = config / "Woundwell" / "Woundwell.conf"
        self.browser_log = self.root / "browser.log"
        browser = self.root / "browser"
        browser.write_text(RECORDER.format(log=self.browser_log))
        browser.chmod(0o755)
        self.write_reminder_date(reminder_date or datetime.date.today())
        # Built from nothing: no XDG_CURRENT_DESKTOP or DESKTOP_SESSION, so neither Qt nor
        # xdg-open sees a desktop environment, and BROWSER decides where addresses go.
        self.env = {
            "PATH": SYSTEM_PATH,
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
            "HOME": str(home),
            "XDG_CONFIG_HOME": str(config),
            "XDG_CACHE_HOME": str(self.cache),
            "XDG_DATA_HOME": str(home / ".local/share"),
            # No desktop file anywhere can claim web addresses: xdg-open falls back to BROWSER.
            "XDG_DATA_DIRS": str(data),
            "XDG_RUNTIME_DIR": str(self.runtime),
            "TMPDIR": str(self.temp),
            "BROWSER": str(browser),
            **{name: os.environ[name] for name in PASSED_ON if name in os.environ},
        }
        # The desktop's own home comes first, before it has an environment of its own.
        session = getattr(desktop, "env", {})
        self.env.update({key: session[key] for key in
                         ("DISPLAY", "XAUTHORITY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS")
                         if session.get(key)})
        if colours not in COLOUR_SCHEMES:
            raise ValueError(f"no colour scheme {colours!r}; there are {list(COLOUR_SCHEMES)}")
        if COLOUR_SCHEMES[colours] is not None:
            self._use_colour_scheme(config, COLOUR_SCHEMES[colours])

    def _use_colour_scheme(self, config: Path, scheme: Path) -> None:
        """Writes qt6ct's settings as its window writes them when the user picks the scheme,
        and has Qt load qt6ct's platform theme. Style and fonts are those Qt takes without
        qt6ct (left out, qt6ct's fonts would be 12 pt), so that only the colours differ from
        a light run."""
        if not scheme.is_file() or not glob.glob(QT6CT_THEME):
            raise HarnessError("qt6ct is not installed (see scripts/deps.sh test)")
        settings = config / "qt6ct" / "qt6ct.conf"
        settings.parent.mkdir()
        settings.write_text(
            "[Appearance]\ncustom_palette=true\n"
            f"color_scheme_path={scheme}\nstyle=Fusion\n\n"
            "[Fonts]\n"
            'fixed="Monospace,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n'
            'general="Sans Serif,9,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n')
        self.env["QT_QPA_PLATFORMTHEME"] = "qt6ct"

    # -- settings ------------------------------------------------------------------------

    def write_reminder_date(self, date: datetime.date) -> None:
        self.settings_file.parent.mkdir(parents=True, exist_ok=True)
        self.settings_file.write_text(f"[Settings]\nDuration={date.isoformat()}\n")

    def stored_reminder_date(self) -> str | None:
        if not self.settings_file.exists():
            return None
        section = None
        for line in self.settings_file.read_text().splitlines():
            line = line.strip()
            if line.startswith("["):
                section = line
            elif section == "[Settings]" and line.startswith("Duration="):
                return line.split("=", 1)[1]
        return None

    def settings_snapshot(self) -> tuple[bytes, int]:
        """The settings file's bytes and time of last change, to show it was left alone."""
        return self.settings_file.read_bytes(), self.settings_file.stat().st_mtime_ns

    # -- the browser ---------------------------------------------------------------------

    def opened_addresses(self) -> list[str]:
        if not self.browser_log.exists():
            return []
        return self.browser_log.read_text(encoding="utf-8").splitlines()

    def wait_for_addresses(self, count: int, timeout: float = DEFAULT_TIMEOUT) -> list[str]:
        return wait_until(lambda: len(self.opened_addresses()) >= count and
                          self.opened_addresses(), timeout,
                          f"{count} address(es) to reach the browser")


class Woundwell:
    """One run of the program on a desktop, in a home of its own or in that of an earlier run
    (a second copy for the same user)."""

    def __init__(self, desktop: Desktop, home: Home | None = None, program: str = "",
                 runtime: bool = True, browser: bool = True, **home_options) -> None:
        """`runtime`: False leaves XDG_RUNTIME_DIR unset. `browser`: False leaves the program
        no way to open a page: no BROWSER, and nothing at all (no xdg-open) on its PATH."""
        self.desktop = desktop
        self.program = program or PROGRAM
        self.home = home or Home(desktop, **home_options)
        self.env = dict(self.home.env)
        if not runtime:
            del self.env["XDG_RUNTIME_DIR"]
        if not browser:
            del self.env["BROWSER"]
            self.env["PATH"] = str(self.home.root / "no-programs")
        if desktop.platform:
            self.env["QT_QPA_PLATFORM"] = desktop.platform
        if desktop.accessibility:
            self.env.update(QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        else:
            self.env.update(QT_ACCESSIBILITY="0", NO_AT_BRIDGE="1")
        self.process: subprocess.Popen | None = None
        self._app = None

    def start(self) -> "Woundwell":
        self.log = self.home.root / f"program-{time.monotonic_ns()}.log"
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen([self.program], env=self.env,
                                            stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                            cwd=self.home.root, preexec_fn=_die_with_parent)
        self.desktop.programs.append(self)
        return self

    @property
    def pid(self) -> int:
        assert self.process is not None
        return self.process.pid

    def running(self) -> bool:
        return self.process is not None and self.process.poll() is None

    def wait_for_exit(self, timeout: float = DEFAULT_TIMEOUT) -> int:
        assert self.process is not None
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout:.0f}s") from None

    def kill(self) -> None:
        """Kills the program outright, as a crash would end it."""
        if self.running():
            self.process.kill()
            self.process.wait(timeout=DEFAULT_TIMEOUT)

    def stop(self) -> None:
        if self.process is not None:
            _end_process(self.process)

    # -- what is on screen ---------------------------------------------------------------

    def app(self):
        """The program's accessible application object."""
        if self._app is not None:
            try:
                if self._app.get_process_id() == self.pid:
                    return self._app
            except Exception:  # noqa: BLE001 - gone; look it up again
                pass
            self._app = None
        desktop = atspi().Registry.getDesktop(0)
        for app in children(desktop):
            try:
                if app.get_process_id() == self.pid:
                    self._app = app
                    return app
            except Exception:  # noqa: BLE001 - another application going away
                continue
        raise LookupError("the program is not on the accessibility bus")

    def windows(self) -> list:
        """The program's top-level windows that are on screen, message boxes included."""
        if not self.running():
            return []
        return [window for window in children(self.app()) if is_showing(window)]

    def messages(self) -> list:
        return [window for window in self.windows() if role(window) == "alert"]

    def wait_for_window(self, has, what: str, timeout: float = DEFAULT_TIMEOUT):
        """Waits for a window on screen for which `has(window)` is true, and returns it."""
        def found():
            matches = [window for window in self.windows() if has(window)]
            return matches[0] if len(matches) == 1 else None
        try:
            return wait_until(found, timeout, what)
        except AssertionError as error:
            raise AssertionError(f"{error}; on screen: {self.describe_windows()}") from None

    def describe_windows(self) -> str:
        """A short account of what is on screen, for failure messages."""
        if not self.running():
            return f"nothing (the program ended with {self.process.returncode})"
        try:
            described = []
            for window in self.windows():
                if role(window) == "alert":
                    described.append(f"message {message_text(window)!r}")
                elif shows_name_box(window):
                    described.append("the birth-data window")
                elif shows_result(window):
                    described.append("the result window")
                elif shows_referral_form(window):
                    described.append("the farewell window")
                else:
                    described.append(f"{role(window)} {window.name!r}")
            return ", ".join(described) or "no window"
        except Exception as error:  # noqa: BLE001 - only for a message
            return f"unknown ({error!r})"

    def wait_for_message(self, text: str | None = None, timeout: float = DEFAULT_TIMEOUT):
        """Waits for a message box and returns it; with `text`, for one saying exactly
        that."""
        def has(window):
            return role(window) == "alert" and (text is None or message_text(window) == text)
        return self.wait_for_window(has, f"the message {text!r}", timeout)


def message_text(box) -> str:
    """The text of a message box, as a screen reader reads it."""
    labels = [text_of(label) for label in find_all(box, "label")]
    labels = [label for label in labels if label.strip()]
    return "\n".join(labels)


# ---------------------------------------------------------------------------------------------
# The program's windows, told apart by what they show
# ---------------------------------------------------------------------------------------------


def shows_name_box(window) -> bool:
    """The birth-data window: the only one with the "Name" box."""
    return role(window) != "alert" and bool(find_all(window, "text", "Name"))


def labels_for(window, purpose: str) -> list:
    """The labels that say what they are for ("Healing sign") in their name or description."""
    return find_all(window, "label",
                    predicate=lambda node: purpose in (node.name, node.description))


def shows_result(window) -> bool:
    """The result window: the only one with the healing sign on it."""
    return role(window) != "alert" and bool(labels_for(window, "Healing sign"))


def shows_referral_form(window) -> bool:
    """The farewell window: the only one with the "Refer A Friend" form."""
    return role(window) != "alert" and bool(find_all(window, name="Refer A Friend"))


# ---------------------------------------------------------------------------------------------
# Test cases
# ---------------------------------------------------------------------------------------------


class ProgramTestCase(unittest.TestCase):
    """Test case base: one desktop for the module's tests, one program run (or more) per
    test, each ended when the test ends, however it ends."""

    desktop: Desktop

    @classmethod
    def make_desktop(cls) -> Desktop:
        return Desktop()

    @classmethod
    def setUpClass(cls) -> None:
        cls.desktop = cls.make_desktop().start()
        os.environ.update(cls.desktop.env)
        try:
            atspi()
        except BaseException:
            cls.desktop.stop()
            raise

    @classmethod
    def tearDownClass(cls) -> None:
        cls.desktop.stop()

    def launch(self, **options) -> Woundwell:
        """Starts a run of the program (options as for `Woundwell`)."""
        if "home" not in options:
            options["name"] = self._testMethodName
        program = Woundwell(self.desktop, **options).start()
        self.addCleanup(program.stop)
        return program

    def start_at_birth_data_window(self, **options) -> tuple[Woundwell, object]:
        program = self.launch(**options)
        window = program.wait_for_window(shows_name_box, "the birth-data window")
        wait_until(lambda: is_focused(find_one(window, "text", "Name")), what="focus in Name")
        self.wait_for_keyboard()
        return program, window

    def assert_frame_centred(self, program: Woundwell, what: str) -> None:
        """The program's one window on the screen comes to have its frame, title bar and all,
        centred on the screen's work area (the program may move it once the window manager has
        framed it)."""
        def frame():
            frames = self.desktop.frames(program.pid)
            self.assertLessEqual(len(frames), 1, f"{what}: the program's windows are {frames}")
            return frames[0] if frames else None
        self.assert_centred(frame, what)

    def assert_centred(self, frame, what: str, timeout: float = 3.0) -> None:
        """The frame that `frame()` reads comes to be centred on the work area, to the pixel
        that halving an odd size leaves."""
        def centred(rectangle) -> bool:
            if rectangle is None:
                return False
            left, top, width, height = rectangle
            area_left, area_top, area_width, area_height = self.desktop.work_area()
            return (abs(2 * (left - area_left) + width - area_width) <= 1 and
                    abs(2 * (top - area_top) + height - area_height) <= 1)
        deadline = time.monotonic() + timeout
        while not centred(last := frame()) and time.monotonic() < deadline:
            time.sleep(0.05)
        self.assertTrue(centred(last), f"{what}: {last} in {self.desktop.work_area()}")

    # xdotool shortcuts
    def key(self, *keys: str) -> None:
        self.desktop.key(*keys)

    def type(self, text: str) -> None:
        self.desktop.type(text)

    # A list looks up what is typed into it as one search until the typing pauses for Qt's
    # keyboard input interval (400 ms); a person picking again pauses longer than that.
    _TYPE_AHEAD_PAUSE = 0.5
    _last_pick = 0.0

    def pick(self, text: str) -> None:
        """Types the start of an item into the focused drop-down list, as a fresh search."""
        pause = self._last_pick + self._TYPE_AHEAD_PAUSE - time.monotonic()
        if pause > 0:
            time.sleep(pause)
        self.desktop.type(text)
        self._last_pick = time.monotonic()

    def click(self, node) -> None:
        self.desktop.click_at(*centre_of(node))

    def double_click(self, node) -> None:
        self.desktop.double_click_at(*centre_of(node))

    def dismiss_message(self, program: Woundwell, text: str) -> None:
        """Reads the message box that must be up, checks its text and presses Enter on it."""
        box = program.wait_for_message(text)
        wait_until(lambda: any(is_focused(node) for node in find_all(box, "push button")),
                   what="the message box's button to take the focus")
        self.key("Return")
        wait_until(lambda: not program.messages(), what=f"the message {text!r} to close")
        # Keys typed next go to the window the message came from, once it has them again.
        self.wait_for_keyboard()

    def wait_for_keyboard(self, title: str | None = None) -> None:
        """Waits until the X server sends the keyboard to a window with that title, by default
        the one all four windows have (message boxes are titled with the bare program title)."""
        wait_for_value(self.desktop.keyboard_window_title, title or window_title(),
                       "the keyboard focus")


def _end_on_signals(budget: int = 0) -> None:
    """Ends everything started here on SIGTERM (CTest's time-out), and after `budget`
    seconds when given."""
    def out_of_time(signum, frame):  # noqa: ARG001
        if signum == signal.SIGALRM:
            sys.stderr.write(f"\nthe tests did not finish within {budget}s; ending them\n")
        sys.stderr.flush()
        _reap_leftovers()
        for root in _temporary_roots:
            shutil.rmtree(root, ignore_errors=True)
        os._exit(3)

    signal.signal(signal.SIGTERM, out_of_time)
    if budget:
        signal.signal(signal.SIGALRM, out_of_time)
        signal.alarm(budget)


def main() -> None:
    """Runs the calling test module's tests against the program named on the command line."""
    global PROGRAM
    if len(sys.argv) < 2:
        sys.exit(f"usage: {sys.argv[0]} PATH-TO-WOUNDWELL [unittest options]")
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    if not os.access(PROGRAM, os.X_OK):
        sys.exit(f"not a program: {PROGRAM}")
    _end_on_signals(int(os.environ.get("WOUNDWELL_E2E_BUDGET", "150")))
    unittest.main(module="__main__", verbosity=2)


# ---------------------------------------------------------------------------------------------
# The command line, for shell scripts
# ---------------------------------------------------------------------------------------------


def _run(desktop: Desktop, command: list[str]) -> int:
    """Runs a command with the environment the program would have, in a fresh home."""
    return subprocess.run(command, env=Woundwell(desktop).env, check=False).returncode


def _first_window(desktop: Desktop, program: str) -> int:
    run = Woundwell(desktop, program=os.path.abspath(program)).start()

    def first_window():
        if not run.running():
            raise HarnessError(f"{program} ended ({run.process.returncode}) with no window")
        return (desktop.x_windows(run.pid) or [None])[0]

    window = wait_until(first_window, 15, f"a window of {program}")
    title = desktop.window_property(window, "_NET_WM_NAME").strip('"')
    wm_class = desktop.window_property(window, "WM_CLASS").split(", ")[-1].strip('"')
    print(f"title={title}\nclass={wm_class}")
    return 0


def _command_line() -> int:
    parser = argparse.ArgumentParser(description="A private desktop for Woundwell.")
    parser.add_argument("--window-manager", action="store_true", help="run openbox")
    parser.add_argument("--no-bus", action="store_true", help="no D-Bus session bus")
    actions = parser.add_subparsers(dest="action", required=True)
    actions.add_parser("run", help="run a command on the desktop").add_argument(
        "command", nargs=argparse.REMAINDER)
    actions.add_parser("window", help="print a program's first window's title and class"
                       ).add_argument("program")
    options = parser.parse_args()
    command = getattr(options, "command", [])
    command = command[1:] if command[:1] == ["--"] else command
    _end_on_signals()
    desktop = Desktop(window_manager=options.window_manager or options.action == "window",
                      bus=not options.no_bus, accessibility=False)
    try:
        desktop.start()
        if options.action == "window":
            return _first_window(desktop, options.program)
        return _run(desktop, command)
    except (HarnessError, AssertionError) as error:
        print(f"woundwell_desktop: {error}", file=sys.stderr)
        return 1
    finally:
        desktop.stop()


if __name__ == "__main__":
    sys.exit(_command_line())
