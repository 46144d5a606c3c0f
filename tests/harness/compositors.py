"""The Wayland sessions users have, private to a test: GNOME's (GNOME Shell, with its top bar)
and KDE Plasma's compositor (KWin), each headless on a virtual 1280x1024 screen, with XWayland
or without any X server, a D-Bus session, a system bus of its own and the accessibility bus.

The program is started there as on a user's desktop: with WAYLAND_DISPLAY, and DISPLAY where
XWayland runs, and no platform chosen for it. Through XWayland, keys and clicks go in with
xdotool and the compositor's own view of the windows is read from the properties it keeps on
the X root window (the stacking order, the active window, the work area) and on each window
(its frame extents and state). GNOME Shell also lists every window, native ones too, with its
frame, its place in the stacking order and whether it has the focus, takes screenshots, and
types into native windows through Mutter's remote desktop interface. KWin offers none of
these without a GPU: there, what is checked of a native window is read over AT-SPI.
"""

from __future__ import annotations

import glob
import json
import os
import re
import shutil
import stat
import subprocess
import time
from pathlib import Path

from woundwell_desktop import (Desktop, HarnessError, ProgramTestCase, _become_subreaper,
                               _read_line, _require, wait_for_value, wait_until)

COMPOSITORS = ("gnome-shell", "kwin")
SCREEN = (1280, 1024)
X_SOCKETS = Path("/tmp/.X11-unix")


