#!/usr/bin/env python3
"""Runs the built program on an X server of its own and drives it the way a user does.

Every run gets a fresh Xvfb display with openbox as window manager, its own home, settings,
runtime and temporary directories, and a settings file that says the update reminder was shown
today, so that no reminder comes up unless a scenario asks for one. Windows are found by their
titles and owning process, keys are typed with xdotool into the focused window.

Usage: x11_session.py --program PATH SCENARIO
Exit code 0: passed; 1: failed; 77: skipped (a needed tool is missing).
"""

import argparse
import datetime
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
MAIN_TITLE = "Woundwell v1.15"  # every window of the program
BOX_TITLE = "Woundwell"  # every message box
DONATE_PAGE = "http://www.quorvane.com/donate.html"
DOWNLOAD_PAGE = "http://www.quorvane.com/woundwell/download-woundwell.html"
TOOLS = ("Xvfb", "openbox", "xdotool", "xprop", "xwininfo")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, predicate, timeout=15.0, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"gave up after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def stays_true(predicate, seconds, interval=0.1):
    """True when predicate holds at every look for the given time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not predicate():
            return False
        time.sleep(interval)
    return predicate()


class Session:
    """One X display with a window manager, a home for the program and its processes."""

    def __init__(self, program):
        self.program = program
        self.root = tempfile.mkdtemp(prefix="woundwell-x11-")
        self.home = self.mkdir("home")
        self.config = self.mkdir("home/.config")
        self.runtime = self.mkdir("runtime", 0o700)
        self.temp = self.mkdir("tmp")
        self.fake_bin = self.mkdir("fake-bin")
        self.empty_bin = self.mkdir("empty-bin")
        self.browser_log = os.path.join(self.root, "browser.log")
        self.settings_file = os.path.join(self.config, "Woundwell", "Woundwell.conf")
        self.processes = []
        self.logs = []
        self.server = None
        self.display = None

        fake_browser = os.path.join(self.fake_bin, "xdg-open")
        with open(fake_browser, "w") as script:
            script.write(f'#!/bin/sh\nprintf "%s\\n" "$*" >> "{self.browser_log}"\n')
        os.chmod(fake_browser, 0o755)

    def mkdir(self, name, mode=0o755):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        os.chmod(path, mode)
        return path

    # ---- the X server and the window manager ----

    def start_display(self):
        read_end, write_end = os.pipe()
        log = self.log_file("Xvfb")
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
            start_new_session=True)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        check(number.strip().isdigit(), "Xvfb did not report its display number")
        self.display = ":" + number.strip().decode()
        wait_until(f"the X server on {self.display}",
                   lambda: self.server_alive() and self.tool("xprop", "-root").returncode == 0)

        wm_env = self.tool_env()
        wm_env["HOME"] = self.home
        wm_env["XDG_CONFIG_HOME"] = self.config
        self.spawn(["openbox", "--sm-disable"], wm_env, "openbox")
        wait_until("the window manager",
                   lambda: self.server_alive()
                   and "window id" in self.tool("xprop", "-root",
                                                "_NET_SUPPORTING_WM_CHECK").stdout)

    def server_alive(self):
        code = self.server.poll()
        check(code is None, f"the X server on {self.display} ended with code {code}")
        return True

    def tool_env(self):
        return {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "DISPLAY": self.display,
                "HOME": self.home, "LANG": "C.UTF-8"}

    def tool(self, *args, timeout=10):
        return subprocess.run(args, env=self.tool_env(), capture_output=True, text=True,
                              timeout=timeout)

    def log_file(self, name):
        path = os.path.join(self.root, f"{name}-{len(self.logs)}.log")
        self.logs.append(path)
        return open(path, "w")

    def spawn(self, argv, env, name):
        log = self.log_file(name)
        process = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=log, cwd=self.root)
        self.processes.append(process)
        return process

    # ---- the program ----

    def program_env(self, runtime=True, path=None):
        env = {
            "PATH": path if path is not None else f"{self.fake_bin}:/usr/bin:/bin",
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "TMPDIR": self.temp,
            "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb",
            "QT_ACCESSIBILITY": "0",
            # No session bus: nothing to find there, and nothing to start one.
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + os.path.join(self.root, "no-bus"),
            "LANG": "C.UTF-8",
        }
        if runtime:
            env["XDG_RUNTIME_DIR"] = self.runtime
        for name in ("TZ", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS", "LD_LIBRARY_PATH"):
            if name in os.environ:
                env[name] = os.environ[name]
        return env

    def start_program(self, **env_options):
        return self.spawn([self.program], self.program_env(**env_options), "woundwell")

    def write_settings(self, last_reminder):
        os.makedirs(os.path.dirname(self.settings_file), exist_ok=True)
        with open(self.settings_file, "w") as settings:
            settings.write(f"[Settings]\nDuration={last_reminder.isoformat()}\n")

    def settings_snapshot(self):
        with open(self.settings_file, "rb") as settings:
            data = settings.read()
        return data, os.stat(self.settings_file).st_mtime_ns

    def browser_calls(self):
        if not os.path.exists(self.browser_log):
            return []
        with open(self.browser_log) as log:
            return log.read().splitlines()

    # ---- windows ----

    def windows(self, title, pid=None):
        """Ids of the mapped windows whose title is exactly title, of one process if given."""
        for _ in range(5):
            # A window that goes away while xdotool walks the tree makes it stop with an X error
            # and a partial answer; look again.
            search = self.tool("xdotool", "search", "--onlyvisible", "--name",
                               "^" + re.escape(title) + "$")
            if "X Error" not in search.stderr and "BadWindow" not in search.stderr:
                break
            time.sleep(0.1)
        result = []
        for window in search.stdout.split():
            if self.tool("xdotool", "getwindowname", window).stdout.rstrip("\n") != title:
                continue
            if pid is not None and self.window_pid(window) != pid:
                continue
            result.append(window)
        return result

    def settles_on(self, what, title, expected, timeout=3.0):
        """Waits until the mapped windows titled title are exactly expected."""
        try:
            wait_until(what, lambda: self.windows(title) == expected, timeout)
        except Failure:
            raise Failure(f"{what}: windows titled '{title}' are {self.windows(title)}, "
                          f"expected {expected}") from None

    def window_pid(self, window):
        out = self.tool("xdotool", "getwindowpid", window).stdout.strip()
        return int(out) if out.isdigit() else None

    def is_viewable(self, window):
        return "IsViewable" in self.tool("xwininfo", "-id", window).stdout

    def wait_for_window(self, title, process):
        def one():
            check(process.poll() is None,
                  f"the program ended (code {process.returncode}) before showing '{title}'")
            found = self.windows(title, process.pid)
            return found[0] if len(found) == 1 else None
        return wait_until(f"a window titled '{title}'", one)

    def activate(self, window):
        self.tool("xdotool", "windowactivate", "--sync", window, timeout=10)
        wait_until("the window to take the focus",
                   lambda: self.tool("xdotool", "getwindowfocus").stdout.strip() == window,
                   timeout=5)

    def type_keys(self, window, *keys):
        self.activate(window)
        self.tool("xdotool", "key", "--clearmodifiers", *keys)

    def wait_for_exit(self, process, timeout=10):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"the program did not end within {timeout} s") from None

    # ---- tidying up ----

    def close(self, keep_logs):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.kill()
                process.wait(5)
        if self.server is not None and self.server.poll() is None:
            self.server.terminate()
            try:
                self.server.wait(5)
            except subprocess.TimeoutExpired:
                self.server.kill()
                self.server.wait(5)
        if keep_logs:
            for path in self.logs:
                with open(path, errors="replace") as log:
                    text = log.read().strip()
                if text:
                    print(f"--- {os.path.basename(path)}\n{text}", file=sys.stderr)
        shutil.rmtree(self.root, ignore_errors=True)


# ---- scenarios ----

def today():
    return datetime.date.today()


def start_quietly(session, **env_options):
    """Starts the program with no reminder due; returns the process and its window."""
    process = session.start_program(**env_options)
    window = session.wait_for_window(MAIN_TITLE, process)
    return process, window


def leave_through_farewell(session, process, main_window):
    """Esc on the birth-data window, then the farewell window's close box: the program ends."""
    session.type_keys(main_window, "Escape")
    wait_until("the birth-data window to go", lambda: not session.is_viewable(main_window))
    farewell = session.wait_for_window(MAIN_TITLE, process)
    check(farewell != main_window, "the birth-data window came back instead of the farewell")
    session.type_keys(farewell, "alt+F4")
    code = session.wait_for_exit(process)
    check(code == 0, f"the program ended with code {code}")


