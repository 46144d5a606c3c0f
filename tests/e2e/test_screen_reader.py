"""What a blind user hears: one search and the way out, keys only, through the Orca screen reader
of Debian's package, read from the lines its debug log says it speaks."""

import importlib.util
import re
import sys
from pathlib import Path

import woundwell_desktop as harness
from woundwell_desktop import shows_name_box, stays_true, wait_until

LAUNCHER = Path(__file__).resolve().parent.parent / "harness" / "orca_launcher.py"
# The last thing Orca logs as it starts to listen: Orca 43 starts its "registry", Orca 48 and 51
# their "Atspi main event loop".
STARTED = re.compile(r"ORCA: Starting (registry|Atspi main event loop)")
# SPEECH OUTPUT: 'what is spoken' then the voice, a dictionary or " voice=NAME{...}".
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)' ?(?:voice=\w+)?\[?\{'")
# BRAILLE LINE:  'what the braille display shows', written whether a display is attached or not.
BRAILLED = re.compile(r"BRAILLE LINE:  '(.*)'$", re.MULTILINE)


class Orca:
    """Orca on the test's desktop and accessibility bus, and what it spoke since `mark()`."""

    def __init__(self, desktop: harness.Desktop) -> None:
        self.log = desktop.root / "orca.log"
        self.process = desktop.spawn([sys.executable, str(LAUNCHER), str(self.log)], desktop.env)
        self._start = 0
        wait_until(lambda: STARTED.search(self._text()), 30, "Orca to start")

    def _text(self) -> str:
        if self.process.poll() is not None:
            raise harness.HarnessError(f"Orca ended with {self.process.returncode}")
        return self.log.read_text(encoding="utf-8", errors="replace") if self.log.exists() else ""

    def spoken(self) -> list[str]:
        return SPOKEN.findall(self._text()[self._start:])

    def brailled(self) -> list[str]:
        return BRAILLED.findall(self._text()[self._start:])

    def mark(self) -> None:
        self._start = len(self._text())

    def catch_up(self, quiet: float = 0.5) -> None:
        """Waits until Orca has logged nothing for a moment. Orca 43, behind with the keys, takes
        the program's focus as it finds it and says nothing of it: a list that has taken the
        focus by the time Orca reads the key that moved it is never announced."""
        def quiet_now() -> bool:
            size = len(self._text())
            return stays_true(lambda: len(self._text()) == size, quiet)
        wait_until(quiet_now, what="Orca to catch up with the keys")

    def heard(self, *phrases: str) -> bool:
        """Whether the phrases were spoken since the mark, in this order, each as whole words."""
        return in_order("\n".join(self.spoken()), phrases)

    def wait_to_hear(self, *phrases: str, mark: bool = True) -> None:
        """Waits until the phrases were spoken since the mark, in this order; marks again
        unless told not to."""
        try:
            wait_until(lambda: self.heard(*phrases), what=f"Orca to say {phrases}")
        except AssertionError as error:
            raise AssertionError(f"{error}; it said {self.spoken()}") from None
        if mark:
            self.mark()

    def wait_to_show(self, *phrases: str) -> None:
        """Waits until one braille line since the mark showed the phrases, in this order."""
        try:
            wait_until(lambda: any(in_order(line, phrases) for line in self.brailled()),
                       what=f"Orca to show {phrases} on one braille line")
        except AssertionError as error:
            raise AssertionError(f"{error}; it showed {self.brailled()}") from None


def in_order(text: str, phrases) -> bool:
    """Whether the phrases are in the text in this order, each as whole words."""
    at = 0
    for phrase in phrases:
        found = re.compile(rf"(?<!\w){re.escape(phrase)}(?!\w)").search(text, at)
        if not found:
            return False
        at = found.end()
    return True


def said(role: str) -> str:
    """A role as Orca says it, by its AT-SPI constant ("PUSH_BUTTON"): the name the installed
    AT-SPI gives it, "push button" with Orca 43 (AT-SPI 2.46), "button" with Orca 48 (2.56)."""
    from gi.repository import Atspi  # noqa: PLC0415 - once the harness has loaded it
    return Atspi.role_get_name(getattr(Atspi.Role, role))


class ScreenReaderTest(harness.ProgramTestCase):

    def test_a_search_and_the_way_out_heard_through_orca(self):
        orca = Orca(self.desktop)
        program, _ = self.start_at_birth_data_window()
        self.type("ann")
        orca.catch_up()
        orca.mark()
        # Each date list by its caption, then the item it shows.
        for caption, shown in ("Date", "1"), ("Month", "January"):
            self.key("Tab")
            orca.wait_to_hear(f"{caption} {said('COMBO_BOX')}", shown)
        self.key("Down")
        orca.wait_to_hear("February")

        self.key("alt+w")  # Find: 1 February 1930
        # The sign and the reading, then the button that has the focus, said and on the braille
        # display; said once, however the focus moves between the buttons after that.
        button = said("PUSH_BUTTON")
        result = ("Taurus", "Material happiness means lot to you.")
        orca.wait_to_show(*result, f"Exit {button}")
        orca.wait_to_hear(*result, f"Exit {button}", mark=False)
        for moved in ("Back", "Exit"):
            self.key("Tab")
            orca.wait_to_hear(*result, f"Exit {button}", f"{moved} {button}", mark=False)
        orca.catch_up()
        self.assertEqual(1, sum(result[1] in line for line in orca.spoken()), orca.spoken())
        orca.mark()
        self.key("KP_Home")  # flat review: the line above the buttons
        orca.wait_to_hear(result[1])

        # Back, then the birth-data window's Exit button: the farewell window, after a search.
        self.key("alt+b")
        program.wait_for_window(shows_name_box, "the birth-data window again")
        self.wait_for_keyboard()
        orca.catch_up()
        orca.mark()
        # Back from the month list, past the day, the name and the panel around them.
        self.key("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab")
        orca.wait_to_hear(f"Exit {said('PUSH_BUTTON')}")
        # Space presses a button as it comes up, after Orca has read it going down. Orca 48
        # reads the keys beside the program, not before it: a key that changes windows as it
        # goes down (Esc) can find the farewell window already there, and Orca then takes its
        # Exit button as the focus without a word.
        self.desktop.tool("xdotool", "keydown", "space", check=True)
        orca.wait_to_hear("space")
        self.desktop.tool("xdotool", "keyup", "space", check=True)
        # Every appeal it can show asks the user to visit Quorvane regularly.
        orca.wait_to_hear("Quorvane regularly", f"Exit {said('PUSH_BUTTON')}")
        # Flat review's word at the focus. Orca 48 lets the keypad through to the program too,
        # where an arrow would move the focus.
        self.key("KP_Begin")
        orca.wait_to_hear("Exit")
        self.key("Tab", "Tab", "Tab")  # past the forum box and the picture
        orca.wait_to_hear(f"Your Name {said('TEXT')}")


if __name__ == "__main__":
    if importlib.util.find_spec("orca") is None:
        print("SKIPPED: Orca is not installed (scripts/deps.sh test installs it)")
        sys.exit(77)
    harness.main()
