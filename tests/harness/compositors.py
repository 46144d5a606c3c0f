"""The Wayland sessions users have, private to a test: GNOME's compositor (mutter) and KDE
Plasma's (KWin), each headless on a virtual 1280x1024 screen, with XWayland or without any X
server, a D-Bus session and the accessibility bus.

The program is started there as on a user's desktop: with WAYLAND_DISPLAY, and DISPLAY where
XWayland runs, and no platform chosen for it. Through XWayland, keys and clicks go in with
xdotool and the compositor's own view of the windows is read from the properties it keeps on
the X root window (the stacking order, the active window, the work area) and on each window
(its frame extents and state). A native Wayland window takes no input from here: what is
checked of it is read over AT-SPI.
"""

from __future__ import annotations

import glob
import os
import re
import shutil
import stat
import subprocess
import time
from pathlib import Path

from woundwell_desktop import (Desktop, HarnessError, ProgramTestCase, _become_subreaper,
                               _require, wait_for_value, wait_until)

COMPOSITORS = ("mutter", "kwin")
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
            if self.compositor == "mutter":
                self._start_mutter()
            else:
                self._start_kwin()
            # Clients in other runtime folders find the socket by its full path.
            self.env["WAYLAND_DISPLAY"] = str(self.runtime / self.socket)
        except BaseException:
            self.stop()
            raise
        return self

    def _start_mutter(self) -> None:
        log = self.root / "mutter.log"
        argv = [_require("mutter"), "--headless", "--wayland", "--wayland-display", self.socket,
                "--virtual-monitor", "{}x{}".format(*SCREEN)]
        if not self.xwayland:
            argv.append("--no-x11")
        with open(log, "wb") as output:
            self.spawn(argv, self.env, stdout=output, stderr=subprocess.STDOUT)
        wait_until(lambda: (self.runtime / self.socket).exists(), 30, "mutter's Wayland socket")
        if self.xwayland:
            # Mutter names the display it gives X clients in its log, and the key to it in the
            # runtime folder.
            display = wait_until(
                lambda: re.search(r"Using public X11 display (:\d+)", log.read_text()), 30,
                "mutter's XWayland display")
            self.display = display[1]
            self.env["DISPLAY"] = self.display
            self.env["XAUTHORITY"] = wait_until(
                lambda: next(iter(glob.glob(str(self.runtime / ".mutter-Xwaylandauth.*"))), ""),
                10, "mutter's XWayland key")
            self._wait_for_x_window_manager()

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
        if self.compositor != "mutter":
            raise HarnessError(f"no way to type into native windows on {self.compositor}")
        return RemoteKeyboard(self.env["DBUS_SESSION_BUS_ADDRESS"])

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


class RemoteKeyboard:
    """A keyboard of a Mutter remote desktop session: keys by X keysym."""

    SERVICE = "org.gnome.Mutter.RemoteDesktop"
    KEYSYMS = {"Tab": 0xFF09, "Return": 0xFF0D, "Escape": 0xFF1B, "Shift": 0xFFE1}

    def __init__(self, bus_address: str) -> None:
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio, GLib
        self._variant = GLib.Variant
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
                 Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        self._bus = Gio.DBusConnection.new_for_address_sync(bus_address, flags, None, None)
        reply = self._bus.call_sync(self.SERVICE, "/org/gnome/Mutter/RemoteDesktop", self.SERVICE,
                                    "CreateSession", None, GLib.VariantType("(o)"), 0, -1, None)
        self._session = reply.unpack()[0]
        self._call("Start")
        # The first key of a new session only brings its keymap.
        self.key("Shift")

    def _call(self, method: str, arguments=None) -> None:
        self._bus.call_sync(self.SERVICE, self._session, self.SERVICE + ".Session", method,
                            arguments, None, 0, -1, None)

    def key(self, name: str) -> None:
        keysym = self.KEYSYMS.get(name) or ord(name)
        for pressed in (True, False):
            self._call("NotifyKeyboardKeysym", self._variant("(ub)", (keysym, pressed)))
        time.sleep(0.06)

    def type(self, text: str) -> None:
        for letter in text:
            self.key(letter)


def _make_x_socket_folder() -> None:
    """XWayland puts its socket in /tmp/.X11-unix, which mutter wants writable by all, as an X
    server leaves it; a fresh system may have none yet."""
    try:
        X_SOCKETS.mkdir(mode=0o1777)
        X_SOCKETS.chmod(0o1777)
    except FileExistsError:
        mode = X_SOCKETS.stat().st_mode
        if stat.S_IMODE(mode) != 0o1777 and X_SOCKETS.stat().st_uid == os.getuid():
            X_SOCKETS.chmod(0o1777)


class SessionTestCase(ProgramTestCase):
    """Test case base: one session of the compositor WOUNDWELL_COMPOSITOR names (mutter when
    it names none) for the module's tests, with XWayland as the class says."""

    xwayland = True

    @classmethod
    def make_desktop(cls) -> CompositorDesktop:
        return CompositorDesktop(os.environ.get("WOUNDWELL_COMPOSITOR", "mutter"),
                                 xwayland=cls.xwayland)

    def assert_silent(self, program) -> None:
        self.assertEqual("", program.log.read_text(errors="replace"), "standard error")

    def other_program(self) -> int:
        """Another program's X window, as a person would have one open beside."""
        other = self.desktop.spawn(["xmessage", "-geometry", "+40+40", "another program"],
                                   self.desktop.env)
        self.addCleanup(other.kill)
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