class CompositorDesktop(Desktop):
    """A headless Wayland session of one of `COMPOSITORS`, with XWayland unless `xwayland` is
    False."""

    # The program picks its platform itself, as it does on a user's desktop.
    platform = None

    def __init__(self, compositor: str, xwayland: bool = True) -> None:
        if compositor not in COMPOSITORS:
            raise ValueError(f"no compositor {compositor!r}; there are {COMPOSITORS}")
        super().__init__(window_manager=False)
        self.compositor = compositor
        self.xwayland = xwayland
        self.runtime = Path(self.env["XDG_RUNTIME_DIR"])
        self.socket = f"wayland-woundwell-{os.getpid()}"

    def start(self) -> "CompositorDesktop":
        _become_subreaper()
        try:
            self._start_dbus()
            self._start_accessibility_bus()
            if self.xwayland:
                _make_x_socket_folder()
            if self.compositor == "gnome-shell":
                self._start_gnome_shell()
            else:
                self._start_kwin()
            # Clients in other runtime folders find the socket by its full path.
            self.env["WAYLAND_DISPLAY"] = str(self.runtime / self.socket)
        except BaseException:
            self.stop()
            raise
        return self

    def _start_gnome_shell(self) -> None:
        # GNOME Shell asks the system bus for what the machine has (accounts, power, network)
        # and does without what it does not find there.
        bus = self.spawn([_require("dbus-daemon"), "--session", "--nofork", "--nopidfile",
                          "--print-address=1"], self.env, stdout=subprocess.PIPE)
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = _read_line(bus.stdout, bus, "the system bus")
        log = self.root / "gnome-shell.log"
        # Unsafe mode opens its Eval and Screenshot interfaces to the test.
        argv = [_require("gnome-shell"), "--headless", "--wayland", "--unsafe-mode",
                "--wayland-display", self.socket, "--virtual-monitor", "{}x{}".format(*SCREEN)]
        if not self.xwayland:
            argv.append("--no-x11")
        with open(log, "wb") as output:
            self.spawn(argv, self.env, stdout=output, stderr=subprocess.STDOUT)
        wait_until(lambda: (self.runtime / self.socket).exists(), 30, "GNOME Shell's socket")
        self._shell = _SessionBus(self.env["DBUS_SESSION_BUS_ADDRESS"])
        # The session starts in the overview, where keys go to its search.
        try:
            wait_until(self._shell_ready, 30, "GNOME Shell to start, out of the overview")
        except AssertionError as error:
            raise HarnessError(f"{error}; {self._shell_state}; GNOME Shell's log ends: "
                               f"{log.read_text(errors='replace')[-2000:]}") from None
        if self.xwayland:
            # Mutter names the display it gives X clients in its log, and the key to it in the
            # runtime folder.
            display = wait_until(
                lambda: re.search(r"Using public X11 display (:\d+)", log.read_text()), 30,
                "GNOME Shell's XWayland display")
            self.display = display[1]
            self.env["DISPLAY"] = self.display
            self.env["XAUTHORITY"] = wait_until(
                lambda: next(iter(glob.glob(str(self.runtime / ".mutter-Xwaylandauth.*"))), ""),
                10, "GNOME Shell's XWayland key")
            self._wait_for_x_window_manager()

    def _shell_ready(self) -> bool:
        try:
            # Not before its start is over: a hidden overview would stop the start's animation.
            self._shell_state = self.shell_eval(
                "const starting = Main.layoutManager._startingUp; if (!starting)"
                " Main.overview.hide(); [starting, Main.overview.visible]")
        except HarnessError as error:
            self._shell_state = str(error)
            return False
        return self._shell_state == [False, False]

    def shell_eval(self, script: str):
        """What a script run in GNOME Shell gives back, from JSON."""
        ok, result = self._shell.call("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell",
                                      "Eval", ("(s)", (script,)), "(bs)")
        if not ok:
            raise HarnessError(f"GNOME Shell could not run {script!r}: {result}")
        return json.loads(result) if result else None

    def shell_windows(self) -> list[dict]:
        """The windows GNOME Shell shows, bottom to top: each with its process, its frame
        (left, top, width and height), whether it is an X11 window, has the focus and is kept
        above, and whether it is drawn."""
        return self.shell_eval("""global.get_window_actors().map(actor => {
            const w = actor.meta_window, r = w.get_frame_rect();
            return {pid: w.get_pid(), title: w.get_title(), frame: [r.x, r.y, r.width, r.height],
                    x11: w.get_client_type() === 1, focus: w.has_focus(), above: w.is_above(),
                    drawn: actor.visible && !w.minimized};
        })""")

    def _screen_picture(self) -> list[str]:
        """The screen as GNOME Shell draws it, for ImageMagick to read; XWayland has no picture
        of the whole screen, and KWin's virtual screen gives none without a GPU."""
        if self.compositor != "gnome-shell":
            raise HarnessError(f"{self.compositor} takes no screenshots here")
        path = self.root / "screenshot.png"
        ok, _ = self._shell.call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                                 "org.gnome.Shell.Screenshot", "Screenshot",
                                 ("(bbs)", (False, False, str(path))), "(bs)")
        if not ok:
            raise HarnessError("GNOME Shell took no screenshot")
        return [_require("convert"), str(path)]

    def _start_kwin(self) -> None:
        # KWin starts the programs it is given in its session; this one reports the session's
        # X display and key and stays.
        report = self.root / "kwin-session"
        reporter = self.root / "report-session"
        reporter.write_text(f'#!/bin/sh\necho "$DISPLAY $XAUTHORITY" > {report}.new\n'
                            f"mv {report}.new {report}\nexec sleep 100000\n")
        reporter.chmod(0o755)
        argv = ["--virtual", "--width", str(SCREEN[0]), "--height", str(SCREEN[1]),
                "--socket", self.socket, *(["--xwayland"] if self.xwayland else []),
                str(reporter)]
        env = dict(self.env, QT_QPA_PLATFORM="wayland-org.kde.kwin.qpa")
        with open(self.root / "kwin.log", "wb") as output:
            self.spawn([self._kwin(), *argv], env, stdout=output, stderr=subprocess.STDOUT)
        wait_until(report.exists, 30, "KWin's session")
        display, _, key = report.read_text().strip().partition(" ")
        if self.xwayland:
            if not display:
                raise HarnessError("KWin started no XWayland")
            self.display = display
            self.env["DISPLAY"] = display
            if key:
                self.env["XAUTHORITY"] = key
            self._wait_for_x_window_manager()

    def _kwin(self) -> str:
        """KWin's program. Debian gives it a file capability (a higher priority), which a
        container that may not grant it refuses to start at all: there, a copy without it,
        under the same name, since KWin tells its own platform plugin by the name."""
        kwin = _require("kwin_wayland")
        try:
            subprocess.run([kwin, "--version"], capture_output=True, env=self.env, check=False)
            return kwin
        except PermissionError:
            pass
        copy = self.root / "kwin" / "kwin_wayland"
        copy.parent.mkdir(exist_ok=True)
        shutil.copyfile(kwin, copy)
        copy.chmod(0o755)
        return str(copy)

    def native_keyboard(self) -> "RemoteKeyboard":
        """Keys for native Wayland windows, through Mutter's remote desktop interface, as a
        remote desktop client types them. KWin offers no such interface on the bus."""
        if self.compositor != "gnome-shell":
            raise HarnessError(f"no way to type into native windows on {self.compositor}")
        return RemoteKeyboard(self._shell)

    def _wait_for_x_window_manager(self) -> None:
        wait_until(lambda: "window id" in self.tool("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                   30, f"{self.compositor} to manage X windows")

    # -- what the compositor says of the X windows ---------------------------------------

    def stacking(self) -> list[int]:
        """The X windows the compositor manages, bottom to top."""
        listed = self.tool("xprop", "-root", "_NET_CLIENT_LIST_STACKING").partition("#")[2]
        return [int(window, 16) for window in listed.replace(",", " ").split()]

    def active_window(self) -> int:
        """The X window the compositor has made active, 0 for none (a Wayland window)."""
        listed = self.tool("xprop", "-root", "_NET_ACTIVE_WINDOW").partition("#")[2].strip()
        return int(listed.split(",")[0], 16) if listed else 0


class _SessionBus:
    """A connection of the test's own to a session's bus."""

    def __init__(self, address: str) -> None:
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio, GLib
        self._glib = GLib
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
                 Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        self._bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)

    def call(self, service: str, path: str, interface: str, method: str, arguments=None,
             reply: str | None = None):
        """Calls a method, its arguments a (signature, values) pair; gives the reply's values."""
        GLib = self._glib
        try:
            result = self._bus.call_sync(
                service, path, interface, method,
                GLib.Variant(*arguments) if arguments else None,
                GLib.VariantType(reply) if reply else None, 0, 10000, None)
        except GLib.Error as error:
            raise HarnessError(f"{interface}.{method}: {error.message}") from None
        return result.unpack() if result is not None else None


class RemoteKeyboard:
    """A keyboard of a Mutter remote desktop session: keys by X keysym."""

    SERVICE = "org.gnome.Mutter.RemoteDesktop"
    KEYSYMS = {"Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B, "Shift": 0xFFE1}

    def __init__(self, bus: _SessionBus) -> None:
        self._bus = bus
        self._session = bus.call(self.SERVICE, "/org/gnome/Mutter/RemoteDesktop", self.SERVICE,
                                 "CreateSession", None, "(o)")[0]
        self._call("Start")
        # The first key of a new session only brings its keymap.
        self.key("Shift")

    def _call(self, method: str, arguments=None) -> None:
        self._bus.call(self.SERVICE, self._session, self.SERVICE + ".Session", method, arguments)

    def key(self, name: str) -> None:
        keysym = self.KEYSYMS.get(name) or ord(name)
        for pressed in (True, False):
            self._call("NotifyKeyboardKeysym", ("(ub)", (keysym, pressed)))
        time.sleep(0.06)

    def type(self, text: str) -> None:
        for letter in text:
            self.key(letter)


def _make_x_socket_folder() -> None:
    """XWayland puts its socket in /tmp/.X11-unix, which Mutter wants writable by all, as an X
    server leaves it; a fresh system may have none yet."""
    try:
        X_SOCKETS.mkdir(mode=0o1777)
        X_SOCKETS.chmod(0o1777)
    except FileExistsError:
        mode = X_SOCKETS.stat().st_mode
        if stat.S_IMODE(mode) != 0o1777 and X_SOCKETS.stat().st_uid == os.getuid():
            X_SOCKETS.chmod(0o1777)


class SessionTestCase(ProgramTestCase):
    """Test case base: one session of the compositor WOUNDWELL_COMPOSITOR names (GNOME Shell
    when it names none) for the module's tests, with XWayland as the class says."""

    xwayland = True

    @classmethod
    def make_desktop(cls) -> CompositorDesktop:
        return CompositorDesktop(os.environ.get("WOUNDWELL_COMPOSITOR", "gnome-shell"),
                                 xwayland=cls.xwayland)

    def assert_silent(self, program) -> None:
        self.assertEqual("", program.log.read_text(errors="replace"), "standard error")

    def other_program(self) -> int:
        """Another program's X window, as a person would have one open beside: a large one,
        over the middle of the screen, in magenta."""
        other = self.desktop.spawn(["xmessage", "-bg", "magenta", "-geometry", "1100x860+40+60",
                                    "another program"], self.desktop.env)
        self.addCleanup(other.kill)
        self.other_pid = other.pid
        # xmessage does not name its process on its window; its class tells it.
        return self.only_window(lambda: self.desktop.tool(
            "xdotool", "search", "--onlyvisible", "--class", "Xmessage").split(),
            "the other program's window")

    def program_window(self, program, what: str) -> int:
        return self.only_window(lambda: self.desktop.x_windows(program.pid), what)

    def only_window(self, windows, what: str) -> int:
        """The one window that `windows()` lists, once the windows that were going are gone."""
        found = wait_until(lambda: len(windows()) == 1 and windows(), what=f"{what} alone")
        return int(found[0])

    def activate(self, window: int) -> None:
        """Gives a window the focus through the compositor, as a click on its title does."""
        self.desktop.tool("xdotool", "windowactivate", str(window))
        wait_for_value(self.desktop.active_window, window, "the window to be active")

    def click_into(self, window: int) -> None:
        left, top, width, height = self.desktop.frame(window)
        self.desktop.click_at(left + width // 2, top + height // 2)

    def above(self, window: int, other: int) -> bool:
        stacking = self.desktop.stacking()
        state = self.desktop.window_property(str(window), "_NET_WM_STATE")
        return (window in stacking and other in stacking and
                stacking.index(window) > stacking.index(other) and "_NET_WM_STATE_ABOVE" in state)
