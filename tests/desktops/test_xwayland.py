"""The program on the Wayland sessions people run, through XWayland (tests/harness/compositors.py:
GNOME's or KDE Plasma's compositor, as WOUNDWELL_COMPOSITOR says), driven as a person would:
where each window opens, where the focus is after start, Find, Back and Exit, the farewell
window above another program's window after that program took the focus and was clicked, a
second copy's message, large text as the desktop sets it for X programs, and nothing on standard
error."""

import woundwell_desktop as harness
from compositors import SessionTestCase
from woundwell_desktop import (find_all, find_one, is_focused, shows_name_box, shows_referral_form,
                               shows_result, stays_true, text_of, wait_for_value, wait_until)

ALREADY_RUNNING = "Application is already running"


class ThroughXWaylandTest(SessionTestCase):

    def open_by_key(self, program, key: str, has, what: str) -> None:
        """A key opens a window: centred, with the focus on its Exit button and the keyboard."""
        self.key(key)
        window = program.wait_for_window(has, what)
        wait_until(lambda: is_focused(find_one(window, "push button", "Exit")),
                   what=f"the focus on Exit in {what}")
        self.wait_for_keyboard()
        self.assert_frame_centred(program, what)

    def test_a_search_and_the_way_out_with_another_program_open(self):
        program, main = self.start_at_birth_data_window()
        self.assertTrue(self.desktop.frames(program.pid),
                        "on a Wayland session with XWayland the program opens X11 windows")
        self.assert_frame_centred(program, "the birth-data window")
        # GNOME honours a program's wish for no minimise or maximise button; KWin does not.
        if self.desktop.compositor == "gnome-shell":
            actions = self.desktop.window_property(
                str(self.program_window(program, "the birth-data window")),
                "_NET_WM_ALLOWED_ACTIONS")
            self.assertNotIn("MINIMIZE", actions)
            self.assertNotIn("MAXIMIZE", actions)
        self.type("ann")
        self.open_by_key(program, "alt+w", shows_result, "the result window")

        self.key("alt+b")
        main = program.wait_for_window(shows_name_box, "the birth-data window again")
        self.wait_for_keyboard()
        self.program_window(program, "the birth-data window again")
        self.assert_frame_centred(program, "the birth-data window again, where it was")
        self.type("e")
        wait_for_value(lambda: text_of(find_one(main, "text", "Name")), "ANNE",
                       "the name to go on where it was left")

        # Another program takes the focus; the person comes back and leaves.
        other = self.other_program()
        self.activate(other)
        self.activate(self.program_window(program, "the birth-data window"))
        self.open_by_key(program, "Escape", shows_referral_form, "the farewell window")

        # The other program's window is given the focus and clicked: the farewell window stays
        # visible above it.
        window = self.program_window(program, "the farewell window")
        self.activate(other)
        self.click_into(other)
        self.assertTrue(stays_true(lambda: self.above(window, other), 1.0),
                        f"the farewell window went under the other program's: stacking "
                        f"{self.desktop.stacking()}, state "
                        f"{self.desktop.window_property(str(window), '_NET_WM_STATE')}")
        self.assertIn("IsViewable", self.desktop.tool("xwininfo", "-id", str(window)))
        if self.desktop.compositor == "gnome-shell":
            self.assert_drawn_above(program)

        self.activate(window)
        self.key("alt+x")
        self.assertEqual(0, program.wait_for_exit(), "exit code")
        self.assert_silent(program)

    def assert_drawn_above(self, program):
        """GNOME Shell has the program's one window drawn above the other program's, and its
        screenshot shows all of it, with the other program's magenta round it."""
        windows = self.desktop.shell_windows()
        mine = [w for w in windows if w["pid"] == program.pid]
        theirs = [w for w in windows if w["pid"] == self.other_pid]
        self.assertEqual(1, len(mine), windows)
        self.assertTrue(mine[0]["drawn"] and mine[0]["above"] and mine[0]["x11"], mine)
        self.assertGreater(windows.index(mine[0]), windows.index(theirs[0]), windows)
        left, top, width, height = mine[0]["frame"]
        magenta = lambda pixel: pixel[0] > 200 and pixel[1] < 60 and pixel[2] > 200  # noqa: E731
        # The title bar's rounded corners show what is behind them.
        inside = self.desktop.screen_pixels(left, top + 12, left + width, top + height)
        self.assertFalse(any(map(magenta, inside)), "the other program shows through")
        beside = self.desktop.screen_pixels(left - 40, top, left - 20, top + height)
        self.assertTrue(all(map(magenta, beside)), "the other program is not beside it")

    def test_a_second_copy_shows_its_message_with_the_focus(self):
        first, _ = self.start_at_birth_data_window()
        second = self.launch(home=first.home)
        box = second.wait_for_message(ALREADY_RUNNING)
        wait_until(lambda: is_focused(find_one(box, "push button", "OK")),
                   what="the focus on the message's OK")
        self.wait_for_keyboard(harness.PROGRAM_TITLE)
        self.assert_frame_centred(second, "the message of the second copy")
        self.key("Return")
        self.assertEqual(0, second.wait_for_exit(), "the second copy's exit code")
        self.assertTrue(first.running(), "the first copy ended too")
        self.assert_silent(second)


    def test_the_about_window_is_modal_over_its_parent(self):
        program, main = self.start_at_birth_data_window()
        parent = self.program_window(program, "the birth-data window")
        self.key("alt+h", "a")
        about = program.wait_for_window(lambda window: find_all(window, "push button", "OK"),
                                        "the about window")
        wait_until(lambda: is_focused(find_one(about, "push button", "OK")),
                   what="the focus on the about window's OK")
        window = wait_until(lambda: [w for w in map(int, self.desktop.x_windows(program.pid))
                                     if w != parent], what="the about window on X")[0]
        self.assertIn(hex(parent), self.desktop.tool("xprop", "-id", str(window),
                                                     "WM_TRANSIENT_FOR"))
        self.assertIn("_NET_WM_STATE_MODAL",
                      self.desktop.window_property(str(window), "_NET_WM_STATE"))
        stacking = self.desktop.stacking()
        self.assertGreater(stacking.index(window), stacking.index(parent), "about under parent")
        self.assertEqual(window, self.desktop.active_window())
        self.assert_centred(lambda: self.desktop.frame(window), "the about window")
        self.key("Escape")
        wait_until(lambda: is_focused(find_one(main, "text", "Name")),
                   what="the focus back in Name")

    def test_large_text_makes_the_windows_larger(self):
        program, _ = self.start_at_birth_data_window()
        _, _, width, height = self.desktop.frame(self.program_window(program, "the window"))
        program.stop()
        # GNOME's Large Text and Plasma's font DPI reach X programs as the X resource Xft.dpi,
        # 120 for a text scaling of 1.25.
        self.desktop.tool("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                          "RESOURCE_MANAGER", "Xft.dpi:\t120\n", check=True)
        self.addCleanup(self.desktop.tool, "xprop", "-root", "-remove", "RESOURCE_MANAGER")
        program, _ = self.start_at_birth_data_window()
        _, _, large_width, large_height = self.desktop.frame(
            self.program_window(program, "the window in large text"))
        self.assertAlmostEqual(1.25, large_width / width, delta=0.03)
        self.assertGreater(large_height, height * 1.15)
        self.assert_frame_centred(program, "the window in large text")


if __name__ == "__main__":
    harness.main()
