"""The program on a Wayland session with no X server at all (tests/harness/compositors.py:
GNOME's or KDE Plasma's compositor, as WOUNDWELL_COMPOSITOR says): it starts natively and shows
its first window with the focus in the name box, without a word on standard error."""

import woundwell_desktop as harness
from compositors import SessionTestCase
from woundwell_desktop import find_one, is_focused, shows_name_box, stays_true, wait_until


class NativeTest(SessionTestCase):

    xwayland = False

    def test_starts_without_an_x_server(self):
        program = self.launch()
        main = program.wait_for_window(shows_name_box, "the birth-data window", timeout=20)
        wait_until(lambda: is_focused(find_one(main, "text", "Name")), what="focus in Name")
        self.assertTrue(stays_true(program.running, 1.0), "the program ended")
        self.assert_silent(program)


if __name__ == "__main__":
    harness.main()
