"""The program on a Wayland session with no X server at all (tests/harness/compositors.py:
GNOME's or KDE Plasma's compositor, as WOUNDWELL_COMPOSITOR says): it starts natively and shows
its first window with the focus in the name box, without a word on standard error. On GNOME's
compositor, whose remote desktop interface types into native windows, the keys too: typing goes
into the name box at once, Esc leads to the farewell window with the focus on Exit, and Enter
there ends the program."""

import os

import woundwell_desktop as harness
from compositors import SessionTestCase
from woundwell_desktop import (find_one, is_focused, shows_name_box, shows_referral_form, stays_true,
                               text_of, wait_for_value, wait_until)


class NativeTest(SessionTestCase):

    xwayland = False

    def test_starts_without_an_x_server(self):
        program = self.launch()
        main = program.wait_for_window(shows_name_box, "the birth-data window", timeout=20)
        wait_until(lambda: is_focused(find_one(main, "text", "Name")), what="focus in Name")
        self.assertTrue(stays_true(program.running, 1.0), "the program ended")
        self.assert_silent(program)

    def assert_shown_natively_with_focus(self, program, what: str) -> None:
        """GNOME Shell draws one window of the program, a Wayland one, and gives it the focus."""
        def shown():
            return [w for w in self.desktop.shell_windows() if w["pid"] == program.pid]
        wait_until(lambda: len(shown()) == 1 and shown()[0]["focus"], what=f"{what} focused")
        window = shown()[0]
        self.assertTrue(window["drawn"] and not window["x11"], f"{what}: {window}")

    # Only where the test has a way to type into a native window.
    if os.environ.get("WOUNDWELL_COMPOSITOR", "gnome-shell") == "gnome-shell":
        def test_keys_in_native_windows(self):
            program = self.launch()
            main = program.wait_for_window(shows_name_box, "the birth-data window", timeout=20)
            name = find_one(main, "text", "Name")
            wait_until(lambda: is_focused(name), what="focus in Name")
            keyboard = self.desktop.native_keyboard()
            keyboard.type("ann")
            wait_for_value(lambda: text_of(name), "ANN", "the name typed")
            self.assert_shown_natively_with_focus(program, "the birth-data window")
            keyboard.key("Escape")
            farewell = program.wait_for_window(shows_referral_form, "the farewell window")
            self.assert_shown_natively_with_focus(program, "the farewell window")
            wait_until(lambda: is_focused(find_one(farewell, "push button", "Exit")),
                       what="the focus on the farewell window's Exit")
            keyboard.key("Return")
            self.assertEqual(0, program.wait_for_exit(), "exit code")
            self.assert_silent(program)


if __name__ == "__main__":
    harness.main()