def scenario_normal_run(session):
    session.write_settings(today())
    before = session.settings_snapshot()
    process, main_window = start_quietly(session)
    check(stays_true(lambda: session.windows(MAIN_TITLE) == [main_window]
                     and not session.windows(BOX_TITLE), 1.0),
          "start-up did not end with exactly one window and no message")

    # Esc closes the birth-data window; the farewell window takes its place.
    session.type_keys(main_window, "Escape")
    wait_until("the birth-data window to go", lambda: not session.is_viewable(main_window))
    farewell = session.wait_for_window(MAIN_TITLE, process)
    check(farewell != main_window, "the birth-data window is still there")
    session.settles_on("more than the farewell window is shown", MAIN_TITLE, [farewell])

    # Esc does nothing in the farewell window.
    session.type_keys(farewell, "Escape")
    check(stays_true(lambda: process.poll() is None and session.is_viewable(farewell), 1.0),
          "Esc closed the farewell window")

    # Its close box ends the program, with no window left and nothing written.
    session.type_keys(farewell, "alt+F4")
    code = session.wait_for_exit(process)
    check(code == 0, f"the program ended with code {code}")
    session.settles_on("a window outlived the program", MAIN_TITLE, [])
    check(session.settings_snapshot() == before, "the settings file changed")


def scenario_second_copy(session):
    session.write_settings(today())
    first, first_window = start_quietly(session)
    before = session.settings_snapshot()

    second = session.start_program()
    box = session.wait_for_window(BOX_TITLE, second)
    check(not session.windows(MAIN_TITLE, second.pid), "the second copy showed a window")
    session.settles_on("the running copy's window changed when the second copy started",
                       MAIN_TITLE, [first_window])

    session.type_keys(box, "Return")
    code = session.wait_for_exit(second)
    check(code == 0, f"the refused copy ended with code {code}")
    check(first.poll() is None, "the running copy ended too")
    check(session.is_viewable(first_window), "the running copy's window went away")
    session.settles_on("a window was left behind", MAIN_TITLE, [first_window])
    check(session.settings_snapshot() == before, "the refused copy wrote to the settings file")

    leave_through_farewell(session, first, first_window)


def scenario_stale_lock(session):
    session.write_settings(today())
    crashed, _ = start_quietly(session)
    crashed.send_signal(signal.SIGKILL)
    crashed.wait(5)
    lock = os.path.join(session.runtime, "woundwell.lock")
    check(os.path.exists(lock), "the killed copy left no lock behind, so nothing was tested")

    after, after_window = start_quietly(session)
    check(stays_true(lambda: not session.windows(BOX_TITLE), 1.0),
          "a message came up although the only other copy was dead")

    # The new copy holds the lock for real: one more start is refused.
    third = session.start_program()
    box = session.wait_for_window(BOX_TITLE, third)
    session.type_keys(box, "Return")
    check(session.wait_for_exit(third) == 0, "the refused copy did not end cleanly")
    leave_through_farewell(session, after, after_window)


def scenario_no_runtime_dir(session):
    session.write_settings(today())
    first, first_window = start_quietly(session, runtime=False)
    lock = os.path.join(session.temp, f"woundwell-{os.getuid()}.lock")
    check(os.path.exists(lock), f"no lock at {lock}")

    second = session.start_program(runtime=False)
    box = session.wait_for_window(BOX_TITLE, second)
    session.type_keys(box, "Return")
    check(session.wait_for_exit(second) == 0, "the refused copy did not end cleanly")
    check(first.poll() is None and session.is_viewable(first_window),
          "the running copy was disturbed")
    leave_through_farewell(session, first, first_window)
    check(not os.path.exists(lock), "the lock stayed behind after a clean end")


def scenario_browser(session):
    session.write_settings(today())

    # With a browser launcher on the path, the Donate menu item hands it the donation page.
    process, window = start_quietly(session)
    session.type_keys(window, "alt+d")
    wait_until("the browser launcher", lambda: session.browser_calls())
    check(session.browser_calls() == [DONATE_PAGE],
          f"the launcher was given {session.browser_calls()}")
    leave_through_farewell(session, process, window)

    # Without any launcher the same click changes nothing the user can see.
    process, window = start_quietly(session, path=session.empty_bin)
    session.type_keys(window, "alt+d")
    check(stays_true(lambda: process.poll() is None and session.is_viewable(window)
                     and not session.windows(BOX_TITLE), 1.5),
          "opening a page without a browser disturbed the program")
    leave_through_farewell(session, process, window)


def scenario_update_reminder(session):
    month_ago = today() - datetime.timedelta(days=30)
    expected = f"[Settings]\nDuration={today().isoformat()}\n".encode()

    # The question comes before any window; Esc answers No.
    session.write_settings(month_ago)
    process = session.start_program()
    box = session.wait_for_window(BOX_TITLE, process)
    check(not session.windows(MAIN_TITLE), "a window came up before the update question")
    session.type_keys(box, "Escape")
    window = session.wait_for_window(MAIN_TITLE, process)
    check(session.settings_snapshot()[0] == expected, "today's date was not stored after No")
    check(not session.browser_calls(), "No opened a page")
    leave_through_farewell(session, process, window)

    # Enter takes the default answer, Yes: the download page opens once.
    session.write_settings(month_ago)
    process = session.start_program()
    box = session.wait_for_window(BOX_TITLE, process)
    session.type_keys(box, "Return")
    window = session.wait_for_window(MAIN_TITLE, process)
    wait_until("the browser launcher", lambda: session.browser_calls())
    check(session.browser_calls() == [DOWNLOAD_PAGE],
          f"the launcher was given {session.browser_calls()}")
    check(session.settings_snapshot()[0] == expected, "today's date was not stored after Yes")
    leave_through_farewell(session, process, window)


SCENARIOS = {
    "normal-run": scenario_normal_run,
    "second-copy": scenario_second_copy,
    "stale-lock": scenario_stale_lock,
    "no-runtime-dir": scenario_no_runtime_dir,
    "browser": scenario_browser,
    "update-reminder": scenario_update_reminder,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()

    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing:
        print(f"skipped: missing {', '.join(missing)}", file=sys.stderr)
        return SKIPPED

    session = Session(os.path.abspath(args.program))
    failed = True
    started = time.monotonic()
    try:
        session.start_display()
        SCENARIOS[args.scenario](session)
        failed = False
    except (Failure, subprocess.TimeoutExpired) as problem:
        print(f"FAIL {args.scenario}: {problem}", file=sys.stderr)
    finally:
        session.close(keep_logs=failed)
    print(f"{'FAIL' if failed else 'PASS'} {args.scenario} "
          f"({time.monotonic() - started:.1f} s)")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
